// Transparent static: painting the face under it and its text, and its window messages.
#include "EQorTransparentStatic.h"

#include "EQorDialog.h"
#include "GraphicsEngineState.h"

namespace {

std::string WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

void TextAt(HDC dc, const std::string& text, RECT rect, int dx, int dy, UINT format, COLORREF colour)
{
    ::OffsetRect(&rect, dx, dy);
    ::SetTextColor(dc, colour);
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

}  // namespace

void EQorTransparentStatic::Redraw()
{
    if (!m_hWnd || !::IsWindowVisible(m_hWnd))
        return;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::UpdateWindow(m_hWnd);
}

void EQorTransparentStatic::PaintBackground(HDC dc)
{
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (!m_face.GetSafeHandle())
        FetchFace();
    CDC memory;
    if (!m_face.GetSafeHandle() || !memory.CreateCompatibleDC(dc)) {
        // Without a skinned face behind it the control shows the system's dialog colour.
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_3DFACE));
        return;
    }
    CSelectObject selected(memory, m_face.GetSafeHandle());
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
}

void EQorTransparentStatic::DrawCaption(HDC dc, const RECT& client)
{
    const std::string text = WindowText(m_hWnd);
    if (text.empty())
        return;
    CFont font;
    if (m_haveFont)
        font.CreateFontIndirect(m_font);
    HGDIOBJ chosen = font.GetSafeHandle();
    if (!chosen)
        chosen = reinterpret_cast<HGDIOBJ>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    if (!chosen)
        chosen = ::GetStockObject(DEFAULT_GUI_FONT);
    CSelectObject selectedFont(dc, chosen);

    const QorStaticTextSettings& s = m_settings;
    const UINT format = DT_NOPREFIX | DT_WORDBREAK | DT_NOCLIP | (s.centerHorizontally ? DT_CENTER : DT_LEFT);
    RECT area = client;
    ::OffsetRect(&area, s.xOffset, s.yOffset);
    if (s.centerVertically) {
        RECT measure = area;
        ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measure, format | DT_CALCRECT);
        ::OffsetRect(&area, 0, (client.bottom - (measure.bottom - measure.top)) / 2);
    }
    const bool enabled = m_showEnabled && ::IsWindowEnabled(m_hWnd);
    const COLORREF* colours = enabled ? s.textColor : s.disabledTextColor;
    ::SetBkMode(dc, TRANSPARENT);
    if (s.threeD) {
        const int hiliteShift = s.indented ? -1 : 1;
        if (s.useHilite)
            TextAt(dc, text, area, hiliteShift, hiliteShift, format, colours[2]);
        if (s.useShadow)
            TextAt(dc, text, area, -hiliteShift, -hiliteShift, format, colours[1]);
    }
    TextAt(dc, text, area, 0, 0, format, colours[0]);
}

void EQorTransparentStatic::Paint(HDC dc)
{
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    // Composed off-screen so that the text never flickers over a bare face.
    CDC memory;
    CBitmap canvas;
    if (!memory.CreateCompatibleDC(dc) || !canvas.CreateDIBSection32(client.right, client.bottom)) {
        PaintBackground(dc);
        DrawCaption(dc, client);
        return;
    }
    CSelectObject intoCanvas(memory, canvas.GetSafeHandle());
    PaintBackground(memory);
    DrawCaption(memory, client);
    if (m_highlighted && skelda::EngineState().allowEditingGraphics) {
        CBrush frame;
        if (frame.CreateSolidBrush(kHighlightColour))
            ::FrameRect(memory, &client, frame);
    }
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
}

LRESULT EQorTransparentStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT opened = 0;
    if (OpenWindowProc(message, &opened, [&] { return CStatic::WindowProc(message, wParam, lParam); }))
        return opened;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = ::BeginPaint(m_hWnd, &paint);
        Paint(dc);
        ::EndPaint(m_hWnd, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        PaintBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_NCPAINT:
        if (!HasNonClientArea(m_hWnd))
            return 0;
        return CStatic::WindowProc(message, wParam, lParam);
    case WM_NCHITTEST:
        // The mouse belongs to the dialog underneath, which passes presses on and drags.
        return HTTRANSPARENT;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if ((::GetWindowLongA(m_hWnd, GWL_STYLE) & SS_NOTIFY) && m_controlId > 0)
            ::PostMessageA(::GetParent(m_hWnd), WM_COMMAND,
                           MAKEWPARAM(m_controlId, message == WM_LBUTTONDOWN ? STN_CLICKED : STN_DBLCLK),
                           reinterpret_cast<LPARAM>(m_hWnd));
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (position && (position->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
            // Another part of the face lies under it now; the system would only move the
            // old picture along.
            m_face.DeleteObject();
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        return CStatic::WindowProc(message, wParam, lParam);
    }
    case WM_SETTEXT: {
        // The system static would paint its own text at once; store the text and paint ours.
        const LRESULT result = ::DefWindowProcA(m_hWnd, message, wParam, lParam);
        Redraw();
        return result;
    }
    case WM_ENABLE:
        Redraw();
        return 0;
    case WM_DESTROY:
        // A dialog shown again gives the static its face anew.
        m_face.DeleteObject();
        return CStatic::WindowProc(message, wParam, lParam);
    default:
        return CStatic::WindowProc(message, wParam, lParam);
    }
}
