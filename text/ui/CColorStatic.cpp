// The colour swatch's painting.
#include "CColorStatic.h"

namespace lorvane {

void CColorStatic::SetColour(COLORREF colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CColorStatic::OnPaint()
{
    CPaintDC dc(m_hWnd);
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    CBrush frame, fill;
    frame.CreateSolidBrush(::GetSysColor(COLOR_WINDOWTEXT));
    fill.CreateSolidBrush(m_colour);
    ::FillRect(dc, &rect, frame.GetSafeHandle());
    ::InflateRect(&rect, -1, -1);
    ::FillRect(dc, &rect, fill.GetSafeHandle());
}

}  // namespace lorvane
