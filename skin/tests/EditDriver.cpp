// Driving context menus and editing dialogs from a second thread.
#include "EditDriver.h"

#include <vector>

namespace enginetest {
namespace {

std::string ItemText(HMENU menu, int index)
{
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(index), text, sizeof(text), MF_BYPOSITION);
    return text;
}

bool Matches(HMENU menu, int index, const MenuEntry& entry)
{
    return entry.command ? static_cast<int>(GetMenuItemID(menu, index)) == entry.command
                         : !GetSubMenu(menu, index) && ItemText(menu, index) == entry.text;
}

// Whether `menu` or one of its sub-menus holds the entry; `enabled` tells whether it can be picked.
bool Holds(HMENU menu, const MenuEntry& entry, bool* enabled)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (Matches(menu, i, entry)) {
            *enabled = (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
            return true;
        }
        if (HMENU sub = GetSubMenu(menu, i); sub && Holds(sub, entry, enabled))
            return true;
    }
    return false;
}

int HilitedItem(HMENU menu)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
            return i;
    return -1;
}

void CloseMenus(HWND menuWindow)
{
    for (int i = 0; i < 3 && IsWindow(menuWindow); ++i)
        PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    WaitFor([] { return VisibleMenuWindow() == nullptr; }, 3000);
}

}  // namespace

bool WaitFor(const std::function<bool()>& done, int ms)
{
    for (int waited = 0; waited < ms; waited += 20) {
        if (done())
            return true;
        Sleep(20);
    }
    return done();
}

HWND VisibleWindowOfClass(const char* className, HWND except)
{
    struct Search {
        const char* className;
        HWND except, found;
    } search{className, except, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            char name[32] = {};
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            GetClassNameA(window, name, sizeof(name));
            if (window != s->except && process == GetCurrentProcessId() && IsWindowVisible(window) &&
                lstrcmpA(name, s->className) == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND VisibleMenuWindow()
{
    return VisibleWindowOfClass("#32768");
}

POINT ScreenCentre(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

SIZE WindowSize(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

POINT PlaceInParent(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top};
}

HWND WaitForDialog(const char* title)
{
    HWND found = nullptr;
    WaitFor([&] { return (found = FindWindowA("#32770", title)) != nullptr && IsWindowVisible(found); });
    return found && IsWindowVisible(found) ? found : nullptr;
}

bool WaitGone(HWND window)
{
    return WaitFor([window] { return !IsWindow(window); });
}

std::string FieldText(HWND dialog, int item)
{
    char text[512] = {};
    GetDlgItemTextA(dialog, item, text, sizeof(text));
    return text;
}

void Type(HWND dialog, int item, const std::string& text)
{
    SetDlgItemTextA(dialog, item, text.c_str());
}

void Tick(HWND dialog, int item, bool checked)
{
    SendDlgItemMessageA(dialog, item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Press(HWND dialog, int item)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(item, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, item)));
}

void Click(HWND dialog, int item)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(item, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, item)));
}

void Ok(HWND dialog)
{
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
}

void Cancel(HWND dialog)
{
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

MenuOutcome ChooseEntry(HWND menuWindow, const MenuEntry& entry)
{
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    if (!menu)
        return MenuOutcome::kFailed;
    bool enabled = false;
    const bool held = Holds(menu, entry, &enabled);
    if (!held || !enabled) {
        CloseMenus(menuWindow);
        return held ? MenuOutcome::kDisabled : MenuOutcome::kNotFound;
    }
    while (menu) {
        int position = -1;
        for (int i = 0; i < GetMenuItemCount(menu) && position < 0; ++i) {
            HMENU sub = GetSubMenu(menu, i);
            if (Matches(menu, i, entry) || (sub && Holds(sub, entry, &enabled)))
                position = i;
        }
        if (position < 0)
            return IsMenu(menu) ? MenuOutcome::kFailed : MenuOutcome::kDismissed;
        for (int presses = 0; presses < 40 && IsMenu(menu) && HilitedItem(menu) != position; ++presses) {
            const int before = HilitedItem(menu);
            PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
            WaitFor([&] { return !IsMenu(menu) || HilitedItem(menu) != before; }, 3000);
        }
        if (!IsMenu(menu))
            return MenuOutcome::kDismissed;
        if (HilitedItem(menu) != position)
            return MenuOutcome::kFailed;
        HMENU sub = GetSubMenu(menu, position);
        PostMessageA(menuWindow, WM_KEYDOWN, sub ? VK_RIGHT : VK_RETURN, 0);
        if (!sub)
            return WaitFor([] { return VisibleMenuWindow() == nullptr; }) ? MenuOutcome::kChosen : MenuOutcome::kFailed;
        WaitFor([&] { return !IsMenu(sub) || HilitedItem(sub) >= 0; }, 3000);
        menu = sub;
    }
    return MenuOutcome::kFailed;
}

MenuOutcome ChooseFromMenu(HWND target, POINT screen, const MenuEntry& entry)
{
    HWND root = GetAncestor(target, GA_ROOT);
    MenuOutcome outcome = MenuOutcome::kFailed;
    for (int attempt = 0; attempt < 3; ++attempt) {
        WaitFor([&] { return GetForegroundWindow() == root; }, 3000);
        SetCursorPos(screen.x, screen.y);
        POINT client = screen;
        ScreenToClient(target, &client);
        PostMessageA(target, WM_RBUTTONUP, 0, MAKELPARAM(client.x, client.y));
        HWND window = nullptr;
        if (!WaitFor([&] { return (window = VisibleMenuWindow()) != nullptr; }))
            return MenuOutcome::kFailed;
        outcome = ChooseEntry(window, entry);
        if (outcome != MenuOutcome::kDismissed)
            return outcome;
        WaitFor([] { return VisibleMenuWindow() == nullptr; });
    }
    return outcome;
}

HWND OpenFromMenu(HWND target, POINT screen, int command, const char* title)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (ChooseCommand(target, screen, command))
            if (HWND dialog = WaitForDialog(title))
                return dialog;
        if (HWND late = FindWindowA("#32770", title); late && IsWindowVisible(late))
            return late;
    }
    return nullptr;
}

}  // namespace enginetest
