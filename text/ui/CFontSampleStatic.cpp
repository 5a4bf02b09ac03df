// The font sample's painting.
#include "CFontSampleStatic.h"

#include <utility>

namespace lorvane {

bool CFontSampleStatic::SetSampleFont(const LOGFONTA& font)
{
    CFont made;
    if (!made.CreateFontIndirect(font))
        return false;
    m_font = std::move(made);
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return true;
}

void CFontSampleStatic::OnPaint()
{
    CPaintDC dc(m_hWnd);
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    CSelectObject font(dc, m_font.GetSafeHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::DrawTextA(dc, "Sample Text", -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace lorvane
