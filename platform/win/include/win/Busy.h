#pragma once
// Scoped window states for synchronous work on the window's thread: the wait cursor, and a
// window kept above the others (so a video window being built is not covered meanwhile).
// Both give back exactly what they found.
#include <windows.h>

namespace win {

class WaitCursor {
public:
    WaitCursor() : m_previous(::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)))) {}
    ~WaitCursor() { ::SetCursor(m_previous); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_previous;
};

// A window that was topmost already stays so; a null window is left alone.
class TopmostWhile {
public:
    explicit TopmostWhile(HWND window)
        : m_window(window != nullptr && ::IsWindow(window) &&
                           (::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0
                       ? window
                       : nullptr)
    {
        if (m_window != nullptr)
            ::SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, kFlags);
    }
    ~TopmostWhile()
    {
        if (m_window != nullptr && ::IsWindow(m_window))
            ::SetWindowPos(m_window, HWND_NOTOPMOST, 0, 0, 0, 0, kFlags);
    }
    TopmostWhile(const TopmostWhile&) = delete;
    TopmostWhile& operator=(const TopmostWhile&) = delete;

private:
    static constexpr UINT kFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    HWND m_window;
};

}  // namespace win
