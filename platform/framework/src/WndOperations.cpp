// The thin wrappers of CWnd over the window functions.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "framework/Wnd.h"

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

void CWnd::SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text ? text : ""); }

std::string CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> text(static_cast<size_t>(length) + 2, '\0');
    ::GetWindowTextA(m_hWnd, text.data(), static_cast<int>(text.size()));
    return text.data();
}

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
HWND CWnd::GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
HWND CWnd::GetParent() const { return ::GetParent(m_hWnd); }
void CWnd::SetDlgItemText(int id, LPCSTR text) { ::SetDlgItemTextA(m_hWnd, id, text ? text : ""); }

std::string CWnd::GetDlgItemText(int id) const
{
    const HWND item = ::GetDlgItem(m_hWnd, id);
    if (!item)
        return {};
    const int length = ::GetWindowTextLengthA(item);
    std::vector<char> text(static_cast<size_t>(length) + 2, '\0');
    ::GetWindowTextA(item, text.data(), static_cast<int>(text.size()));
    return text.data();
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
}

void CWnd::CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
UINT CWnd::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
BOOL CWnd::ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(const RECT& rect, BOOL repaint)
{
    ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
}

BOOL CWnd::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
}

void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }

void CWnd::ScreenToClient(LPRECT rect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }

void CWnd::ClientToScreen(LPRECT rect) const
{
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

BOOL CWnd::RedrawWindow(LPCRECT rect, HRGN region, UINT flags)
{
    return ::RedrawWindow(m_hWnd, rect, region, flags);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs) { return ::SetTimer(m_hWnd, id, elapseMs, nullptr); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
HWND CWnd::SetFocus() { return ::SetFocus(m_hWnd); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)); }

namespace {

BOOL ModifyLong(HWND hWnd, int index, DWORD remove, DWORD add, UINT swpFlags)
{
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, index));
    const DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongPtrA(hWnd, index, static_cast<LONG_PTR>(changed));
    if (swpFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    return ModifyLong(m_hWnd, GWL_STYLE, remove, add, swpFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags)
{
    return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags);
}

int CWnd::SetWindowRgn(HRGN region, BOOL redraw) { return ::SetWindowRgn(m_hWnd, region, redraw); }

void CWnd::SetFont(HFONT font, BOOL redraw)
{
    ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

HFONT CWnd::GetFont() const
{
    return reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
}

HICON CWnd::SetIcon(HICON icon, BOOL big)
{
    return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                  reinterpret_cast<LPARAM>(icon)));
}

HMENU CWnd::GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }

void CWnd::CenterWindow(HWND alternateOwner)
{
    const bool child = (GetStyle() & WS_CHILD) != 0;
    HWND reference = child ? ::GetParent(m_hWnd)
                           : (alternateOwner ? alternateOwner : ::GetWindow(m_hWnd, GW_OWNER));
    RECT area{};
    if (child && reference) {
        // A child is centred in its parent's client area.
        ::GetClientRect(reference, &area);
        ::MapWindowPoints(reference, nullptr, reinterpret_cast<LPPOINT>(&area), 2);
    } else if (reference && ::IsWindowVisible(reference) && !::IsIconic(reference)) {
        ::GetWindowRect(reference, &area);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT self{};
    ::GetWindowRect(m_hWnd, &self);
    const int width = self.right - self.left, height = self.bottom - self.top;
    POINT origin{area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2};
    if (child && reference)
        ::ScreenToClient(reference, &origin);
    ::SetWindowPos(m_hWnd, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::DragAcceptFiles(BOOL accept) { ::DragAcceptFiles(m_hWnd, accept); }
BOOL CWnd::TrackMouseLeave()
{
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = m_hWnd;
    return ::TrackMouseEvent(&track);
}

BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type)
{
    return ::MessageBoxA(m_hWnd, text ? text : "", caption, type);
}
