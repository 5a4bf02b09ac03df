#pragma once
// Page 3 of the settings window: brightness, contrast, hue and saturation of the device's
// picture, in the ranges the device reports. A slider changes the picture at once and its
// value is kept in the section "Color"; "Defaults" returns to the device's own values. A
// property whose range cannot be read is neither shown, written nor applied.
#include <array>

#include "PageHost.h"
// After the framework: the DirectShow headers define macros that its GDI classes name.
#include "EncoderDevice.h"
#include "SettingsPage.h"

namespace pages {

class ColourPage : public SettingsPage {
public:
    explicit ColourPage(PageHost& host) : m_host(host) {}

    std::vector<int> Controls() const override { return ControlIds(); }
    // The page's controls, known before there is a page (the window leaves them out of
    // what it creates at start).
    static std::vector<int> ControlIds();
    void Create() override;
    void Lock(bool locked) override;
    void DeviceChanged() override;
    bool OnCommand(int id, int code) override;
    bool OnScroll(HWND bar, UINT code) override;

private:
    struct Property {
        bool readable = false;
        encoder::ProcAmpRecord record;
    };
    void ReadDevice();
    void ShowProperty(int index);
    void SetValue(int index, long value);
    void Save();
    void Defaults();
    void EnableControls();

    PageHost& m_host;
    bool m_locked = false;
    std::array<Property, 4> m_properties{};
};

}  // namespace pages
