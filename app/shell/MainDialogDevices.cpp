// The main window's side of the capture devices: discovery at start-up, the remembered
// device, the input list of the chosen device, and whether that device is still there.
#include "MainDialog.h"

#include "CaptureDevices.h"
#include "DeviceCategories.h"
#include "DeviceFilters.h"
#include "DeviceWatch.h"
#include "ErrorLog.h"
#include "MessageIds.h"
#include "VideoSources.h"
#include <win/ComPtr.h>

#include "ControlIds.h"

namespace shell {

void MainDialog::StartDeviceDiscovery()
{
    if (!devices::WatchDeviceChanges(m_hWnd))
        Trace("device notifications could not be set up (%lu)", GetLastError());
    devices::EnumerateCaptureDevices();
}

void MainDialog::ChooseCaptureDevice()
{
    const int index = devices::SelectRememberedDevice(m_settings.deviceName, settings::FindStoredDevice);
    if (index >= 0) {
        m_settings.SelectDevice(Store(), devices::Devices().records[index].name);
        Trace("capture device %d of %d: %s", index + 1, devices::Devices().count, m_settings.deviceName.c_str());
    } else {
        // With no device at all the stored name stays, so the device is found again next time.
        m_settings.encoderFilterName = settings::EncoderFilterNameFor(m_settings.deviceName);
        Trace("no capture device present");
    }
}

bool MainDialog::CaptureDevicePresent() const
{
    return devices::Devices().current >= 0;
}

void MainDialog::ListInputSources()
{
    m_availableSources.clear();
    const devices::CaptureDeviceTable& table = devices::Devices();
    if (table.current < 0)
        return;  // no device, no inputs to offer
    win::ComPtr<IBaseFilter> crossbar;
    const std::string& path = table.records[table.current].crossbarPath;
    if (!path.empty())
        devices::FindDeviceFilter(devices::kCategoryCrossbar, nullptr, path.c_str(), crossbar.Put(), nullptr);
    media::VideoSourceList list;
    const HRESULT hr = media::ListVideoSources(crossbar.Get(), &list);
    if (FAILED(hr) && crossbar)
        shell::ReportError(msg::kCrossbarPinCounts, static_cast<unsigned>(hr));
    for (int i = 0; i < list.count; ++i)
        m_availableSources.push_back(list.sources[static_cast<size_t>(i)]);
}

void MainDialog::FillInputList()
{
    const HWND combo = GetDlgItem(IDC_INPUT_LIST);
    if (!combo)
        return;
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    int selected = -1;
    for (size_t i = 0; i < m_availableSources.size(); ++i) {
        const int source = m_availableSources[i];
        // Composite 2 and the auxiliary input share one source index: offer it once.
        bool listed = false;
        for (size_t j = 0; j < i; ++j)
            listed = listed || m_availableSources[j] == source;
        if (listed)
            continue;
        const LRESULT item =
            ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(media::VideoSourceNameText(source)).c_str()));
        if (item < 0)
            continue;
        ::SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(item), source);
        if (source == m_settings.source)
            selected = static_cast<int>(item);
    }
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

bool MainDialog::CaptureDeviceGone() const
{
    return devices::IsCurrentDeviceGone();
}

}  // namespace shell
