#include "DeviceWatch.h"

#include "CaptureDevices.h"
#include "DeviceNotify.h"

namespace devices {

namespace {

void OnDeviceChange(void* context, int change, const char*)
{
    HandleDeviceChange(static_cast<HWND>(context), change);
}

int SameName(const std::vector<std::string>& names, const std::string& remembered)
{
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == remembered)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

bool WatchDeviceChanges(HWND mainWindow)
{
    return SetDeviceChangeCallback(OnDeviceChange, mainWindow);
}

std::vector<std::string> CaptureDeviceNames()
{
    const CaptureDeviceTable& t = Devices();
    std::vector<std::string> names;
    for (int i = 0; i < t.count; ++i)
        names.push_back(t.records[i].name);
    return names;
}

int SelectRememberedDevice(const std::string& rememberedName, DeviceChooser choose)
{
    if (!choose)
        choose = SameName;
    int index = choose(CaptureDeviceNames(), rememberedName);
    if (index < 0 || index >= Devices().count) {
        // A device may have come or gone since the last look: take the first one there now.
        index = EnumerateCaptureDevices() > 0 ? 0 : -1;
    }
    SelectCaptureDevice(index);
    return Devices().current;
}

int StartDeviceDiscovery(HWND mainWindow, const std::string& rememberedName, DeviceChooser choose)
{
    WatchDeviceChanges(mainWindow);
    EnumerateCaptureDevices();
    return SelectRememberedDevice(rememberedName, choose);
}

void HandleDeviceChange(HWND mainWindow, int)
{
    const int before = Devices().count;
    // Arrival only re-enumerates; the timer decides whether the device in use is gone.
    if (EnumerateCaptureDevices() < before && mainWindow)
        SetTimer(mainWindow, kDeviceRemovedTimer, kDeviceRemovedTimerMs, nullptr);
}

}  // namespace devices
