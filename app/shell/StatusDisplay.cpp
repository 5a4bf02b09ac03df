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
    m_model.ClearTime();
}

void StatusDisplay::WriteTexts(const StatusFrame& frame)
{
    if (m_elapsedClock)
        ::SetWindowTextA(m_elapsedClock, frame.elapsedClock.c_str());
    if (m_countdownClock)
        ::SetWindowTextA(m_countdownClock, frame.countdownClock.c_str());
    if (m_label)
        ::SetWindowTextA(m_label, frame.recordingLabel.c_str());
    if (frame.informationLine && m_hWnd != nullptr)
        ShowInformation(*frame.informationLine);
}

void StatusDisplay::ShowTime()
{
    StatusFrame frame = m_model.Redraw(m_recording, m_context);
    // Only the clocks: the information line keeps what it shows until the next full redraw.
    if (frame.informationLine)
        m_model.InvalidateInformation();
    frame.informationLine.reset();
    WriteTexts(frame);
}

std::optional<unsigned> StatusDisplay::ShowEngineTime(std::int64_t time100ns, bool recording)
{
    const std::optional<unsigned> slider = m_model.SetEngineTime(time100ns);
    if (slider)
        Redraw(recording);
    return slider;
}

void StatusDisplay::Redraw(bool recording)
{
    m_recording = recording;
    WriteTexts(m_model.Redraw(recording, m_context));
}

void StatusDisplay::SetTimeLeft(const std::string& text)
{
    if (text == m_context.timeLeft)
        return;
    m_context.timeLeft = text;
    m_model.InvalidateInformation();
    Redraw(m_recording);
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
