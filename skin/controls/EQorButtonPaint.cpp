// Skinned button painting: the state bitmap, or a plain face when the slot is empty, and the
// caption with its offsets, centring and three-dimensional copies.
#include "EQorButton.h"

#include "ButtonLogic.h"

using namespace skelda::controls;

namespace {

constexpr COLORREF kFaceColour = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kDisabledFaceColour = RGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF kLightColour = RGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF kShadowColour = RGB(0x7F, 0x7F, 0x7F);
constexpr COLORREF kBlack = RGB(0, 0, 0);

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    CBrush brush;
    if (brush.CreateSolidBrush(colour))
        ::FillRect(dc, &rect, brush);
}

// A one-pixel frame: `topLeft` along the top and left edges, `bottomRight` along the others.
void Frame3D(HDC dc, RECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return;
    FillSolid(dc, {rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
    FillSolid(dc, {rect.left, rect.top, rect.left + 1, rect.bottom - 1}, topLeft);
    FillSolid(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
    FillSolid(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
}

// Every second pixel along the four edges of `rect`.
void DottedFrame(HDC dc, const RECT& rect)
{
    for (int x = rect.left; x < rect.right; x += 2) {
        ::SetPixelV(dc, x, rect.top, kBlack);
        ::SetPixelV(dc, x, rect.bottom - 1, kBlack);
    }
    for (int y = rect.top; y < rect.bottom; y += 2) {
        ::SetPixelV(dc, rect.left, y, kBlack);
        ::SetPixelV(dc, rect.right - 1, y, kBlack);
    }
}

// The screen's resolution, asked once: every question about the screen costs the system a
// check of its display devices (under Wine, three round trips to its server).
int ScreenPixelsPerInch()
{
    static const int pixelsPerInch = [] {
        const HDC screen = ::GetDC(nullptr);
        const int value = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        return value;
    }();
    return pixelsPerInch;
}

RECT Inset(RECT rect, int by)
{
    ::InflateRect(&rect, -by, -by);
    return rect;
}

}  // namespace

void EQorButton::Repaint()
{
    if (!m_hWnd || !::IsWindowVisible(m_hWnd))
        return;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::UpdateWindow(m_hWnd);
}

void EQorButton::PaintCurrentState(HDC dc)
{
    if (!dc || !m_hWnd)
        return;
    ::SelectClipRgn(dc, nullptr);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    int index = m_logic->BitmapIndex(::IsWindowEnabled(m_hWnd) != FALSE);
    // A menu entry under the mouse shows its focus look, which its check would hide.
    if (m_kind == kMenuRadio && m_logic->State() == kStateFocus && index % 4 == kStateUp)
        index += kStateFocus;
    if (m_kind == kTransparentRadio || m_kind == kMenuRadio) {
        PaintTransparentRadio(dc, client, index);
        return;
    }
    HBITMAP bitmap = StateBitmap(index);
    if (!bitmap) {
        PaintPlainFace(dc, client);
        return;
    }
    CDC memory;
    if (memory.CreateCompatibleDC(dc)) {
        BITMAP info{};
        ::GetObjectA(bitmap, sizeof(info), &info);
        CSelectObject selected(memory, bitmap);
        ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    }
    if (!m_caption.empty())
        DrawStateText(dc, index);
}

// The face of a button without a bitmap for its current look: grey, framed by its state, with
// the caption in the system's small dialog font.
void EQorButton::PaintPlainFace(HDC dc, const RECT& client)
{
    const bool enabled = ::IsWindowEnabled(m_hWnd) != FALSE;
    const int state = m_logic->State();
    FillSolid(dc, client, state == kStateDisabled ? kDisabledFaceColour : kFaceColour);

    const bool down = enabled && state == kStateDown;
    const bool focus = enabled && state == kStateFocus;
    if (down) {
        Frame3D(dc, client, kBlack, kShadowColour);
    } else if (focus) {
        Frame3D(dc, client, kBlack, kBlack);
        Frame3D(dc, Inset(client, 1), kBlack, kLightColour);
    } else {
        Frame3D(dc, client, kLightColour, kFaceColour);
    }
    if (down || focus)
        DottedFrame(dc, Inset(client, 3));

    if (m_caption.empty())
        return;
    LOGFONTA logFont{};
    logFont.lfHeight = -::MulDiv(8, ScreenPixelsPerInch(), 72);
    lstrcpynA(logFont.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    CFont font;
    font.CreateFontIndirect(logFont);
    CSelectObject selectedFont(dc, font.GetSafeHandle());
    ::SetBkMode(dc, TRANSPARENT);
    RECT textRect = client;
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    if (down)
        ::OffsetRect(&textRect, 1, 1);
    // The caption takes the colour the text file gives its state, as on a bitmap face; a
    // button whose colours the text file does not give keeps the system's black and greyed look.
    const int textState = enabled ? TextState(state) : kStateDisabled;
    if (textState != kStateDisabled) {
        ::SetTextColor(dc, m_haveTextColours ? MainTextColour(textState) : kBlack);
        ::DrawTextA(dc, m_caption.c_str(), -1, &textRect, format);
    } else {
        RECT embossed = textRect;
        ::OffsetRect(&embossed, 1, 1);
        ::SetTextColor(dc, kLightColour);
        ::DrawTextA(dc, m_caption.c_str(), -1, &embossed, format);
        ::SetTextColor(dc, m_haveTextColours ? MainTextColour(kStateDisabled) : kShadowColour);
        ::DrawTextA(dc, m_caption.c_str(), -1, &textRect, format);
    }
}

int EQorButton::TextState(int index) const
{
    // A disabled check box or radio button may show its checked picture; its caption still greys.
    if ((m_logic->IsCheckBox() || m_logic->IsRadio()) && m_hWnd && !::IsWindowEnabled(m_hWnd))
        return kStateDisabled;
    const int state = index % 4;
    // A checked menu radio button shows as pressed until it has the focus look.
    if (m_kind == kMenuRadio && m_logic->Checked() && state != kStateFocus)
        return kStateDown;
    return state;
}

COLORREF EQorButton::MainTextColour(int state) const
{
    const COLORREF* colours[4] = {m_colors.text, m_colors.down, m_colors.focus, m_colors.disabled};
    return colours[state][0];
}

HGDIOBJ EQorButton::CaptionFont(CFont& font) const
{
    if (m_haveFont)
        font.CreateFontIndirect(m_font);
    return font.GetSafeHandle() ? static_cast<HGDIOBJ>(font.GetSafeHandle()) : ::GetStockObject(DEFAULT_GUI_FONT);
}

void EQorButton::DrawStateText(HDC dc, int index)
{
    const int state = TextState(index);
    const QorButtonTextSettings& s = m_textSettings;
    const int xOffsets[4] = {s.xOffsetUp, s.xOffsetDown, s.xOffsetFocus, s.xOffsetDisabled};
    const int yOffsets[4] = {s.yOffsetUp, s.yOffsetDown, s.yOffsetFocus, s.yOffsetDisabled};

    CFont font;
    CSelectObject selectedFont(dc, CaptionFont(font));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, m_caption.c_str(), static_cast<int>(m_caption.size()), &extent);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    int x = xOffsets[state], y = yOffsets[state];
    if (s.centerHorizontally)
        x += (client.right - extent.cx) / 2;
    if (s.centerVertically)
        y += (client.bottom - extent.cy) / 2;
    DrawCaptionAt(dc, state, x, y);
}

// The caption at (x, y) in the state's colours, with its three-dimensional copies; the font
// is already selected.
void EQorButton::DrawCaptionAt(HDC dc, int state, int x, int y)
{
    const QorButtonTextSettings& s = m_textSettings;
    const COLORREF* colours[4] = {m_colors.text, m_colors.down, m_colors.focus, m_colors.disabled};
    ::SetBkMode(dc, TRANSPARENT);
    const char* text = m_caption.c_str();
    const int length = static_cast<int>(m_caption.size());
    if (s.threeD) {
        const int hiliteShift = s.indented ? -1 : 1;
        if (s.useHilite) {
            ::SetTextColor(dc, colours[state][2]);
            ::TextOutA(dc, x + hiliteShift, y + hiliteShift, text, length);
        }
        if (s.useShadow) {
            ::SetTextColor(dc, colours[state][1]);
            ::TextOutA(dc, x - hiliteShift, y - hiliteShift, text, length);
        }
    }
    ::SetTextColor(dc, colours[state][0]);
    ::TextOutA(dc, x, y, text, length);
}
