#pragma once
// Page 3 of the settings window: brightness, contrast, hue and saturation of the device's
// picture, in the ranges the device reports.
#include "PageHost.h"
#include "SettingsPage.h"

namespace pages {

class ColourPage : public SettingsPage {
public:
    explicit ColourPage(PageHost& host) : m_host(host) {}

    std::vector<int> Controls() const override;
    void Create() override;

private:
    PageHost& m_host;
};

}  // namespace pages
