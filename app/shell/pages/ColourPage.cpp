#include "ColourPage.h"

#include <commctrl.h>

#include <cstdio>

#include "CaptureGraph.h"
#include "ColourRules.h"
#include "ControlIds.h"

namespace pages {
namespace {

// The amplifier's properties 0 to 3 with their slider, value label and setting.
struct ColourControl {
    int slider, value;
    const char* setting;
};
constexpr ColourControl kControls[4] = {{IDC_BRIGHTNESS, IDC_BRIGHTNESS_VALUE, "Brightness"},
                                        {IDC_CONTRAST, IDC_CONTRAST_VALUE, "Contrast"},
                                        {IDC_HUE, IDC_HUE_VALUE, "Hue"},
                                        {IDC_SATURATION, IDC_SATURATION_VALUE, "Saturation"}};

}  // namespace

std::vector<int> ColourPage::ControlIds()
{
    std::vector<int> ids;
    for (int id = IDC_BRIGHTNESS_LABEL; id <= IDC_COLOR_DEFAULTS; ++id)
        ids.push_back(id);
    return ids;
}

void ColourPage::Create()
{
    ReadDevice();
}

void ColourPage::DeviceChanged()
{
    ReadDevice();
}

void ColourPage::ReadDevice()
{
    capture::CaptureGraph* engine = m_host.Engine();
    for (int index = 0; index < 4; ++index) {
        Property& property = m_properties[static_cast<std::size_t>(index)];
        property = Property{};
        // Without the range the device reports, the property is shown as 0 and left alone.
        if (engine && SUCCEEDED(engine->Encoder().GetVideoProcAmp(index, property.record)) &&
            property.record.maximum >= property.record.minimum)
            property.readable = true;
        else
            property.record = encoder::ProcAmpRecord{};
        ShowProperty(index);
    }
    EnableControls();
}

void ColourPage::ShowProperty(int index)
{
    const Property& property = m_properties[static_cast<std::size_t>(index)];
    const ColourControl& control = kControls[index];
    CWnd& window = m_host.Window();
    HWND slider = window.GetDlgItem(control.slider);
    // Redrawn with each bound, so the thumb is placed for the new range even when the
    // position itself does not change.
    ::SendMessageA(slider, TBM_SETRANGEMIN, TRUE, property.record.minimum);
    ::SendMessageA(slider, TBM_SETRANGEMAX, TRUE, property.record.maximum);
    const long step = property.record.step > 0 ? property.record.step : 1;
    ::SendMessageA(slider, TBM_SETLINESIZE, 0, step);
    ::SendMessageA(slider, TBM_SETPAGESIZE, 0, step * 8);
    // A position that does not change leaves the thumb where the old range put it: the
    // slider passes another position first.
    const long value = property.record.value;
    ::SendMessageA(slider, TBM_SETPOS, TRUE, value == property.record.maximum ? property.record.minimum : property.record.maximum);
    ::SendMessageA(slider, TBM_SETPOS, TRUE, value);
    ::InvalidateRect(slider, nullptr, FALSE);
    char text[24] = "";
    if (property.readable)
        std::snprintf(text, sizeof text, "%ld", property.record.value);
    window.SetDlgItemText(control.value, text);
}

void ColourPage::EnableControls()
{
    CWnd& window = m_host.Window();
    bool any = false;
    for (int index = 0; index < 4; ++index) {
        const bool readable = m_properties[static_cast<std::size_t>(index)].readable;
        any = any || readable;
        ::EnableWindow(window.GetDlgItem(kControls[index].slider), readable && !m_locked);
    }
    ::EnableWindow(window.GetDlgItem(IDC_COLOR_DEFAULTS), any && !m_locked);
}

void ColourPage::Lock(bool locked)
{
    m_locked = locked;
    EnableControls();
}

bool ColourPage::OnScroll(HWND bar, UINT code)
{
    const int id = ::GetDlgCtrlID(bar);
    for (int index = 0; index < 4; ++index) {
        if (kControls[index].slider != id)
            continue;
        if (m_locked || !m_properties[static_cast<std::size_t>(index)].readable)
            return true;
        SetValue(index, static_cast<long>(::SendMessageA(bar, TBM_GETPOS, 0, 0)));
        // The skin's thumb is larger than the one the slider clears behind itself.
        ::InvalidateRect(bar, nullptr, FALSE);
        // The value is kept once the user lets go (every step of the keyboard is one).
        if (code != TB_THUMBTRACK)
            Save();
        return true;
    }
    return false;
}

void ColourPage::SetValue(int index, long value)
{
    Property& property = m_properties[static_cast<std::size_t>(index)];
    const encoder::ProcAmpRecord& r = property.record;
    const long snapped = SnapToStep(value, r.minimum, r.maximum, r.step);
    if (capture::CaptureGraph* engine = m_host.Engine())
        engine->Encoder().SetVideoProcAmp(index, snapped);
    property.record.value = snapped;
    HWND slider = m_host.Window().GetDlgItem(kControls[index].slider);
    if (::SendMessageA(slider, TBM_GETPOS, 0, 0) != snapped)
        ::SendMessageA(slider, TBM_SETPOS, TRUE, snapped);
    char text[24];
    std::snprintf(text, sizeof text, "%ld", snapped);
    m_host.Window().SetDlgItemText(kControls[index].value, text);
}

void ColourPage::Save()
{
    const framework::ProfileStore store = m_host.Store();
    for (int index = 0; index < 4; ++index) {
        const Property& property = m_properties[static_cast<std::size_t>(index)];
        if (property.readable)
            store.WriteInt("Color", kControls[index].setting, static_cast<int>(property.record.value));
    }
}

void ColourPage::Defaults()
{
    for (int index = 0; index < 4; ++index) {
        Property& property = m_properties[static_cast<std::size_t>(index)];
        if (!property.readable)
            continue;
        SetValue(index, property.record.defaultValue);
        ShowProperty(index);
    }
    Save();
}

bool ColourPage::OnCommand(int id, int code)
{
    if (id != IDC_COLOR_DEFAULTS)
        return false;
    if (code == BN_CLICKED && !m_locked)
        Defaults();
    return true;
}

}  // namespace pages
