// Message cracking: each message the framework knows is unpacked into its virtual handler;
// the default handlers pass the message on, after offering control notifications to the
// control's own object (reflection).
#include "framework/Wnd.h"

#define GET_X_LPARAM(lp) static_cast<int>(static_cast<short>(LOWORD(lp)))
#define GET_Y_LPARAM(lp) static_cast<int>(static_cast<short>(HIWORD(lp)))

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT& r = *pResult;
    r = 0;
    const CPoint point(lParam);
    const UINT keyFlags = static_cast<UINT>(wParam);
    const UINT repeat = LOWORD(lParam), flags = HIWORD(lParam);

    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        r = reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam),
                                                 reinterpret_cast<HWND>(lParam),
                                                 message - WM_CTLCOLORMSGBOX));
        return TRUE;
    }
    if (message >= WM_USER) {
        r = OnPrivateMessage(message, wParam, lParam);
        return TRUE;
    }

    switch (message) {
    case WM_CREATE: r = OnCreate(reinterpret_cast<LPCREATESTRUCTA>(lParam)); return TRUE;
    case WM_DESTROY: OnDestroy(); return TRUE;
    case WM_CLOSE: OnClose(); return TRUE;
    case WM_COMMAND: return OnCommand(wParam, lParam);
    case WM_NOTIFY: return OnNotify(wParam, lParam, pResult);
    case WM_TIMER: OnTimer(static_cast<UINT_PTR>(wParam)); return TRUE;
    case WM_PAINT: OnPaint(); return TRUE;
    case WM_ERASEBKGND: r = OnEraseBkgnd(reinterpret_cast<HDC>(wParam)); return TRUE;
    case WM_NCPAINT: OnNcPaint(reinterpret_cast<HRGN>(wParam)); return TRUE;
    case WM_SYNCPAINT: OnSyncPaint(); return TRUE;
    case WM_DRAWITEM:
        OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        r = TRUE;
        return TRUE;
    case WM_LBUTTONDOWN: OnLButtonDown(keyFlags, point); return TRUE;
    case WM_LBUTTONUP: OnLButtonUp(keyFlags, point); return TRUE;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(keyFlags, point); return TRUE;
    case WM_RBUTTONDOWN: OnRButtonDown(keyFlags, point); return TRUE;
    case WM_RBUTTONUP: OnRButtonUp(keyFlags, point); return TRUE;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(keyFlags, point); return TRUE;
    case WM_MBUTTONDOWN: OnMButtonDown(keyFlags, point); return TRUE;
    case WM_MBUTTONUP: OnMButtonUp(keyFlags, point); return TRUE;
    case WM_MOUSEMOVE: OnMouseMove(keyFlags, point); return TRUE;
    case WM_MOUSELEAVE: OnMouseLeave(); return TRUE;
    case WM_NCHITTEST: r = OnNcHitTest(point); return TRUE;
    case WM_NCLBUTTONDOWN: OnNcLButtonDown(keyFlags, point); return TRUE;
    case WM_SETCURSOR:
        r = OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_CONTEXTMENU: OnContextMenu(reinterpret_cast<HWND>(wParam), point); return TRUE;
    case WM_CAPTURECHANGED: OnCaptureChanged(reinterpret_cast<HWND>(lParam)); return TRUE;
    case WM_SYSCOMMAND: OnSysCommand(static_cast<UINT>(wParam), lParam); return TRUE;
    case WM_QUERYDRAGICON: r = reinterpret_cast<LRESULT>(OnQueryDragIcon()); return TRUE;
    case WM_MOVE: OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return TRUE;
    case WM_SIZE: OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return TRUE;
    case WM_SHOWWINDOW: OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)); return TRUE;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam) != 0);
        return TRUE;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return TRUE;
    case WM_DEVICECHANGE:
        r = OnDeviceChange(static_cast<UINT>(wParam), static_cast<DWORD_PTR>(lParam));
        return TRUE;
    case WM_POWERBROADCAST: r = OnPowerBroadcast(wParam, lParam); return TRUE;
    case WM_QUERYENDSESSION: r = OnQueryEndSession(); return TRUE;
    case WM_ENDSESSION: OnEndSession(static_cast<BOOL>(wParam)); return TRUE;
    case WM_DISPLAYCHANGE: r = OnDisplayChange(wParam, lParam); return TRUE;
    case WM_SETFOCUS: OnSetFocus(reinterpret_cast<HWND>(wParam)); return TRUE;
    case WM_KILLFOCUS: OnKillFocus(reinterpret_cast<HWND>(wParam)); return TRUE;
    case WM_CHAR: OnChar(static_cast<UINT>(wParam), repeat, flags); return TRUE;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam), repeat, flags); return TRUE;
    case WM_KEYUP: OnKeyUp(static_cast<UINT>(wParam), repeat, flags); return TRUE;
    case WM_SYSKEYDOWN: OnSysKeyDown(static_cast<UINT>(wParam), repeat, flags); return TRUE;
    case WM_GETDLGCODE: r = OnGetDlgCode(); return TRUE;
    case WM_CANCELMODE: OnCancelMode(); return TRUE;
    default: return FALSE;
    }
}

