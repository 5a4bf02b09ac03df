#pragma once
// The command and notification table of one window object: which handler a WM_COMMAND
// (control id + notification code) or WM_NOTIFY (control id + notification code) reaches.
// Pure logic, independent of any window, so the routing rules can be tested on their own.
#include <windows.h>

#include <functional>
#include <vector>

#include "framework/FrameworkApi.h"

namespace framework {

// Notification code of menu items, accelerators and buttons clicked (BN_CLICKED).
constexpr UINT kCommandCode = 0;

class FRAMEWORK_API MessageMap {
public:
    using CommandHandler = std::function<void(UINT id, UINT code)>;
    using NotifyHandler = std::function<void(NMHDR* header, LRESULT* result)>;

    // A handler for the control ids first..last (inclusive) and one notification code.
    void AddCommand(UINT first, UINT last, UINT code, CommandHandler handler);
    void AddNotify(UINT first, UINT last, UINT code, NotifyHandler handler);

    // The handler of the entry added last that matches, or null. Later entries win so a
    // derived class can take over an id its base class mapped.
    const CommandHandler* FindCommand(UINT id, UINT code) const;
    const NotifyHandler* FindNotify(UINT id, UINT code) const;

    bool Empty() const { return commands_.empty() && notifies_.empty(); }

private:
    struct CommandEntry {
        UINT first, last, code;
        CommandHandler handler;
    };
    struct NotifyEntry {
        UINT first, last, code;
        NotifyHandler handler;
    };
    std::vector<CommandEntry> commands_;
    std::vector<NotifyEntry> notifies_;
};

// The notification code that WM_COMMAND routing uses: commands sent by a control keep theirs;
// menu items and accelerators (no control window) all count as kCommandCode.
inline UINT CommandCodeOf(WPARAM wParam, LPARAM lParam)
{
    return lParam ? HIWORD(wParam) : kCommandCode;
}

}  // namespace framework
