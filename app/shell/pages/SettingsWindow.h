#pragma once
// The settings window inside the main window: four pages behind the tab buttons, one shown
// at a time, and the apply button. A page is built the first time its tab is chosen, under a
// wait cursor, and only shown and hidden afterwards. The window routes the tab and apply
// commands itself and hands every other command, notification or scroll message to the
// built page that holds the control.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "SettingsPage.h"

namespace pages {

class SettingsWindow {
public:
    static constexpr int kPageCount = 4;
    enum PageIndex { kQualityPage = 0, kRecordingPage = 1, kChannelPage = 2, kColourPage = 3 };

    // `window` is the main window, which holds the tabs, the apply button and every page's
    // controls.
    explicit SettingsWindow(HWND window);
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    // Called with a page's controls before the page is built, for a window that creates
    // them only then; without it they must exist from the start.
    void SetControlMaker(std::function<void(const std::vector<int>&)> make) { m_makeControls = std::move(make); }
    // Puts a page in its slot; a slot left empty shows nothing behind its tab.
    void SetPage(int index, std::unique_ptr<SettingsPage> page);
    SettingsPage* Page(int index) const;
    bool Created(int index) const;

    // Makes the controls of the next page that has neither been built nor had them made, so
    // that its first showing only fills and shows them. False when no page is left.
    bool PrepareNextPage();
    // Shows page `index` (building it first when it has never been shown). -1 before any.
    void ShowPage(int index);
    int Current() const { return m_current; }

    // Applies the pending edits of every page built so far, in page order; a page that
    // refuses is shown and the rest wait. False when one refused.
    bool ApplyAll();
    // The apply button: enabled while a page holds a change the running graph has not taken.
    void EnableApply(bool enable);
    // While a recording runs no page takes a change and no tab can be chosen.
    void Lock(bool locked);
    // While a recording runs or a file plays the tabs are disabled; the current page's tab
    // keeps its chosen look, so the user still sees which page is up.
    void EnableTabs(bool enable);
    bool Locked() const { return m_locked; }
    // The capture device or its graph changed: the built pages read the device again.
    void DeviceChanged();

    // Messages of the main window; true when the settings window took them.
    bool OnCommand(int id, int code);
    bool OnScroll(HWND bar, UINT code);
    bool OnNotify(NMHDR* header, LRESULT* result);

    // The tab button of a page.
    static int TabOf(int index);

private:
    void ShowControls(int index, bool show);
    void MarkTabs();
    // The built page that holds control `id`, or null.
    SettingsPage* OwnerOf(int id) const;

    HWND m_window;
    std::function<void(const std::vector<int>&)> m_makeControls;
    std::array<std::unique_ptr<SettingsPage>, kPageCount> m_pages;
    std::array<bool, kPageCount> m_created{};
    std::array<bool, kPageCount> m_prepared{};
    int m_current = -1;
    bool m_locked = false;
};

}  // namespace pages
