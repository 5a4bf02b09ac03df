#pragma once
// Page 0 of the settings window: the recording quality (the MPEG-1 and MPEG-2 presets and
// the custom templates), the DVD bit rate and the chosen quality's description.
#include "PageHost.h"
#include "SettingsPage.h"

namespace pages {

class QualityPage : public SettingsPage {
public:
    explicit QualityPage(PageHost& host) : m_host(host) {}

    std::vector<int> Controls() const override;
    void Create() override;

private:
    PageHost& m_host;
};

}  // namespace pages
