#pragma once
// The channel page of the settings window: country and standard, the channel list, the
// channel display with its digit, up and down buttons, choice by name, fine tuning, the
// input type, the scan and the sound dialog. Its controls are children of the main window; the
// settings window builds the page the first time it is shown and hands it their messages.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <framework/Framework.h>

#include "SettingsPage.h"
#include "TunerSession.h"

namespace shell {

class ChannelPage : public pages::SettingsPage {
public:
    // `window` holds the page's controls; `keep` stores the tuner's settings (after a scan).
    ChannelPage(TunerSession& session, CWnd& window, std::function<void()> keep)
        : m_session(session), m_window(&window), m_owner(window.GetSafeHwnd()), m_keep(std::move(keep))
    {
    }

    std::vector<int> Controls() const override { return ControlIds(); }
    // The page's controls, known before there is a page (the window leaves them out of
    // what it creates at start).
    static std::vector<int> ControlIds();
    void Create() override;
    void Show() override { Refresh(); }
    // While a recording runs the page changes no country, standard, input or list; channels
    // can still be changed.
    void Lock(bool locked) override { m_locked = locked; }
    void DeviceChanged() override;
    bool OnCommand(int id, int code) override;
    // The fine-tune slider.
    bool OnScroll(HWND bar, UINT code) override;
    // The fine-tune spin.
    bool OnNotify(NMHDR* header, LRESULT* result) override;

    bool Shown() const;
    // Everything the page shows of the tuner, again.
    void Refresh();

    // Scans the channels, keeping the window alive; a second press of the scan button, or
    // CancelScan, ends it after the channel being probed.
    void Scan();
    void CancelScan() { m_cancel = true; }

    // Opens the sound dialog.
    void ShowSoundDialog();

private:
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
    std::function<void()> m_keep;
    bool m_built = false;
    bool m_locked = false;
    bool m_cancel = false;
    bool m_filling = false;
    // What the country and standard boxes were filled for.
    std::optional<std::uint32_t> m_listedStandards;
    std::string m_listedCountry;
    std::uint32_t m_listedStandard = 0;
};

}  // namespace shell
