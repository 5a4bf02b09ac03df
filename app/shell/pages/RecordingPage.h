#pragma once
// Page 1 of the settings window: the recording folder and its free space, the file-size
// limit and the recording's stop rule. Its edits are taken over by the apply button and
// before every recording; a folder that does not exist is offered to be created.
#include <cstdint>

#include "PageHost.h"
#include "RecordingRules.h"
#include "SettingsPage.h"

namespace pages {

class RecordingPage : public SettingsPage {
public:
    explicit RecordingPage(PageHost& host) : m_host(host) {}

    std::vector<int> Controls() const override { return ControlIds(); }
    // The page's controls, known before there is a page (the window leaves them out of
    // what it creates at start).
    static std::vector<int> ControlIds();
    void Create() override;
    void Show() override;
    bool Apply() override;
    void Lock(bool locked) override;
    bool OnCommand(int id, int code) override;

private:
    void ShowFreeSpace();
    void FillSizeList();
    void ShowLimit();
    void ShowStopRule();
    void ShowChecks();
    void EnableControls();
    // Whether control `id` can be used in the page's current choices (locking aside).
    bool Usable(int id) const;
    void SetCustomSize(bool custom);
    void SetStopChoice(StopChoice choice);
    StopRuleEdits ReadStopEdits() const;
    int EditNumber(int id) const;
    // The folder step of the apply: false when the folder is not taken (the edit is restored).
    bool ApplyFolder(std::string* folder);
    void RestoreFolderEdit();
    void Browse();
    void Edited();

    PageHost& m_host;
    bool m_locked = false;
    bool m_filling = false;
    std::uint64_t m_freeSpace = 0;
    bool m_custom = false;
    StopChoice m_stop = kStopManually;
};

}  // namespace pages
