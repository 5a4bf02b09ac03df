#pragma once
// Plumbing shared by the framework's sources: the process-wide handle map, the message
// being processed on this thread, and the creation hook that binds an object to a window
// before its first message.
#include <windows.h>

class CWnd;

namespace framework::detail {

void MapInsert(HWND hWnd, CWnd* wnd);
void MapRemove(HWND hWnd);
CWnd* MapFind(HWND hWnd);
size_t MapSize();

struct CurrentMessage {
    HWND hWnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
const CurrentMessage& Current();

// Keeps `wnd` pending while a window is created on this thread: the first window created in
// the guard's lifetime is bound to it (and subclassed) before it receives any message. The
// thread's hook is removed as soon as it has bound that window.
class CreationHook {
public:
    explicit CreationHook(CWnd* wnd);
    ~CreationHook();
    CreationHook(const CreationHook&) = delete;
    CreationHook& operator=(const CreationHook&) = delete;

private:
    CWnd* previous_;
    HHOOK hook_;
};

// Registers the common control classes once per process.
void EnsureCommonControls();

}  // namespace framework::detail

// The framework's access to CWnd's protected parts (CWnd befriends it).
struct WndAccess {
    // The window procedure installed on every subclassed window.
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Binds `wnd` to `hWnd` and replaces the window procedure (PreSubclassWindow between).
    static bool Hook(CWnd* wnd, HWND hWnd);
    // Restores the previous procedure (when still ours) and unbinds; no PostNcDestroy.
    static void Unhook(CWnd* wnd);
    static void PostNcDestroy(CWnd* wnd);
};

namespace framework::detail {

// A dialog template found in `preferred` (when given) or else in the program and then the
// added resource modules; null when none has it.
LPCDLGTEMPLATEA FindDialogTemplate(LPCSTR name, HINSTANCE preferred, HINSTANCE* found);
// The module under which a window class of that name is registered (program, then added
// modules); null for system and global classes.
HINSTANCE FindClassModule(LPCSTR className);

}  // namespace framework::detail
