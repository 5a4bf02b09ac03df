#pragma once
// What the main window calls at start-up: follow device arrival and removal, enumerate the
// capture devices and select the remembered one. A removal that lowers the device count arms
// the main window's device re-examination timer.
#include <windows.h>

#include <string>

namespace devices {

constexpr UINT_PTR kDeviceRemovedTimer = 10013;
constexpr UINT kDeviceRemovedTimerMs = 10;

// Registers for device notifications on behalf of `mainWindow`, enumerates and selects the
// device named `rememberedName` (setting "DeviceName"), else the first one. Returns the index
// selected, -1 when there is no device.
int StartDeviceDiscovery(HWND mainWindow, const std::string& rememberedName);

// The device-change handling: re-enumerates and, when the count went down, starts the timer.
void HandleDeviceChange(HWND mainWindow, int change);

}  // namespace devices
