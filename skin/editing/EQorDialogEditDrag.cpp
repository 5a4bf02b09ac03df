// The design-time editing mode of a skinned dialog: the mouse and keys that reach it first,
// dragging an unlocked control with a frame that follows the mouse, and nudging it with the
// arrow keys.
#include "EQorControlCommon.h"
#include "EQorDialog.h"
#include "GraphicsEngineState.h"

using skelda::EngineState;

namespace {

EQorControlCommon* CommonOf(const IQorControlCommon* control)
{
    return dynamic_cast<EQorControlCommon*>(const_cast<IQorControlCommon*>(control));
}

bool IsArrowKey(WPARAM key)
{
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

}  // namespace

bool EQorDialog::TakesEditingKey(const MSG* pMsg) const
{
    return pMsg->message == WM_KEYDOWN && EditingModeOn() && !m_displayMode && EngineState().allowEditingGraphics &&
           IsArrowKey(pMsg->wParam) && m_selectedControl && !IsControlLocked(m_selectedControl) &&
           (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd));
}

bool EQorDialog::PreTranslateEditing(MSG* pMsg)
{
    if (!EditingModeOn() || m_displayMode)
        return false;
    const bool ownMessage = pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd);
    if (!ownMessage)
        return false;
    // Where the mouse was when the button went down, not where it is now: a busy program takes
    // the press late, and a drag measured from a later place would fall short.
    const POINT screen = pMsg->pt;
    switch (pMsg->message) {
    case WM_RBUTTONUP:
        ShowEditMenuFor(pMsg->hwnd, screen);
        return true;
    case WM_LBUTTONDOWN: {
        if (!EngineState().allowEditingGraphics)
            return false;
        const ControlEntry* entry = EditableControlAt(pMsg->hwnd, screen);
        const EQorControlCommon* common = entry ? CommonOf(entry->common) : nullptr;
        if (!common || common->IsLockedInPlace())
            return false;
        BeginEditDrag(*entry, screen);
        return true;
    }
    case WM_KEYDOWN:
        if (TakesEditingKey(pMsg)) {
            const int dx = pMsg->wParam == VK_LEFT ? -1 : (pMsg->wParam == VK_RIGHT ? 1 : 0);
            const int dy = pMsg->wParam == VK_UP ? -1 : (pMsg->wParam == VK_DOWN ? 1 : 0);
            MoveControlForEditing(m_selectedControl, dx, dy);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void EQorDialog::BeginEditDrag(const ControlEntry& entry, POINT screen)
{
    RECT rect{};
    ::GetWindowRect(entry.window, &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    m_selectedControl = entry.id;
    m_drag = EditDrag{};
    m_drag.active = true;
    m_drag.controlId = entry.id;
    m_drag.start = screen;
    m_drag.startRect = m_drag.frame = rect;
    ::SetCapture(m_hWnd);
    DrawEditDragFrame();
}

void EQorDialog::DrawEditDragFrame()
{
    // XOR drawing: the same call draws the frame and takes it away again.
    CClientDC dc(m_hWnd);
    if (dc.GetSafeHdc()) {
        ::DrawFocusRect(dc, &m_drag.frame);
        m_drag.frameDrawn = !m_drag.frameDrawn;
    }
}

void EQorDialog::EndEditDrag(bool drop, POINT screen)
{
    if (!m_drag.active)
        return;
    if (m_drag.frameDrawn)
        DrawEditDragFrame();
    m_drag.active = false;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (drop)
        MoveControlForEditing(m_drag.controlId, screen.x - m_drag.start.x, screen.y - m_drag.start.y);
}

void EQorDialog::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_drag.active) {
        CDialog::OnMouseMove(nFlags, point);
        return;
    }
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    if (m_drag.frameDrawn)
        DrawEditDragFrame();
    m_drag.frame = m_drag.startRect;
    ::OffsetRect(&m_drag.frame, screen.x - m_drag.start.x, screen.y - m_drag.start.y);
    DrawEditDragFrame();
}

void EQorDialog::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!m_drag.active) {
        CDialog::OnLButtonUp(nFlags, point);
        return;
    }
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    EndEditDrag(true, screen);
}

void EQorDialog::OnCaptureChanged(HWND hWndNew)
{
    if (m_drag.active && hWndNew != m_hWnd)
        EndEditDrag(false, POINT{});
    CDialog::OnCaptureChanged(hWndNew);
}
