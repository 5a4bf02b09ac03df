// The process-wide handle map, the framework's window procedure and the creation hook.
#include <windows.h>
#include <commctrl.h>

#include <mutex>
#include <unordered_map>

#include <win/Lock.h>

#include "WndInternal.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace framework::detail {

namespace {

// Windows belong to threads, but objects are looked up from any thread (a worker may ask
// whether a window is bound), so the map is guarded.
win::CritSec& MapLock()
{
    static win::CritSec lock;
    return lock;
}

std::unordered_map<HWND, CWnd*>& Map()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

thread_local CurrentMessage t_current;
thread_local CWnd* t_pending = nullptr;
thread_local HHOOK t_hook = nullptr;

LRESULT CALLBACK CbtFilter(int code, WPARAM wParam, LPARAM lParam)
{
    const bool bound = code == HCBT_CREATEWND && t_pending;
    if (bound) {
        CWnd* wnd = t_pending;
        t_pending = nullptr;
        WndAccess::Hook(wnd, reinterpret_cast<HWND>(wParam));
    }
    const LRESULT result = CallNextHookEx(t_hook, code, wParam, lParam);
    // Its one window is bound: every further window, focus change or activation on this
    // thread (a dialog's whole initialisation runs inside its creation) would otherwise pass
    // through the hook for nothing, a few server round trips each under Wine.
    if (bound && t_hook) {
        UnhookWindowsHookEx(t_hook);
        t_hook = nullptr;
    }
    return result;
}

}  // namespace

void MapInsert(HWND hWnd, CWnd* wnd)
{
    win::AutoLock guard(MapLock());
    Map()[hWnd] = wnd;
}

void MapRemove(HWND hWnd)
{
    win::AutoLock guard(MapLock());
    Map().erase(hWnd);
}

CWnd* MapFind(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    win::AutoLock guard(MapLock());
    auto it = Map().find(hWnd);
    return it == Map().end() ? nullptr : it->second;
}

size_t MapSize()
{
    win::AutoLock guard(MapLock());
    return Map().size();
}

const CurrentMessage& Current()
{
    return t_current;
}

CreationHook::CreationHook(CWnd* wnd) : previous_(t_pending), hook_(t_hook)
{
    t_pending = wnd;
    t_hook = SetWindowsHookExA(WH_CBT, CbtFilter, nullptr, GetCurrentThreadId());
}

CreationHook::~CreationHook()
{
    if (t_hook)
        UnhookWindowsHookEx(t_hook);
    t_pending = previous_;
    t_hook = hook_;
}

void EnsureCommonControls()
{
    static std::once_flag once;
    std::call_once(once, [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
    });
}

}  // namespace framework::detail

using namespace framework::detail;

bool WndAccess::Hook(CWnd* wnd, HWND hWnd)
{
    if (!wnd || !hWnd || wnd->m_hWnd || MapFind(hWnd))
        return false;
    wnd->m_hWnd = hWnd;
    MapInsert(hWnd, wnd);
    wnd->PreSubclassWindow();
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WndAccess::WndProc)));
    if (!previous) {
        MapRemove(hWnd);
        wnd->m_hWnd = nullptr;
        return false;
    }
    // A class whose procedure is already ours would loop; such windows default to the system.
    wnd->m_pfnSuper = previous == &WndAccess::WndProc ? ::DefWindowProcA : previous;
    return true;
}

void WndAccess::Unhook(CWnd* wnd)
{
    const HWND hWnd = wnd->m_hWnd;
    if (!hWnd)
        return;
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    if (current == &WndAccess::WndProc && wnd->m_pfnSuper)
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_pfnSuper));
    MapRemove(hWnd);
    wnd->m_hWnd = nullptr;
    wnd->m_pfnSuper = nullptr;
}

void WndAccess::PostNcDestroy(CWnd* wnd)
{
    wnd->PostNcDestroy();
}

LRESULT CALLBACK WndAccess::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = MapFind(hWnd);
    if (!wnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    const CurrentMessage saved = t_current;
    t_current = {hWnd, message, wParam, lParam};
    LRESULT result = 0;
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // An exception must not unwind through the system's frames.
        OutputDebugStringA("Framework:  exception escaped a message handler\r\n");
    }
    t_current = saved;

    if (message == WM_NCDESTROY && MapFind(hWnd) == wnd) {
        // The end of the main window ends the application's message loop.
        if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == wnd) {
            app->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        Unhook(wnd);
        PostNcDestroy(wnd);
    }
    return result;
}
