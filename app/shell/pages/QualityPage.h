#pragma once
// Page 0 of the settings window: the recording quality (the MPEG-1 and MPEG-2 presets and
// the custom templates), the DVD bit rate and the chosen quality's description. A choice is
// stored at once; while the preview runs it waits for the apply button (or the next
// recording), which rebuilds the preview with it.
#include <array>
#include <optional>

#include "EncoderDerivation.h"
#include "PageHost.h"
#include "QualityRules.h"
#include "SettingsPage.h"

namespace pages {

class QualityPage : public SettingsPage {
public:
    explicit QualityPage(PageHost& host) : m_host(host) {}

    std::vector<int> Controls() const override;
    void Create() override;
    void Show() override;
    bool Apply() override;
    void Lock(bool locked) override;
    void DeviceChanged() override;
    bool OnCommand(int id, int code) override;

    // The template operations of the page.
    // The chosen template's values, or the device's configuration when one is missing;
    // false when neither could be had.
    bool LoadCustomTemplate();
    void SaveCustomTemplates();
    void FillTemplateBox();
    void DeleteCustomTemplate();
    void SelectCustomTemplate();

private:
    void ReadDevice();
    void FillDvdBox();
    void ShowChoice();
    void EnableControls();
    void Choose(QualityChoice choice);
    void ChooseDvdRate(int entry);
    void NewTemplate();
    void RefreshDescription();
    // What a built-in quality becomes on this device, as the next preview would derive it.
    encoder::DerivedEncoderSetup DeriveShown();
    DescribedQuality CurrentQuality();
    void Changed();
    void ShowDeviceProperties();

    PageHost& m_host;
    bool m_locked = false;
    bool m_pending = false;  // a change the running preview has not taken
    // What the device said when it was last read; unknown without a running graph.
    std::optional<int> m_busType;
    bool m_deviceRead = false;
    std::optional<std::uint32_t> m_deviceMaximum;
    std::optional<bool> m_mpeg1;
    std::array<bool, kChoiceCount> m_enabled{};
};

}  // namespace pages
