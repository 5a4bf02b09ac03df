// Skinned button input: mouse and keyboard presses, capture, hover highlighting, check marks,
// notifications to the parent and following the edges of a stretch dialog.
#include "EQorButton.h"

#include "ButtonLogic.h"
#include "EQorDialog.h"
#include "EQorStretchDlg.h"

using namespace skelda::controls;

namespace {

POINT PointOf(LPARAM lParam)
{
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

constexpr int kOrientRight = 2;
constexpr int kOrientBottom = 8;

}  // namespace

bool EQorButton::InsideRegion(POINT point) const
{
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (!::PtInRect(&client, point))
        return false;
    return !m_primaryRegion.GetSafeHandle() || m_primaryRegion.PtInRegion(point.x, point.y);
}

void EQorButton::PostNotification(int code)
{
    // Id -1 marks a control nobody listens to (and 0xFFFF is how it reads back as a word).
    if (m_controlId == -1 || m_controlId == 0xFFFF)
        return;
    if (HWND parent = ::GetParent(m_hWnd))
        ::PostMessageA(parent, WM_COMMAND, MAKEWPARAM(m_controlId, code), reinterpret_cast<LPARAM>(m_hWnd));
}

void EQorButton::Perform(const ButtonAction& action)
{
    if (action.takeFocus && ::GetFocus() != m_hWnd)
        ::SetFocus(m_hWnd);
    if (action.capture)
        ::SetCapture(m_hWnd);
    if (action.releaseCapture && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (action.checkChanged && m_logic->IsRadio() && m_logic->Checked()) {
        // The other radio buttons of the group give up their check, as system ones do.
        HWND parent = ::GetParent(m_hWnd);
        for (HWND other = ::GetNextDlgGroupItem(parent, m_hWnd, FALSE); other && other != m_hWnd;
             other = ::GetNextDlgGroupItem(parent, other, FALSE)) {
            if ((::GetWindowLongA(other, GWL_STYLE) & 0x0F) == BS_AUTORADIOBUTTON)
                ::SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
    Repaint();
    if (action.post)
        PostNotification(action.code);
}

void EQorButton::Press()
{
    Perform(m_logic->Press(::IsWindowEnabled(m_hWnd) != FALSE));
}

void EQorButton::ReleaseAt(POINT point, bool fromMouse)
{
    Perform(m_logic->Release(!fromMouse || InsideRegion(point)));
}

void EQorButton::FollowStretch(UINT message, int dx, int dy)
{
    if (message == EQorStretchDlg::kStretchBegin) {
        RECT rect{};
        if (GetQorRect(&rect) != 0)
            return;
        m_trackStart = rect;
        m_trackDx = m_trackDy = 0;
        m_tracking = true;
        return;
    }
    if (!m_tracking)
        return;
    if (message == EQorStretchDlg::kStretchStep) {
        m_trackDx += dx;
        m_trackDy += dy;
    } else {
        m_trackDx = dx;
        m_trackDy = dy;
        m_tracking = false;
    }
    const int x = m_trackStart.left + ((m_trackingOrientation & kOrientRight) ? m_trackDx : 0);
    const int y = m_trackStart.top + ((m_trackingOrientation & kOrientBottom) ? m_trackDy : 0);
    UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (message == EQorStretchDlg::kStretchEnd)
        flags |= SWP_NOREDRAW;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, flags);
    if (message == EQorStretchDlg::kStretchStep)
        ::UpdateWindow(m_hWnd);
}

namespace {

EQorStretchDlg* StretchParentOf(HWND button)
{
    return dynamic_cast<EQorStretchDlg*>(CWnd::FromHandlePermanent(::GetParent(button)));
}

// Where the mouse was when the message being handled was posted, in screen coordinates: the
// grabber moves under the mouse while the dialog grows.
POINT MessageScreenPoint()
{
    const DWORD position = ::GetMessagePos();
    return {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
}

}  // namespace

bool EQorButton::BeginStretchDrag()
{
    EQorStretchDlg* dialog = StretchParentOf(m_hWnd);
    if (!dialog || !dialog->IsStretchable() || !::IsWindowEnabled(m_hWnd) || m_trackingOrientation == 0)
        return false;
    m_grabbing = true;
    ::SetCapture(m_hWnd);
    m_logic->SetState(kStateDown);
    Repaint();
    dialog->BeginGrab(m_trackingOrientation, MessageScreenPoint());
    return true;
}

void EQorButton::EndStretchDrag()
{
    if (!m_grabbing)
        return;
    m_grabbing = false;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (EQorStretchDlg* dialog = StretchParentOf(m_hWnd))
        dialog->EndGrab();
    m_logic->SetState(kStateUp);
    Repaint();
}

void EQorButton::AdjustToParentEdges()
{
    HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    RECT rect{}, client{};
    if (!parent || GetQorRect(&rect) != 0 || !::GetClientRect(parent, &client))
        return;
    int x = rect.left, y = rect.top;
    if (m_trackingOrientation & kOrientRight)
        x = client.right - m_rightOffset - (rect.right - rect.left);
    if (m_trackingOrientation & kOrientBottom)
        y = client.bottom - m_bottomOffset - (rect.bottom - rect.top);
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT EQorButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT opened = 0;
    if (OpenWindowProc(message, &opened, [&] { return CButton::WindowProc(message, wParam, lParam); }))
        return opened;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = ::BeginPaint(m_hWnd, &paint);
        PaintCurrentState(dc);
        PaintEditingMark(dc);
        ::EndPaint(m_hWnd, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintCurrentState(reinterpret_cast<HDC>(wParam));
        PaintEditingMark(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCPAINT:
        if (!HasNonClientArea(m_hWnd))
            return 0;
        return CButton::WindowProc(message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (m_kind == kGrabber && BeginStretchDrag())
            return 0;
        Press();
        return 0;
    case WM_LBUTTONUP:
        if (m_grabbing) {
            EndStretchDrag();
            return 0;
        }
        if (::GetCapture() == m_hWnd || m_logic->Captured())
            ReleaseAt(PointOf(lParam), true);
        return 0;
    case WM_MOUSEMOVE: {
        if (m_grabbing) {
            if (EQorStretchDlg* dialog = StretchParentOf(m_hWnd))
                dialog->TrackGrab(MessageScreenPoint());
            return 0;
        }
        const POINT point = PointOf(lParam);
        const int before = m_logic->State();
        if (m_logic->Captured() && ::GetCapture() == m_hWnd) {
            m_logic->MoveCaptured(InsideRegion(point));
        } else if (m_logic->MoveHover(InsideRegion(point), ::IsWindowEnabled(m_hWnd) != FALSE)) {
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = m_hWnd;
            ::TrackMouseEvent(&track);
        }
        if (m_logic->State() != before)
            Repaint();
        return 0;
    }
    case WM_MOUSELEAVE:
        m_logic->MouseLeave();
        Repaint();
        return 0;
    case WM_CAPTURECHANGED:
        if (m_grabbing && reinterpret_cast<HWND>(lParam) != m_hWnd) {
            EndStretchDrag();
            return 0;
        }
        if (reinterpret_cast<HWND>(lParam) != m_hWnd && m_logic->Captured() && !m_keyPressed) {
            m_logic->CaptureLost();
            Repaint();
        }
        return 0;
    case WM_CANCELMODE:
    case WM_KILLFOCUS:
        if (m_logic->Captured()) {
            m_logic->CaptureLost();
            m_keyPressed = false;
            if (::GetCapture() == m_hWnd)
                ::ReleaseCapture();
        }
        Repaint();
        return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    case WM_SETFOCUS:
        Repaint();
        return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !(lParam & (1 << 30)) && !m_logic->Captured()) {
            const ButtonAction action = m_logic->Press(::IsWindowEnabled(m_hWnd) != FALSE);
            m_keyPressed = action.capture;
            ButtonAction keyAction = action;
            keyAction.capture = false;  // the keyboard press needs no mouse capture
            Perform(keyAction);
            return 0;
        }
        return CButton::WindowProc(message, wParam, lParam);
    case WM_KEYUP:
        if (wParam == VK_SPACE && m_keyPressed) {
            m_keyPressed = false;
            ReleaseAt({0, 0}, false);
            return 0;
        }
        return CButton::WindowProc(message, wParam, lParam);
    case WM_ENABLE:
        // A disabled button shows its disabled look; enabling it again shows it up.
        if (!wParam)
            m_logic->SetState(kStateDisabled);
        else if (m_logic->State() == kStateDisabled)
            m_logic->SetState(kStateUp);
        Repaint();
        return 0;
    case BM_SETCHECK:
        SetChecked(wParam == BST_CHECKED);
        return 0;
    case BM_GETCHECK:
        return m_logic->Checked() ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETSTATE:
        return 0;
    case BM_SETSTYLE: {
        const LRESULT result = CButton::WindowProc(message, wParam, FALSE);
        Repaint();
        return result;
    }
    case WM_SETTEXT:
    case WM_UPDATEUISTATE: {
        const LRESULT result = ::DefWindowProcA(m_hWnd, message, wParam, lParam);
        Repaint();
        return result;
    }
    case EQorStretchDlg::kStretchBegin:
    case EQorStretchDlg::kStretchStep:
    case EQorStretchDlg::kStretchEnd:
        FollowStretch(message, static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    default:
        return CButton::WindowProc(message, wParam, lParam);
    }
}