BOOL CWnd::ReflectChildNotify(HWND child, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT* pResult)
{
    CWnd* control = FromHandlePermanent(child);
    if (!control || control == this)
        return FALSE;
    return control->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        HBRUSH brush = CtlColor(reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX);
        if (!brush)
            return FALSE;
        *pResult = reinterpret_cast<LRESULT>(brush);
        return TRUE;
    }
    if (message == WM_DRAWITEM && DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam))) {
        *pResult = TRUE;
        return TRUE;
    }
    return FALSE;
}

HBRUSH CWnd::CtlColor(HDC, UINT) { return nullptr; }
BOOL CWnd::DrawItem(LPDRAWITEMSTRUCT) { return FALSE; }

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const HWND control = reinterpret_cast<HWND>(lParam);
    LRESULT ignored = 0;
    if (control && ReflectChildNotify(control, WM_COMMAND, wParam, lParam, &ignored))
        return TRUE;
    const UINT id = LOWORD(wParam);
    const UINT code = framework::CommandCodeOf(wParam, lParam);
    if (const auto* handler = m_messageMap.FindCommand(id, code)) {
        (*handler)(id, code);
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header)
        return FALSE;
    if (ReflectChildNotify(header->hwndFrom, WM_NOTIFY, header->idFrom, lParam, pResult))
        return TRUE;
    if (const auto* handler = m_messageMap.FindNotify(static_cast<UINT>(header->idFrom), header->code)) {
        (*handler)(header, pResult);
        return TRUE;
    }
    return FALSE;
}

HBRUSH CWnd::OnCtlColor(HDC hDC, HWND hWndCtl, UINT nCtlColor)
{
    LRESULT brush = 0;
    if (ReflectChildNotify(hWndCtl, WM_CTLCOLORMSGBOX + nCtlColor, reinterpret_cast<WPARAM>(hDC),
                           reinterpret_cast<LPARAM>(hWndCtl), &brush))
        return reinterpret_cast<HBRUSH>(brush);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT dis)
{
    LRESULT ignored = 0;
    if (dis && dis->CtlType != ODT_MENU &&
        ReflectChildNotify(dis->hwndItem, WM_DRAWITEM, dis->CtlID, reinterpret_cast<LPARAM>(dis), &ignored))
        return;
    Default();
}

void CWnd::OnHScroll(UINT nSBCode, UINT nPos, HWND hScrollBar)
{
    LRESULT ignored = 0;
    if (hScrollBar && ReflectChildNotify(hScrollBar, WM_HSCROLL, MAKEWPARAM(nSBCode, nPos),
                                         reinterpret_cast<LPARAM>(hScrollBar), &ignored))
        return;
    Default();
}

void CWnd::OnVScroll(UINT nSBCode, UINT nPos, HWND hScrollBar)
{
    LRESULT ignored = 0;
    if (hScrollBar && ReflectChildNotify(hScrollBar, WM_VSCROLL, MAKEWPARAM(nSBCode, nPos),
                                         reinterpret_cast<LPARAM>(hScrollBar), &ignored))
        return;
    Default();
}

int CWnd::OnCreate(LPCREATESTRUCTA) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(HDC) { return static_cast<BOOL>(Default()); }
void CWnd::OnNcPaint(HRGN) { Default(); }
void CWnd::OnSyncPaint() { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnMouseLeave() { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
BOOL CWnd::OnSetCursor(HWND, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnContextMenu(HWND, CPoint) { Default(); }
void CWnd::OnCaptureChanged(HWND) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnActivate(UINT, HWND, BOOL) { Default(); }
void CWnd::OnDropFiles(HDROP) { Default(); }
BOOL CWnd::OnDeviceChange(UINT, DWORD_PTR) { return static_cast<BOOL>(Default()); }
LRESULT CWnd::OnPowerBroadcast(WPARAM, LPARAM) { return Default(); }
BOOL CWnd::OnQueryEndSession() { return static_cast<BOOL>(Default()); }
void CWnd::OnEndSession(BOOL) { Default(); }
LRESULT CWnd::OnDisplayChange(WPARAM, LPARAM) { return Default(); }
void CWnd::OnSetFocus(HWND) { Default(); }
void CWnd::OnKillFocus(HWND) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnCancelMode() { Default(); }
LRESULT CWnd::OnPrivateMessage(UINT, WPARAM, LPARAM) { return Default(); }
