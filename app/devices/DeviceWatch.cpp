#include "DeviceWatch.h"

#include "CaptureDevices.h"
#include "DeviceNotify.h"

namespace devices {

namespace {

void OnDeviceChange(void* context, int change, const char*)
{
    HandleDeviceChange(static_cast<HWND>(context), change);
}

}  // namespace

int StartDeviceDiscovery(HWND mainWindow, const std::string& rememberedName)
{
    SetDeviceChangeCallback(OnDeviceChange, mainWindow);
    if (EnumerateCaptureDevices() == 0) {
        SelectCaptureDevice(-1);
        return -1;
    }
    const int remembered = FindCaptureDeviceByName(rememberedName);
    SelectCaptureDevice(remembered >= 0 ? remembered : 0);
    return Devices().current;
}

void HandleDeviceChange(HWND mainWindow, int)
{
    const int before = Devices().count;
    // Arrival only re-enumerates; the timer decides whether the device in use is gone.
    if (EnumerateCaptureDevices() < before && mainWindow)
        SetTimer(mainWindow, kDeviceRemovedTimer, kDeviceRemovedTimerMs, nullptr);
}

}  // namespace devices
