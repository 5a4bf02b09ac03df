#pragma once
// Page 1 of the settings window: the recording folder and its free space, the file-size
// limit and the recording's stop rule.
#include "PageHost.h"
#include "SettingsPage.h"

namespace pages {

class RecordingPage : public SettingsPage {
public:
    explicit RecordingPage(PageHost& host) : m_host(host) {}

    std::vector<int> Controls() const override;
    void Create() override;

private:
    PageHost& m_host;
};

}  // namespace pages
