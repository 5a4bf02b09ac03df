// The editing mode's mark on a skinned button: a frame along its outline, so that buttons the
// designer asked to see (a stretch dialog's grabbers) stand out from the face around them.
#include "EQorButton.h"
#include "EQorTransparentStatic.h"
#include "GraphicsEngineState.h"

void EQorButton::HighlightControl(bool highlight)
{
    if (m_highlighted == highlight)
        return;
    m_highlighted = highlight;
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void EQorButton::PaintEditingMark(HDC dc) const
{
    if (!m_highlighted || !dc || !skelda::EngineState().allowEditingGraphics)
        return;
    CBrush frame;
    if (!frame.CreateSolidBrush(EQorTransparentStatic::kHighlightColour))
        return;
    ::SelectClipRgn(dc, nullptr);
    // The window's region is the button's shape: the frame follows it, two pixels wide so it
    // shows on any face.
    CRgn outline;
    if (outline.CreateRectRgn(0, 0, 0, 0) && ::GetWindowRgn(m_hWnd, outline) != ERROR) {
        ::FrameRgn(dc, outline, frame, 2, 2);
        return;
    }
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    ::FrameRect(dc, &client, frame);
    ::InflateRect(&client, -1, -1);
    ::FrameRect(dc, &client, frame);
}
