#pragma once
// Arrival and removal of capture devices, delivered on the thread that asked for them.
#include <windows.h>

namespace devices {

enum DeviceChange : int { kDeviceArrived = 1, kDeviceRemoved = 2 };

// (context, kDeviceArrived or kDeviceRemoved, interface name)
using DeviceChangeCallback = void (*)(void* context, int change, const char* interfaceName);

// Stores the callback (null stops the calls). The first callback creates the hidden
// "QorDI_Notify" window of this thread and registers it for the capture interface class.
// A callback that does not point at executable code is refused (ERROR_INVALID_PARAMETER).
bool SetDeviceChangeCallback(DeviceChangeCallback callback, void* context);

// The notification window, null before the first callback.
HWND DeviceNotifyWindow();

}  // namespace devices
