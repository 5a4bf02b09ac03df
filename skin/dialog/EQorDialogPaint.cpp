// Skinned dialog: painting the face, colours for the controls, dragging by the face and the
// tooltip relay.
#include <windows.h>

#include <cstring>

#include "EQorDialog.h"
#include "GraphicsEngineState.h"

namespace {

std::string ClassOf(HWND window)
{
    char name[64] = {};
    if (!window || !GetClassNameA(window, name, sizeof(name)))
        return {};
    return name;
}

}  // namespace

BOOL EQorDialog::OnEraseBkgnd(HDC hDC)
{
    HBITMAP face = FaceBitmap();
    if (!face)
        return CDialog::OnEraseBkgnd(hDC);
    BITMAP info{};
    GetObjectA(face, sizeof(info), &info);
    CDC memory;
    if (!memory.CreateCompatibleDC(hDC))
        return CDialog::OnEraseBkgnd(hDC);
    CSelectObject select(memory, face);
    BitBlt(hDC, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    return TRUE;
}

HBRUSH EQorDialog::OnCtlColor(HDC hDC, HWND hWndCtl, UINT nCtlColor)
{
    const std::string className = ClassOf(hWndCtl);
    if (nCtlColor == CTLCOLOR_STATIC && (className == "QORSTATIC" || className == "QORBUTTON")) {
        // The control paints its own part of the face behind its text.
        ::SendMessageA(hWndCtl, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0);
        SetBkMode(hDC, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    // A disabled or read-only edit asks with the static kind; it is still an edit and keeps
    // its own colours and brush.
    if (_stricmp(className.c_str(), "msctls_trackbar32") == 0 || _stricmp(className.c_str(), "Edit") == 0 ||
        nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_LISTBOX || nCtlColor == CTLCOLOR_BTN)
        return CDialog::OnCtlColor(hDC, hWndCtl, nCtlColor);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

// The transparent static under a point of the client area, or null.
HWND EQorDialog::TransparentStaticAt(POINT point) const
{
    for (int id : m_transparentStatics) {
        HWND control = ::GetDlgItem(m_hWnd, id);
        if (!control || !::IsWindowVisible(control))
            continue;
        RECT rect{};
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        if (PtInRect(&rect, point))
            return control;
    }
    return nullptr;
}

void EQorDialog::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (HWND control = TransparentStaticAt(point)) {
        POINT local = point;
        ::MapWindowPoints(m_hWnd, control, &local, 1);
        ::SendMessageA(control, WM_LBUTTONDOWN, nFlags, MAKELPARAM(local.x, local.y));
        // A control that takes the mouse (an editing drag) keeps the press; otherwise the
        // text is part of the face.
        if (::GetCapture() == control)
            return;
    }
    if (m_mouseMovesDialog) {
        POINT screen = point;
        ::ClientToScreen(m_hWnd, &screen);
        // The system's own move loop drags the window as if its caption had been pressed.
        PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
        return;
    }
    CDialog::OnLButtonDown(nFlags, point);
}

LRESULT EQorDialog::OnNcHitTest(CPoint screenPoint)
{
    if (skelda::EngineState().allowEditingGraphics) {
        POINT client = screenPoint;
        ::ScreenToClient(m_hWnd, &client);
        m_mouseOverStaticButtons = 0;
        if (TransparentStaticAt(client)) {
            if (GetKeyState(VK_LBUTTON) < 0)
                m_mouseOverStaticButtons |= MK_LBUTTON;
            if (GetKeyState(VK_RBUTTON) < 0)
                m_mouseOverStaticButtons |= MK_RBUTTON;
        }
    }
    return CDialog::OnNcHitTest(screenPoint);
}

BOOL EQorDialog::PreTranslateMessage(MSG* pMsg)
{
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.RelayEvent(pMsg);
    if (PreTranslateEditing(pMsg))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}
