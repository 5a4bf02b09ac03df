// Skinned edit: registration, placement from the skin file, colours from the text file and its
// two background styles.
#include "EQorEdit.h"

#include "EBitmapUtilities.h"
#include "EGERegistryMgr_API.h"
#include "GraphicsEngineState.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"

using skelda::EngineState;
namespace skinfile = skelda::skinfile;

EQorEdit::EQorEdit() : EQorControlCommon(this, eQorEdit) {}
EQorEdit::~EQorEdit() = default;

LONG STDMETHODCALLTYPE EQorEdit::LoadQorControlData(IXMLDOMNode* dialogElement)
{
    win::ComPtr<IXMLDOMNode> element;
    Placement placement;
    // The edit alone keeps its size under these names.
    if (!ReadPlacement(dialogElement, {"Width", "Height"}, &element, &placement))
        return E_FAIL;
    int style = m_backgroundStyle;
    if (skinfile::ReadInt(element.Get(), "BackgroundStyle", &style) && (style == 0 || style == 2))
        m_backgroundStyle = style;
    int colour = 0;
    if (skinfile::ReadInt(element.Get(), "BackgroundColor", &colour))
        SetBackgroundColor(static_cast<COLORREF>(colour));
    // The skin draws the frame, or none: the template's own frame would sit outside it.
    bool border = false;
    skinfile::ReadBool(element.Get(), "DrawBorder", &border);
    m_drawBorder = border;
    if (m_hWnd) {
        const LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
        const LONG_PTR exStyle = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_BORDER));
        ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE,
                            exStyle & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE));
    }
    FrameChanged();
    std::string bitmapFile;
    if (qorxml::GetAttribute(element.Get(), "BackgroundBitmapFile", &bitmapFile) && !bitmapFile.empty() &&
        skinfile::ResolveStoredPath(EngineState().parentFolder, EngineState().bitmapModule != nullptr, &bitmapFile))
        SetBackgroundBitmapFile(bitmapFile);

    auto& text = EngineState().text;
    const int dialogId = ParentDialogId();
    QorEditTextSettings settings;
    if (text.GetEditCtrlInfo(dialogId, m_controlId, &settings))
        SetTextColors(settings.textColor, settings.disabledTextColor);
    // The reading stops at the first missing value; a flag read before it still counts.
    SetCenterTextVertically(settings.centerVertically);
    LOGFONTA font{};
    if (text.GetFontInfo(dialogId, m_controlId, &font))
        SetFontIndirect(font);
    ApplyPlacement(placement);
    return 0;
}

LONG STDMETHODCALLTYPE EQorEdit::WriteGraphicsEditChangesToXMLObject()
{
    win::ComPtr<IXMLDOMNode> element;
    if (!WritePlacement({"Width", "Height"}, &element))
        return E_FAIL;
    // The bitmap is stored as the skin names its files: relative to the skin folder.
    std::string stored = m_backgroundBitmapFile;
    EGERegistryMgr_API::SetProperPathForStoringFilepath(EngineState().parentFolder, &stored);
    const bool written =
        qorxml::SetAttribute(element.Get(), "BackgroundStyle", std::to_string(m_backgroundStyle)) &&
        qorxml::SetAttribute(element.Get(), "BackgroundColor", std::to_string(m_background)) &&
        qorxml::SetAttribute(element.Get(), "BackgroundBitmapFile", stored) &&
        qorxml::SetAttribute(element.Get(), "DrawBorder", m_drawBorder ? "1" : "0");
    return written ? 0 : E_FAIL;
}

LONG STDMETHODCALLTYPE EQorEdit::AddNewQorControl(IXMLDOMNode* dialogElement, int controlId)
{
    win::ComPtr<IXMLDOMNode> element;
    // The edit alone keeps its size under these names.
    const bool written =
        AppendOwnElement(dialogElement, "QorEditControl", controlId, {"Width", "Height"}, &element) &&
        qorxml::SetAttribute(element.Get(), "BackgroundStyle", std::to_string(m_backgroundStyle)) &&
        qorxml::SetAttribute(element.Get(), "BackgroundColor", std::to_string(m_background));
    return written ? 0 : E_FAIL;
}

void EQorEdit::PreSubclassWindow()
{
    CEdit::PreSubclassWindow();
    RegisterWithParent(::GetDlgCtrlID(m_hWnd));
}

void EQorEdit::SetQorEditEnabled(bool enabled)
{
    m_enabled = enabled;
    if (m_hWnd) {
        ::EnableWindow(m_hWnd, enabled);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

bool EQorEdit::SetBackgroundStyle(int style)
{
    if (style != 0 && style != 2)
        return false;
    if (style == m_backgroundStyle)
        return true;
    m_backgroundStyle = style;
    InvalidateUnderneath(0);
    return true;
}

void EQorEdit::SetBackgroundColor(COLORREF colour)
{
    m_background = colour;
    m_backgroundBrush.DeleteObject();
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void EQorEdit::SetTextColors(COLORREF text, COLORREF disabledText)
{
    m_text = text;
    m_disabledText = disabledText;
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void EQorEdit::SetFontIndirect(const LOGFONTA& font)
{
    CFont made;
    if (!made.CreateFontIndirect(font))
        return;
    m_font = std::move(made);
    if (m_hWnd)
        ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
}

HBRUSH EQorEdit::CtlColor(HDC dc, UINT)
{
    ::SetTextColor(dc, m_hWnd && ::IsWindowEnabled(m_hWnd) ? m_text : m_disabledText);
    ::SetBkMode(dc, TRANSPARENT);
    if (m_backgroundStyle == 2)
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    ::SetBkColor(dc, m_background);
    return SolidBackgroundBrush();
}

HBRUSH EQorEdit::SolidBackgroundBrush()
{
    if (m_backgroundPattern.GetSafeHandle())
        return m_backgroundPattern.GetSafeHandle();
    if (!m_backgroundBrush.GetSafeHandle())
        m_backgroundBrush.CreateSolidBrush(m_background);
    return m_backgroundBrush.GetSafeHandle();
}

bool EQorEdit::SetBackgroundBitmapFile(const std::string& path)
{
    if (path.empty()) {
        m_backgroundPattern.DeleteObject();
        m_backgroundBitmap.DeleteObject();
        m_backgroundBitmapFile.clear();
    } else {
        HBITMAP loaded = nullptr;
        if (!EBitmapUtilities::LoadDibSectionFromFile(path, &loaded))
            return false;
        CBitmap bitmap(loaded);
        HBRUSH pattern = ::CreatePatternBrush(bitmap);
        if (!pattern)
            return false;
        m_backgroundPattern.Attach(pattern);
        m_backgroundBitmap = std::move(bitmap);
        m_backgroundBitmapFile = path;
    }
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
    return true;
}

void EQorEdit::SetDrawBorder(bool draw)
{
    if (draw == m_drawBorder)
        return;
    m_drawBorder = draw;
    FrameChanged();
}

void EQorEdit::InvalidateUnderneath(int margin)
{
    if (!m_hWnd)
        return;
    RECT rect{};
    GetQorRect(&rect);
    ::InflateRect(&rect, margin, margin);
    ::InvalidateRect(::GetParent(m_hWnd), &rect, TRUE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}
