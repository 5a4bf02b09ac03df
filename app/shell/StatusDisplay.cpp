#include "StatusDisplay.h"

#include "EQorDialog.h"

namespace shell {

void StatusDisplay::SetTextColour(COLORREF colour)
{
    m_colour = colour;
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}

void StatusDisplay::SetClockTargets(HWND elapsed, HWND countdown)
{
    m_elapsedClock = elapsed;
    m_countdownClock = countdown;
}

void StatusDisplay::ClearTime()
{
    m_elapsed = {};
    m_countdown = {};
}

void StatusDisplay::ShowTime()
{
    if (m_elapsedClock)
        ::SetWindowTextA(m_elapsedClock, shell::FormatClock(m_elapsed.hours, m_elapsed.minutes, m_elapsed.seconds).c_str());
    if (m_countdownClock)
        ::SetWindowTextA(m_countdownClock,
                       shell::FormatClock(m_countdown.hours, m_countdown.minutes, m_countdown.seconds).c_str());
}

void StatusDisplay::ShowInformation(const std::string& line)
{
    SetWindowText(line.c_str());
    Invalidate(FALSE);
}

BOOL StatusDisplay::OnEraseBkgnd(HDC)
{
    return TRUE;  // OnPaint covers the whole control
}

void StatusDisplay::OnPaint()
{
    CPaintDC dc(m_hWnd);
    RECT client;
    GetClientRect(&client);
    // The face under the control, so the text floats on the skin like the other labels.
    HBITMAP under = nullptr;
    RECT inParent = client;
    ::MapWindowPoints(m_hWnd, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&inParent), 2);
    if (m_face && m_face->GetPartialBitmap(dc, inParent, &under) && under) {
        CBitmap face;
        face.Attach(under);
        CDC memory;
        if (memory.CreateCompatibleDC(dc)) {
            CSelectObject selected(memory, face);
            ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        }
    } else {
        ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    const std::string text = GetWindowText();
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    const HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_colour);
    ::DrawTextA(dc, text.c_str(), -1, &client, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (oldFont)
        ::SelectObject(dc, oldFont);
}

}  // namespace shell
