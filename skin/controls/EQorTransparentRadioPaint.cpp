// Transparent radio buttons (and their check-box and menu forms): the dialog's face under the
// button, the mark from the state bitmap or drawn in the text colour, and the caption beside it.
#include "ButtonLogic.h"
#include "EQorButton.h"
#include "ParentFace.h"
#include "TransparentRadioLayout.h"

using namespace skelda::controls;

void EQorButton::DrawTransparentRadioMark(HDC dc, const RECT& mark, bool pointsRight, COLORREF colour) const
{
    const bool checked = m_logic->Checked();
    CPen pen;
    CBrush brush;
    if (!pen.CreatePen(PS_SOLID, 1, colour) || !brush.CreateSolidBrush(colour))
        return;
    CSelectObject selectedPen(dc, pen.GetSafeHandle());
    const int middle = (mark.top + mark.bottom - 1) / 2;
    if (m_kind == kMenuRadio) {
        // The menu marks only its chosen item, with an arrow pointing at the text.
        if (!checked)
            return;
        CSelectObject selectedBrush(dc, brush.GetSafeHandle());
        const int tip = pointsRight ? mark.right - 3 : mark.left + 2;
        const int base = pointsRight ? mark.left + 2 : mark.right - 3;
        const POINT arrow[3] = {{base, mark.top + 2}, {tip, middle}, {base, mark.bottom - 3}};
        ::Polygon(dc, arrow, 3);
        return;
    }
    if (m_logic->IsCheckBox()) {
        ::FrameRect(dc, &mark, brush);
        if (!checked)
            return;
        CPen tickPen;
        if (!tickPen.CreatePen(PS_SOLID, 2, colour))
            return;
        CSelectObject selectedTick(dc, tickPen.GetSafeHandle());
        const POINT tick[3] = {{mark.left + 3, middle}, {mark.left + 5, mark.bottom - 4}, {mark.right - 3, mark.top + 3}};
        ::Polyline(dc, tick, 3);
        return;
    }
    {
        CSelectObject hollow(dc, ::GetStockObject(NULL_BRUSH));
        ::Ellipse(dc, mark.left, mark.top, mark.right, mark.bottom);
    }
    if (checked) {
        CSelectObject selectedBrush(dc, brush.GetSafeHandle());
        ::Ellipse(dc, mark.left + 3, mark.top + 3, mark.right - 3, mark.bottom - 3);
    }
}

void EQorButton::PaintTransparentRadio(HDC dc, const RECT& client, int index)
{
    if (client.right <= 0 || client.bottom <= 0)
        return;
    // Composed off-screen, then copied, so the mark and text never flicker over a bare face.
    CDC memory;
    CBitmap canvas;
    if (!memory.CreateCompatibleDC(dc) || !canvas.CreateDIBSection32(client.right, client.bottom))
        return;
    CSelectObject intoCanvas(memory, canvas.GetSafeHandle());
    PaintParentFace(m_hWnd, memory);

    const int state = TextState(index);
    HBITMAP markBitmap = StateBitmap(index);
    BITMAP info{};
    SIZE markSize{};
    if (markBitmap && ::GetObjectA(markBitmap, sizeof(info), &info)) {
        markSize = {info.bmWidth, info.bmHeight};
    } else {
        markBitmap = nullptr;
        const int side = DrawnRadioMarkSide(client.bottom);
        markSize = {side, side};
    }
    CFont font;
    CSelectObject selectedFont(memory, CaptionFont(font));
    SIZE textSize{};
    ::GetTextExtentPoint32A(memory, m_caption.c_str(), static_cast<int>(m_caption.size()), &textSize);
    const bool markLeft = m_data.transparentRadioBtnLeftJustified;
    const RadioLayout layout = LayoutTransparentRadio({client.right, client.bottom}, markSize, textSize, markLeft,
                                                      m_data.transparentRadioTextLeftJustified);
    if (markBitmap) {
        CDC source;
        if (source.CreateCompatibleDC(dc)) {
            CSelectObject selected(source, markBitmap);
            ::BitBlt(memory, layout.mark.left, layout.mark.top, markSize.cx, markSize.cy, source, 0, 0, SRCCOPY);
        }
    } else if (markSize.cx > 0) {
        DrawTransparentRadioMark(memory, layout.mark, markLeft, MainTextColour(state));
    }
    if (!m_caption.empty()) {
        const QorButtonTextSettings& s = m_textSettings;
        const int xOffsets[4] = {s.xOffsetUp, s.xOffsetDown, s.xOffsetFocus, s.xOffsetDisabled};
        const int yOffsets[4] = {s.yOffsetUp, s.yOffsetDown, s.yOffsetFocus, s.yOffsetDisabled};
        DrawCaptionAt(memory, state, layout.text.x + xOffsets[state], layout.text.y + yOffsets[state]);
    }
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
}
