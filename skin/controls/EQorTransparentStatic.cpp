// Transparent static: its control interface, registration with the dialog, loading from the
// skin and text files and its public settings.
#include "EQorTransparentStatic.h"

#include "EQorDialog.h"
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
    if (m_controlId < 1 || !dialogElement || !skinfile::FindControlById(dialogElement, m_controlId, &element))
        return E_FAIL;
    skinfile::ReadInt(element.Get(), "ControlXOffset", &m_x);
    skinfile::ReadInt(element.Get(), "ControlYOffset", &m_y);
    int width = 0, height = 0;
    const bool sized = skinfile::ReadInt(element.Get(), "ControlWidth", &width) &&
                       skinfile::ReadInt(element.Get(), "ControlHeight", &height) && width > 0 && height > 0;
    m_visible = skinfile::ReadControlIsVisible(element.Get());
    // The skin's own colour stands until the text file gives one.
    m_settings = QorStaticTextSettings{};
    int colour = 0;
    if (skinfile::ReadInt(element.Get(), "TextColor", &colour))
        m_settings.textColor[0] = static_cast<COLORREF>(colour);
    LoadTextSettings();
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, m_x, m_y, width, height,
                       SWP_NOZORDER | SWP_NOACTIVATE | (sized ? 0 : SWP_NOSIZE));
    ReloadPartialBitmap();
    return 0;
}

bool EQorTransparentStatic::LoadTextSettings()
{
    auto& text = EngineState().text;
    int dialogId = 0;
    if (EQorDialog* dialog = ParentDialog())
        dialogId = dialog->GetDlgResID();
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

void EQorTransparentStatic::RegisterWithParent(int controlId)
{
    m_controlId = controlId;
    // A window still being created has no id yet; it registers once it exists.
    if (!m_registered && m_hWnd && controlId != 0)
        m_registered = AddToParentDialog(controlId);
}

void EQorTransparentStatic::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    RegisterWithParent(::GetDlgCtrlID(m_hWnd));
}

bool EQorTransparentStatic::Initialize(int controlId)
{
    if (!m_hWnd)
        return false;
    m_controlId = controlId;
    if (!m_registered)
        m_registered = AddCreatedToParentDialog(controlId);
    return m_registered;
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
