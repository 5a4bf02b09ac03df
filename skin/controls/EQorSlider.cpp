// Skinned slider: loading its bitmaps, painting off-screen, click to position and the switched
// up/down keys.
#include "EQorSlider.h"

#include "EBitmapUtilities.h"
#include "GraphicsEngineState.h"
#include "SkinFileModel.h"
#include "WindowClasses.h"

using skelda::EngineState;
namespace skinfile = skelda::skinfile;

namespace {

const char* const kSlotAttributes[EQorSlider::kSlots] = {
    "ThumbUpBitmapFile", "ThumbDownBitmapFile", "ThumbFocusBitmapFile", "ThumbDisabledBitmapFile",
    "BackgroundBitmapFile", "BackgroundLeftBitmapFile", "ThumbShadowBitmapFile"};

// Extra room around the window in the off-screen picture, so offset shadows never clip.
constexpr int kMargin = 5;

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof(info), &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

WPARAM SwitchedKey(WPARAM key)
{
    switch (key) {
    case VK_PRIOR: return VK_NEXT;
    case VK_NEXT: return VK_PRIOR;
    case VK_UP: return VK_DOWN;
    case VK_DOWN: return VK_UP;
    default: return key;
    }
}

void Draw(HDC target, HDC memory, HBITMAP bitmap, int x, int y, int width = -1, int height = -1)
{
    if (!bitmap)
        return;
    const SIZE size = BitmapSize(bitmap);
    CSelectObject selected(memory, bitmap);
    ::BitBlt(target, x, y, width < 0 ? size.cx : width, height < 0 ? size.cy : height, memory,
             0, height < 0 ? 0 : size.cy - height, SRCCOPY);
}

}  // namespace

EQorSlider::EQorSlider() : EQorControlCommon(this, eQorSlider) {}
EQorSlider::~EQorSlider() = default;

LONG STDMETHODCALLTYPE EQorSlider::LoadQorControlData(IXMLDOMNode* dialogElement)
{
    win::ComPtr<IXMLDOMNode> element;
    Placement placement;
    if (!ReadPlacement(dialogElement, {"ControlWidth", "ControlHeight"}, &element, &placement))
        return E_FAIL;
    skinfile::ReadInt(element.Get(), "ThumbShadowLeftOffset", &m_shadowLeft);
    skinfile::ReadInt(element.Get(), "ThumbShadowRightOffset", &m_shadowRight);
    skinfile::ReadInt(element.Get(), "ThumbTopOffset", &m_thumbTop);
    skinfile::ReadBool(element.Get(), "PositionToHitPoint", &m_positionToHit);
    const skinfile::PathContext paths{EngineState().parentFolder, EngineState().bitmapModule != nullptr};
    for (int slot = 0; slot < kSlots; ++slot) {
        m_bitmaps[slot].DeleteObject();
        std::string path;
        if (skinfile::ReadText(element.Get(), kSlotAttributes[slot], &path) &&
            skinfile::ResolveStoredPath(paths.parentFolder, paths.usingResource, &path))
            LoadNewBitmapFile(path, slot);
    }
    ApplyPlacement(placement);
    return 0;
}

LONG STDMETHODCALLTYPE EQorSlider::WriteGraphicsEditChangesToXMLObject()
{
    win::ComPtr<IXMLDOMNode> element;
    return WritePlacement({"ControlWidth", "ControlHeight"}, &element) ? 0 : E_FAIL;
}

LONG STDMETHODCALLTYPE EQorSlider::AddNewQorControl(IXMLDOMNode* dialogElement, int controlId)
{
    return AppendOwnElement(dialogElement, "QorSliderControl", controlId, {"ControlWidth", "ControlHeight"}) ? 0
                                                                                                             : E_FAIL;
}

void EQorSlider::PreSubclassWindow()
{
    CSliderCtrl::PreSubclassWindow();
    WindowCreated();
    RegisterWithParent(::GetDlgCtrlID(m_hWnd));
}

void EQorSlider::WindowCreated()
{
    skelda::RegisterSliderWindowClass(m_hWnd);
}

void EQorSlider::SetRange(int minimum, int maximum)
{
    CSliderCtrl::SetRange(minimum, maximum, TRUE);
}

bool EQorSlider::LoadNewBitmapFile(const std::string& path, int slot)
{
    if (slot < 0 || slot >= kSlots)
        return false;
    HBITMAP bitmap = nullptr;
    if (path.empty() || !EBitmapUtilities::LoadDibSectionFromFile(path, &bitmap)) {
        m_bitmaps[slot].DeleteObject();
        return false;
    }
    m_bitmaps[slot].Attach(bitmap);
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return true;
}

HBITMAP EQorSlider::SlotBitmap(int slot) const
{
    return slot >= 0 && slot < kSlots ? m_bitmaps[slot].GetSafeHandle() : nullptr;
}

