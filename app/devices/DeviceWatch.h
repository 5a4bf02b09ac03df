#pragma once
// What the main window calls at start-up: follow device arrival and removal, enumerate the
// capture devices and select the remembered one. A removal that lowers the device count arms
// the main window's device re-examination timer.
#include <windows.h>

#include <string>
#include <vector>

namespace devices {

constexpr UINT_PTR kDeviceRemovedTimer = 10013;
constexpr UINT kDeviceRemovedTimerMs = 10;

// Picks the record to use from the device names and the remembered name; -1 when none fits.
using DeviceChooser = int (*)(const std::vector<std::string>& names, const std::string& remembered);

// Follows device arrival and removal on behalf of `mainWindow` (HandleDeviceChange).
bool WatchDeviceChanges(HWND mainWindow);

// The names of the table's records, in table order.
std::vector<std::string> CaptureDeviceNames();

// Selects the device that `choose` (default: the same name) finds among the enumerated ones;
// when it finds none, the table is refreshed and its first device taken. Returns the index
// selected, -1 when there is no device.
int SelectRememberedDevice(const std::string& rememberedName, DeviceChooser choose = nullptr);

// WatchDeviceChanges, EnumerateCaptureDevices and SelectRememberedDevice in that order.
int StartDeviceDiscovery(HWND mainWindow, const std::string& rememberedName, DeviceChooser choose = nullptr);

// The device-change handling: re-enumerates and, when the count went down, starts the timer.
void HandleDeviceChange(HWND mainWindow, int change);

}  // namespace devices
