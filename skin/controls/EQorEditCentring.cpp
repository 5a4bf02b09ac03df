// Skinned edit: its line of text centred vertically. A single-line edit draws its text at the
// top of its client area, so the client area itself is narrowed to the text's height and the
// bands the frame gains above and below it are painted like the edit's background.
#include "EQorEdit.h"

#include "EditTextBand.h"
#include "ParentFace.h"

using skelda::controls::CentredTextBand;

void EQorEdit::SetCenterTextVertically(bool centre)
{
    if (centre == m_centerVertically)
        return;
    m_centerVertically = centre;
    FrameChanged();
}

void EQorEdit::FrameChanged()
{
    if (!m_hWnd)
        return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

LRESULT EQorEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT opened = 0;
    if (OpenWindowProc(message, &opened, [&] { return CEdit::WindowProc(message, wParam, lParam); }))
        return opened;
    switch (message) {
    case WM_NCCALCSIZE: {
        const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
        RECT* proposed = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
        m_bandAbove = m_bandBelow = 0;
        if (m_drawBorder)
            ::InflateRect(proposed, -1, -1);
        if (m_centerVertically)
            CentreClientArea(proposed);
        return result;
    }
    case WM_NCPAINT: {
        const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
        PaintCentringBands();
        PaintBorder();
        return result;
    }
    case WM_SETFONT: {
        // Another font has another height: the client area is measured again.
        const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
        if (m_centerVertically)
            FrameChanged();
        return result;
    }
    default:
        return CEdit::WindowProc(message, wParam, lParam);
    }
}

void EQorEdit::CentreClientArea(RECT* proposed)
{
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    TEXTMETRICA metrics{};
    {
        CClientDC dc(m_hWnd);
        CSelectObject selected(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
        if (!dc.GetSafeHdc() || !::GetTextMetricsA(dc, &metrics))
            return;
    }
    const auto band = CentredTextBand(proposed->top, proposed->bottom, metrics.tmHeight);
    m_bandAbove = band.top - proposed->top;
    m_bandBelow = proposed->bottom - band.bottom;
    proposed->top = band.top;
    proposed->bottom = band.bottom;
}

void EQorEdit::PaintCentringBands()
{
    if (!m_hWnd || (m_bandAbove <= 0 && m_bandBelow <= 0))
        return;
    // The client rectangle in window coordinates, where the window context has its origin.
    RECT window{}, client{};
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ::OffsetRect(&client, -window.left, -window.top);
    const RECT bands[2] = {{client.left, client.top - m_bandAbove, client.right, client.top},
                           {client.left, client.bottom, client.right, client.bottom + m_bandBelow}};

    CWindowDC dc(m_hWnd);
    if (!dc.GetSafeHdc())
        return;
    if (m_backgroundStyle == 2) {
        // See-through: the dialog's face under the window, which starts at the window's origin.
        CBitmap face(skelda::controls::TakeParentFace(m_hWnd));
        CDC memory;
        if (face.GetSafeHandle() && memory.CreateCompatibleDC(dc)) {
            CSelectObject selected(memory, face.GetSafeHandle());
            for (const RECT& band : bands)
                ::BitBlt(dc, band.left, band.top, band.right - band.left, band.bottom - band.top, memory, band.left,
                         band.top, SRCCOPY);
            return;
        }
        for (const RECT& band : bands)
            ::FillRect(dc, &band, ::GetSysColorBrush(COLOR_3DFACE));
        return;
    }
    // The pattern starts at the client area's origin, as it does behind the text.
    ::SetBrushOrgEx(dc, client.left, client.top, nullptr);
    for (const RECT& band : bands)
        ::FillRect(dc, &band, SolidBackgroundBrush());
}

void EQorEdit::PaintBorder()
{
    if (!m_hWnd || !m_drawBorder)
        return;
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    const RECT frame{0, 0, window.right - window.left, window.bottom - window.top};
    CWindowDC dc(m_hWnd);
    CBrush brush;
    if (dc.GetSafeHdc() && brush.CreateSolidBrush(::IsWindowEnabled(m_hWnd) ? m_text : m_disabledText))
        ::FrameRect(dc, &frame, brush);
}
