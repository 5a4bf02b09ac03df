// Skinned edit: registration, placement from the skin file, colours from the text file and its
// two background styles.
#include "EQorEdit.h"

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
    if (!m_backgroundBrush.GetSafeHandle())
        m_backgroundBrush.CreateSolidBrush(m_background);
    ::SetBkColor(dc, m_background);
    return m_backgroundBrush.GetSafeHandle();
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
