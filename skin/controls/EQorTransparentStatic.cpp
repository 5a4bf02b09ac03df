// Transparent static: its control interface, registration with the dialog, loading from the
// skin and text files and its public settings.
#include "EQorTransparentStatic.h"

#include "GraphicsEngineState.h"
#include "ParentFace.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"

using skelda::EngineState;
namespace skinfile = skelda::skinfile;

EQorTransparentStatic::EQorTransparentStatic() : EQorControlCommon(this, eQorTransparentStatic) {}
EQorTransparentStatic::~EQorTransparentStatic() = default;

LONG STDMETHODCALLTYPE EQorTransparentStatic::LoadQorControlData(IXMLDOMNode* dialogElement)
{
    win::ComPtr<IXMLDOMNode> element;
    Placement placement;
    if (!ReadPlacement(dialogElement, {"ControlWidth", "ControlHeight"}, &element, &placement))
        return E_FAIL;
    // A static given no area keeps the one of its template.
    placement.sized = placement.sized && placement.width > 0 && placement.height > 0;
    // The skin's own colour stands until the text file gives one.
    m_settings = QorStaticTextSettings{};
    int colour = 0;
    if (skinfile::ReadInt(element.Get(), "TextColor", &colour))
        m_settings.textColor[0] = static_cast<COLORREF>(colour);
    LoadTextSettings();
    ApplyPlacement(placement);
    // The face under it is cut from the dialog's when it is first painted: a static of a page
    // not shown yet costs nothing until then.
    m_face.DeleteObject();
    Redraw();
    return 0;
}

bool EQorTransparentStatic::LoadTextSettings()
{
    auto& text = EngineState().text;
    const int dialogId = ParentDialogId();
    bool usesTemplate = false;
    std::string templateName;
    bool read = false;
    if (text.IsControlUsingTemplate(dialogId, m_controlId, &usesTemplate, &templateName) && usesTemplate) {
        read = text.GetStaticTemplateInfo(templateName, &m_settings);
        m_haveFont = text.GetTemplateLogFontInfo(QorStaticTemplateKind, templateName, &m_font);
    } else {
        read = text.GetStaticCtrlInfo(dialogId, m_controlId, &m_settings);
        m_haveFont = text.GetFontInfo(dialogId, m_controlId, &m_font);
    }
    std::string caption;
    if (text.GetControlCaptionText(dialogId, m_controlId, &caption) && m_hWnd)
        ::SetWindowTextA(m_hWnd, caption.c_str());
    return read;
}

LONG STDMETHODCALLTYPE EQorTransparentStatic::WriteGraphicsEditChangesToXMLObject()
{
    win::ComPtr<IXMLDOMNode> element;
    return WritePlacement({"ControlWidth", "ControlHeight"}, &element) ? 0 : E_FAIL;
}

LONG STDMETHODCALLTYPE EQorTransparentStatic::AddNewQorControl(IXMLDOMNode* dialogElement, int controlId)
{
    win::ComPtr<IXMLDOMNode> element;
    RECT rect{};
    const bool written =
        AppendOwnElement(dialogElement, "QorTransStaticControl", controlId, {"ControlWidth", "ControlHeight"},
                         &element, &rect) &&
        qorxml::SetAttribute(element.Get(), "TextColor", std::to_string(m_settings.textColor[0]));
    if (written) {
        m_x = rect.left;
        m_y = rect.top;
    }
    return written ? 0 : E_FAIL;
}

void EQorTransparentStatic::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    RegisterWithParent(::GetDlgCtrlID(m_hWnd));
}

LONG STDMETHODCALLTYPE EQorTransparentStatic::ReloadQorBackground()
{
    return ReloadPartialBitmap() ? 0 : E_FAIL;
}

void EQorTransparentStatic::SetTextColor(COLORREF colour)
{
    m_settings.textColor[0] = colour;
    Redraw();
}

void EQorTransparentStatic::SetTextXOffset(int x)
{
    m_settings.xOffset = x;
    Redraw();
}

void EQorTransparentStatic::SetTextYOffset(int y)
{
    m_settings.yOffset = y;
    Redraw();
}

void EQorTransparentStatic::ShowTextEnabled(bool enabled)
{
    m_showEnabled = enabled;
    Redraw();
}

void EQorTransparentStatic::SetText3DHiliteColor(COLORREF colour)
{
    m_settings.textColor[2] = colour;
    Redraw();
}

void EQorTransparentStatic::HighlightControl(bool highlight)
{
    m_highlighted = highlight;
    Redraw();
}

bool EQorTransparentStatic::FetchFace()
{
    m_face.Attach(skelda::controls::TakeParentFace(m_hWnd));
    return m_face.GetSafeHandle() != nullptr;
}

bool EQorTransparentStatic::ReloadPartialBitmap()
{
    m_face.DeleteObject();
    const bool fetched = FetchFace();
    Redraw();
    return fetched;
}
