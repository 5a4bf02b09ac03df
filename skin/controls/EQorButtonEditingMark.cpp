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
    // The frame follows the button's shape, two pixels wide so it shows on any face.
    if (m_primaryRegion.GetSafeHandle()) {
        ::FrameRgn(dc, m_primaryRegion, frame, 2, 2);
        return;
    }
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    ::FrameRect(dc, &client, frame);
    ::InflateRect(&client, -1, -1);
    ::FrameRect(dc, &client, frame);
}
