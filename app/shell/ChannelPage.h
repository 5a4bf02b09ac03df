#pragma once
// The channel page of the settings window: country and standard, the channel list, the
// channel display with its digit, up and down buttons, choice by name, fine tuning, the
// input type, the scan and the sound dialog. Its controls are children of the window that
// holds the settings pages; the page is built the first time it is shown.
#include <windows.h>

#include <cstdint>
#include <string>

#include <framework/Framework.h>

#include "TunerSession.h"

namespace shell {

class ChannelPage {
public:
    explicit ChannelPage(TunerSession& session) : m_session(session) {}

    // The window whose children the page's controls are.
    void Attach(CWnd* owner)
    {
        m_window = owner;
        m_owner = owner ? owner->GetSafeHwnd() : nullptr;
    }
    // Shown (built on the first call) or hidden with the other pages.
    void Show(bool shown);
    bool Shown() const { return m_shown; }
    bool Built() const { return m_built; }

    // A command of one of the page's controls; false for any other control.
    bool OnCommand(UINT id, UINT code);
    // The fine-tune slider or spin moved; false for any other control.
    bool OnScroll(HWND bar);
    // Everything the page shows of the tuner, again.
    void Refresh();

    // Scans the channels, keeping the window alive; a second press of the scan button, or
    // CancelScan, ends it after the channel being probed.
    void Scan();
    void CancelScan() { m_cancel = true; }

    // Opens the sound dialog.
    void ShowSoundDialog();

private:
    void Build();
    void FillStandards();
    void FillCountries();
    void FillChannelList();
    void FillNameBox();
    void ShowFineTune();
    void ShowInputType();
    void AddListRow(int channel, const std::string& name);
    bool PumpFor(DWORD ms);
    HWND Item(int id) const { return GetDlgItem(m_owner, id); }
    std::string ComboText(int id) const;
    void RenameCurrent();
    void DeleteCurrent();

    TunerSession& m_session;
    CWnd* m_window = nullptr;
    HWND m_owner = nullptr;
    bool m_built = false;
    bool m_shown = false;
    bool m_cancel = false;
    bool m_filling = false;
};

}  // namespace shell
