#pragma once
// Driving the editing mode as a designer would, from a second thread while the thread under
// test runs the dialog: waiting for windows, picking context-menu entries with the keyboard
// (each step checked on the menu's highlight), and filling and pressing editing dialogs.
#include <windows.h>

#include <functional>
#include <string>

namespace enginetest {

// Polls `done` every 20 ms for up to `ms`; true when it came true.
bool WaitFor(const std::function<bool()>& done, int ms = 15000);

// A visible top-level window of `className` of this process other than `except`, or null.
HWND VisibleWindowOfClass(const char* className, HWND except = nullptr);
HWND VisibleMenuWindow();
POINT ScreenCentre(HWND window);
SIZE WindowSize(HWND window);
POINT PlaceInParent(HWND window);  // top left in the parent's client area

// The visible dialog titled `title`, waited for; null when it never showed.
HWND WaitForDialog(const char* title);
bool WaitGone(HWND window);

std::string FieldText(HWND dialog, int item);
void Type(HWND dialog, int item, const std::string& text);
void Tick(HWND dialog, int item, bool checked);
// Sent, so its outcome is there on return: for buttons whose handler returns at once.
void Press(HWND dialog, int item);
// Posted, so the driver stays free: for buttons whose handler opens another modal dialog.
void Click(HWND dialog, int item);
void Ok(HWND dialog);
void Cancel(HWND dialog);

// Which entry to pick: by command number, or (command 0) by its text.
struct MenuEntry {
    int command = 0;
    std::string text;
};

enum class MenuOutcome {
    kChosen,     // the entry was picked and the menu closed
    kNotFound,   // the menu does not hold it (the menu is closed again)
    kDisabled,   // it is there but greyed (the menu is closed again)
    kDismissed,  // the menu closed by itself before the entry was picked
    kFailed,     // no menu showed, or the keys did not reach the entry
};

// Picks `entry` in the popup menu shown in `menuWindow` (nothing selected yet), going into
// sub-menus as needed.
MenuOutcome ChooseEntry(HWND menuWindow, const MenuEntry& entry);

// Right-clicks `target` with the cursor on `screen`, then picks `entry`. A menu that a late
// activation change closes before the entry is picked (nothing carried out) is opened again.
MenuOutcome ChooseFromMenu(HWND target, POINT screen, const MenuEntry& entry);
// The same by command number: whether it was picked, from a spot or from a control's centre.
inline bool ChooseCommand(HWND target, POINT screen, int command)
{
    return ChooseFromMenu(target, screen, {command, {}}) == MenuOutcome::kChosen;
}
inline bool ChooseFromControlMenu(HWND control, int command)
{
    return ChooseCommand(control, ScreenCentre(control), command);
}

// Picks `command` and returns the dialog titled `title` it opens, or null. A menu closed by
// another program's window taking the activation just as the entry was picked carried nothing
// out: when no dialog comes, the entry is picked once more.
HWND OpenFromMenu(HWND target, POINT screen, int command, const char* title);
inline HWND OpenFromControlMenu(HWND control, int command, const char* title)
{
    return OpenFromMenu(control, ScreenCentre(control), command, title);
}

}  // namespace enginetest
