#pragma once
// CWnd: a C++ object bound to one window. Messages reach the object through subclassing
// (the window procedure is replaced by the framework's, which looks the object up in the
// process-wide handle map) and are cracked into virtual handlers. A handler that does not
// fully handle its message calls the base version, which passes the message on to the
// window's previous procedure (Default()).
#include <windows.h>

#include <functional>
#include <string>

#include "framework/FrameworkApi.h"
#include "framework/MessageMap.h"
#include "framework/Types.h"

// <windowsx.h> defines SubclassWindow as a macro, which would hide CWnd's operation.
#ifdef SubclassWindow
#undef SubclassWindow
#endif

// Registers `newClass` under `module` as a copy of the window class `baseClass` (a system
// class such as "BUTTON"), with the class styles `removeStyles` taken away and `addStyles`
// added. Registering a name again from the same module succeeds without change. Windows of
// the class can then be created by name from any module (CWnd::CreateEx looks the class up).
FRAMEWORK_API BOOL AfxRegisterClassCopy(LPCSTR baseClass, LPCSTR newClass, HINSTANCE module,
                                        UINT removeStyles, UINT addStyles);

class FRAMEWORK_API CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object bound to a window (attached or subclassed), or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // How many windows are bound to objects in this process (a leak check for tests).
    static size_t GetBoundWindowCount();

    // Binding. Attach only maps the handle to this object (messages are not routed to it);
    // SubclassWindow also routes the window's messages through this object's handlers until
    // UnsubclassWindow, Detach or the window's destruction.
    BOOL Attach(HWND hWnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* pParent);
    HWND UnsubclassWindow();

    // Creation; the object receives every message from WM_NCCREATE on.
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                  const RECT& rect, HWND parent, UINT id, LPVOID param = nullptr);
    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                CWnd* pParent, UINT id);
    // Creation for an object that needs none of the creation messages (WM_NCCREATE to the
    // first WM_SIZE and WM_MOVE): the window is made first and subclassed then, so no
    // creation hook is set for it. False, and no window left, when either step fails.
    BOOL CreateThenSubclass(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                            const RECT& rect, HWND parent, UINT id);
    // Destroys `item` (a dialog item) and creates in its place a window of `className` with
    // the same text, style, extended style, position, size, parent and id, subclassed by this
    // object. If this object was bound to the item, it is unbound first.
    BOOL CreateInPlaceOfDlgItem(HWND item, LPCSTR className);
    virtual BOOL DestroyWindow();

    // Message routing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Gives each object from the message's window up to its top-level window a look at it;
    // true when one of them handled it.
    static BOOL WalkPreTranslateTree(MSG* pMsg);
    LRESULT Default();
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Thin wrappers over the window functions.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void SetWindowText(LPCSTR text);
    std::string GetWindowText() const;
    int GetDlgCtrlID() const;
    HWND GetDlgItem(int id) const;
    HWND GetParent() const;
    void SetDlgItemText(int id, LPCSTR text);
    std::string GetDlgItemText(int id) const;
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    BOOL ShowWindow(int cmd);
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const RECT& rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT rect = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    BOOL KillTimer(UINT_PTR id);
    HWND SetFocus();
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    int SetWindowRgn(HRGN region, BOOL redraw);  // the system owns the region afterwards
    void SetFont(HFONT font, BOOL redraw = TRUE);
    HFONT GetFont() const;
    HICON SetIcon(HICON icon, BOOL big);
    HMENU GetSystemMenu(BOOL revert) const;
    void CenterWindow(HWND alternateOwner = nullptr);
    void DragAcceptFiles(BOOL accept = TRUE);
    // Asks for one WM_MOUSELEAVE (OnMouseLeave) when the mouse next leaves the window.
    BOOL TrackMouseLeave();
    BOOL SetForegroundWindow();
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);

protected:
    // Command and notification table: handlers by control id and notification code. A
    // derived class fills it in its constructor; OnCommand and OnNotify consult it.
    void MapCommand(UINT id, std::function<void()> handler);
    void MapCommand(UINT id, UINT code, std::function<void()> handler);
    void MapCommandRange(UINT first, UINT last, UINT code, std::function<void(UINT id)> handler);
    void MapNotify(UINT id, UINT code, std::function<void(NMHDR*, LRESULT*)> handler);

    // Cracks one message into the virtual handlers below; false leaves it to Default().
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Called with the window's handle before this object subclasses it.
    virtual void PreSubclassWindow();
    // Called after the window's last message (WM_NCDESTROY), once the object is unbound.
    virtual void PostNcDestroy();

    // Reflection: a parent gives a control object the first say on the notifications the
    // control sends it (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM, WM_HSCROLL,
    // WM_VSCROLL). Return true when handled, with the parent's answer in *pResult.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Colour request of this control, reflected from its parent: a brush handles it.
    virtual HBRUSH CtlColor(HDC hDC, UINT nCtlColor);
    // Owner drawing of this control, reflected from its parent.
    virtual BOOL DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    // Offers a notification of `child` to its object; the default handlers call it.
    BOOL ReflectChildNotify(HWND child, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT* pResult);

    // Virtual message handlers. Each default passes the message on (Default()), except
    // where noted.
    virtual int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    virtual void OnDestroy();
    virtual void OnClose();
    // Commands: reflection to the control, then the command table. FALSE: not handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(HDC hDC);
    virtual void OnNcPaint(HRGN updateRegion);
    virtual void OnSyncPaint();
    // nCtlColor is CTLCOLOR_EDIT, CTLCOLOR_STATIC, ...; the default reflects to the control.
    virtual HBRUSH OnCtlColor(HDC hDC, HWND hWndCtl, UINT nCtlColor);
    virtual void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnRButtonDown(UINT nFlags, CPoint point);
    virtual void OnRButtonUp(UINT nFlags, CPoint point);
    virtual void OnRButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnMButtonDown(UINT nFlags, CPoint point);
    virtual void OnMButtonUp(UINT nFlags, CPoint point);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    virtual void OnMouseLeave();
    virtual LRESULT OnNcHitTest(CPoint screenPoint);
    virtual void OnNcLButtonDown(UINT nHitTest, CPoint screenPoint);
    virtual BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    virtual void OnContextMenu(HWND hWnd, CPoint screenPoint);
    virtual void OnCaptureChanged(HWND hWndNew);
    virtual void OnSysCommand(UINT nID, LPARAM lParam);
    virtual HCURSOR OnQueryDragIcon();
    virtual void OnMove(int x, int y);
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnShowWindow(BOOL bShow, UINT nStatus);
    virtual void OnActivate(UINT nState, HWND hWndOther, BOOL bMinimized);
    virtual void OnHScroll(UINT nSBCode, UINT nPos, HWND hScrollBar);
    virtual void OnVScroll(UINT nSBCode, UINT nPos, HWND hScrollBar);
    virtual void OnDropFiles(HDROP hDropInfo);
    virtual BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
    virtual LRESULT OnPowerBroadcast(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnQueryEndSession();
    virtual void OnEndSession(BOOL bEnding);
    virtual LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    virtual void OnSetFocus(HWND hWndOld);
    virtual void OnKillFocus(HWND hWndNew);
    virtual void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual UINT OnGetDlgCode();
    virtual void OnCancelMode();
    // Messages from WM_USER up (the application's private messages, WM_APP and registered
    // messages).
    virtual LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The procedure this object's window had before it was subclassed.
    WNDPROC m_pfnSuper = nullptr;

private:
    friend struct WndAccess;
    framework::MessageMap m_messageMap;
};
