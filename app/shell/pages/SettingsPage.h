#pragma once
// One page of the settings window behind the main window's four tabs. The window builds a
// page the first time it is shown (under a wait cursor) and only shows and hides it
// afterwards; it hands the page the commands and scroll messages of the page's controls.
#include <windows.h>

#include <vector>

namespace pages {

class SettingsPage {
public:
    virtual ~SettingsPage() = default;

    // The page's controls on the main window, shown and hidden with the page.
    virtual std::vector<int> Controls() const = 0;
    // Fills the controls from the settings and the device; called once, before the first Show.
    virtual void Create() = 0;
    // The page became the visible one (its controls are shown already).
    virtual void Show() {}
    // Takes over the page's pending edits into the settings. False when the user must correct
    // something first: the page stays as it is.
    virtual bool Apply() { return true; }
    // While a recording runs the page's controls take no changes.
    virtual void Lock(bool /*locked*/) {}
    // The capture device or its running graph changed: what the page read from the device is
    // read again. Only called for a page that has been created.
    virtual void DeviceChanged() {}

    // Messages of the page's controls; true when the page handled them.
    virtual bool OnCommand(int /*id*/, int /*code*/) { return false; }
    virtual bool OnScroll(HWND /*bar*/, UINT /*code*/) { return false; }
    virtual bool OnNotify(NMHDR* /*header*/, LRESULT* /*result*/) { return false; }
};

}  // namespace pages
