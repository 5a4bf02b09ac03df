#include "VideoArea.h"

namespace shell {

void VideoArea::ShowIdlePicture(bool show)
{
    m_showIdle = show;
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}

BOOL VideoArea::OnEraseBkgnd(HDC)
{
    return TRUE;  // OnPaint covers the whole area
}

void VideoArea::OnPaint()
{
    CPaintDC dc(m_hWnd);
    RECT area;
    GetClientRect(&area);
    if (!m_showIdle || m_picture == nullptr) {
        RECT black = area;
        black.right -= 1;
        FillRect(dc, &black, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    CDC memory;
    if (!memory.CreateCompatibleDC(dc))
        return;
    CSelectObject selected(memory, m_picture);
    BitBlt(dc, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
}

}  // namespace shell