bool EQorSlider::Vertical() const
{
    return m_hWnd && (::GetWindowLongA(m_hWnd, GWL_STYLE) & TBS_VERT) != 0;
}

int EQorSlider::ThumbState() const
{
    if (!::IsWindowEnabled(m_hWnd))
        return kThumbDisabled;
    if (::GetCapture() == m_hWnd)
        return kThumbDown;
    return ::GetFocus() == m_hWnd ? kThumbFocus : kThumbUp;
}

RECT EQorSlider::ThumbPaintRect() const
{
    RECT thumb{};
    GetThumbRect(&thumb);
    HBITMAP bitmap = m_bitmaps[ThumbState()].GetSafeHandle() ? m_bitmaps[ThumbState()].GetSafeHandle()
                                                             : m_bitmaps[kThumbUp].GetSafeHandle();
    const SIZE size = BitmapSize(bitmap);
    if (thumb.right - thumb.left < size.cx)
        thumb.right = thumb.left + size.cx;
    if (thumb.bottom - thumb.top < size.cy)
        thumb.bottom = thumb.top + size.cy;
    if (Vertical())
        ::OffsetRect(&thumb, m_thumbTop - thumb.left, 0);
    else
        ::OffsetRect(&thumb, 0, m_thumbTop - thumb.top);
    return thumb;
}

void EQorSlider::Paint(HDC dc)
{
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    // The picture reaches kMargin pixels past every edge and its origin sits kMargin pixels in,
    // so a shadow or thumb placed partly outside the window is drawn whole and then clipped.
    const int width = client.right + 2 * kMargin, height = client.bottom + 2 * kMargin;
    CDC picture, source;
    CBitmap canvas;
    if (!picture.CreateCompatibleDC(dc) || !source.CreateCompatibleDC(dc) ||
        !canvas.CreateDIBSection32(width, height))
        return;
    CSelectObject selectedCanvas(picture, canvas);
    const RECT whole{0, 0, width, height};
    ::FillRect(picture, &whole, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetViewportOrgEx(picture, kMargin, kMargin, nullptr);
    Draw(picture, source, m_bitmaps[kChannel], 0, 0);

    int minimum = 0, maximum = 0;
    GetRange(minimum, maximum);
    const double share = maximum > minimum ? double(GetPos() - minimum) / (maximum - minimum) : 0.0;
    const RECT thumb = ThumbPaintRect();
    if (HBITMAP left = m_bitmaps[kChannelLeft].GetSafeHandle()) {
        const SIZE size = BitmapSize(left);
        if (Vertical()) {
            const int filled = static_cast<int>(size.cy * share);
            Draw(picture, source, left, 0, size.cy - filled, size.cx, filled);
        } else {
            Draw(picture, source, left, 0, 0, (thumb.left + thumb.right) / 2, size.cy);
        }
    }
    // The thumb rectangle already holds the top offset; the shadow is shifted across by its
    // left offset and down by its right one.
    Draw(picture, source, m_bitmaps[kThumbShadow], thumb.left + m_shadowLeft, thumb.top + m_shadowRight);
    const int state = ThumbState();
    Draw(picture, source, m_bitmaps[state] ? m_bitmaps[state] : m_bitmaps[kThumbUp], thumb.left, thumb.top);
    ::SetViewportOrgEx(picture, 0, 0, nullptr);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, picture, kMargin, kMargin, SRCCOPY);
}

void EQorSlider::MoveThumb(POINT point)
{
    RECT channel{};
    GetChannelRect(&channel);
    int minimum = 0, maximum = 0;
    GetRange(minimum, maximum);
    const bool vertical = Vertical();
    const int from = vertical ? channel.top : channel.left, to = vertical ? channel.bottom : channel.right;
    const int at = vertical ? point.y : point.x;
    if (to <= from)
        return;
    const int clamped = at < from ? from : (at > to ? to : at);
    SetPos(minimum + MulDiv(clamped - from, maximum - minimum, to - from));
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessageA(parent, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, GetPos()),
                       reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT EQorSlider::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT opened = 0;
    if (OpenWindowProc(message, &opened, [&] { return CSliderCtrl::WindowProc(message, wParam, lParam); }))
        return opened;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = ::BeginPaint(m_hWnd, &paint);
        Paint(dc);
        ::EndPaint(m_hWnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN: {
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const RECT thumb = ThumbPaintRect();
        if (m_positionToHit && !::PtInRect(&thumb, point))
            MoveThumb(point);
        break;
    }
    case WM_KEYDOWN:
        // The key handler of the base class passes the message as it arrived, so a switched
        // key goes straight to the system slider.
        if (m_switchKeys && !Vertical())
            return DefWindowProc(message, SwitchedKey(wParam), lParam);
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_CAPTURECHANGED:
    case WM_ENABLE:
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        break;
    default:
        break;
    }
    return CSliderCtrl::WindowProc(message, wParam, lParam);
}
