// Skinned button: its control interface, registration with the dialog, loading from the skin
// and text files, state and identity, and positioning.
#include "EQorButton.h"

#include "ButtonLogic.h"
#include "EBitmapUtilities.h"
#include "EQorDialog.h"
#include "GraphicsEngineState.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"

using skelda::EngineState;
using skelda::controls::ButtonLogic;
namespace skinfile = skelda::skinfile;

EQorButton::EQorButton() : EQorButton(kPlain) {}

EQorButton::EQorButton(Kind kind) : m_kind(kind), m_logic(new ButtonLogic) {}

EQorButton::~EQorButton()
{
    delete m_logic;
}

HRESULT STDMETHODCALLTYPE EQorButton::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown)
        return E_NOINTERFACE;
    *out = static_cast<IQorControlCommon*>(this);
    return S_OK;
}

LONG STDMETHODCALLTYPE EQorButton::WriteGraphicsEditChangesToXMLObject()
{
    return 0;
}

LONG STDMETHODCALLTYPE EQorButton::GetCWndPtr(CWnd** window)
{
    if (!window)
        return E_POINTER;
    *window = this;
    return 0;
}

LONG STDMETHODCALLTYPE EQorButton::GetControlClassPointer(void** control)
{
    if (!control)
        return E_POINTER;
    *control = this;
    return 0;
}

LONG STDMETHODCALLTYPE EQorButton::GetQorControlType(eControlType* type)
{
    if (!type)
        return E_POINTER;
    *type = eQorButton;
    return 0;
}

LONG STDMETHODCALLTYPE EQorButton::LoadQorControlData(IXMLDOMNode* dialogElement)
{
    return LoadControlData(dialogElement) ? 0 : E_FAIL;
}

LONG STDMETHODCALLTYPE EQorButton::GetQorRect(RECT* rect)
{
    if (!rect)
        return E_POINTER;
    if (!m_hWnd)
        return E_FAIL;
    ::GetWindowRect(m_hWnd, rect);
    if (HWND parent = ::GetParent(m_hWnd))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(rect), 2);
    return 0;
}

LONG STDMETHODCALLTYPE EQorButton::GetQor_X_Y(int* x, int* y)
{
    if (!x || !y)
        return E_POINTER;
    GetXY(x, y);
    return 0;
}

LONG STDMETHODCALLTYPE EQorButton::GetQor_Height(int* height)
{
    RECT rect{};
    if (!height)
        return E_POINTER;
    const LONG result = GetQorRect(&rect);
    *height = rect.bottom - rect.top;
    return result;
}

LONG STDMETHODCALLTYPE EQorButton::GetQor_Width(int* width)
{
    RECT rect{};
    if (!width)
        return E_POINTER;
    const LONG result = GetQorRect(&rect);
    *width = rect.right - rect.left;
    return result;
}

LONG STDMETHODCALLTYPE EQorButton::GetQor_CtrlIsVisible(BOOL* visible)
{
    if (!visible)
        return E_POINTER;
    *visible = m_visible;
    return 0;
}

LONG STDMETHODCALLTYPE EQorButton::AddNewQorControl(IXMLDOMNode* dialogElement, int controlId)
{
    QorComPtr<IXMLDOMNode> element;
    RECT rect{};
    if (!dialogElement || GetQorRect(&rect) != 0 ||
        !qorxml::AppendChildElement(dialogElement, "QorBtnControl", &element))
        return E_FAIL;
    const bool written = qorxml::SetAttribute(element.Get(), "ControlIdValue", std::to_string(controlId)) &&
                         qorxml::SetAttribute(element.Get(), "ControlXOffset", std::to_string(rect.left)) &&
                         qorxml::SetAttribute(element.Get(), "ControlYOffset", std::to_string(rect.top));
    return written ? 0 : E_FAIL;
}

void EQorButton::SetIsToggleButton(bool toggle)
{
    m_logic->toggle = toggle;
}

void EQorButton::SetHighlightOnMouseOver(bool highlight)
{
    m_logic->highlightOnMouseOver = highlight;
}

void EQorButton::SetUncaptureIfOutOfRegion(bool uncapture)
{
    m_logic->uncaptureIfOutOfRegion = uncapture;
}

void EQorButton::RegisterWithParent(int controlId)
{
    m_controlId = controlId;
    // A window still being created has no id yet; it registers once it exists.
    if (m_registered || !m_hWnd || controlId == 0)
        return;
    auto* dialog = dynamic_cast<EQorDialog*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
    if (dialog)
        m_registered = dialog->AddQorControl(this, controlId, eQorButton, this);
}

void EQorButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    m_logic->SetStyle(static_cast<unsigned>(::GetWindowLongA(m_hWnd, GWL_STYLE)) & 0x0F);
    RegisterWithParent(::GetDlgCtrlID(m_hWnd));
}

bool EQorButton::Initialize(int controlId)
{
    if (!m_hWnd)
        return false;
    m_controlId = controlId;
    if (m_registered)
        return true;
    auto* dialog = dynamic_cast<EQorDialog*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
    m_registered = dialog && dialog->RegisterChildQorControl(controlId, m_hWnd, eQorButton, this);
    return m_registered;
}

bool EQorButton::SetState(int state)
{
    if (m_logic->SetState(state) && m_hWnd && ::IsWindowVisible(m_hWnd))
        Repaint();
    return true;
}

int EQorButton::GetCurrentState() const
{
    return m_logic->State();
}

bool EQorButton::SetIdentity(int identity)
{
    if (!m_logic->SetIdentity(identity))
        return false;
    m_caption = m_captions[identity];
    if (m_hWnd) {
        if (auto* dialog = dynamic_cast<EQorDialog*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd))))
            dialog->SetToolTipText(m_controlId, m_hWnd, m_tooltips[identity]);
        Repaint();
    }
    return true;
}

int EQorButton::CurrIdentity() const
{
    return m_logic->Identity();
}

void EQorButton::SetChecked(bool checked)
{
    if (!m_logic->SetChecked(checked) || !m_hWnd)
        return;
    Repaint();
}

bool EQorButton::GetChecked() const
{
    return m_logic->Checked();
}

HBITMAP EQorButton::StateBitmap(int index) const
{
    return index >= 0 && index < 16 ? m_bitmaps[index].GetSafeHandle() : nullptr;
}

int EQorButton::ParentDialogId() const
{
    auto* dialog = m_hWnd ? dynamic_cast<EQorDialog*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd))) : nullptr;
    return dialog ? dialog->GetDlgResID() : 0;
}

int EQorButton::ElementId() const
{
    return (m_kind == kMsgBoxButton || m_kind == kMenuRadio) ? kSharedControlEntryId : m_controlId;
}

bool EQorButton::LoadTextSettings()
{
    auto& text = EngineState().text;
    const int dialogId = ParentDialogId(), id = ElementId();
    bool usesTemplate = false;
    std::string templateName;
    m_textSettings = QorButtonTextSettings{};
    m_colors = QorTextColors{};
    bool haveColors = false;
    if (text.IsControlUsingTemplate(dialogId, id, &usesTemplate, &templateName) && usesTemplate) {
        text.GetButtonTemplateInfo(templateName, &m_textSettings);
        haveColors = text.GetButtonTemplateTextColors(templateName, &m_colors);
        m_haveFont = text.GetTemplateLogFontInfo(20, templateName, &m_font);
    } else {
        text.GetButtonCtrlInfo(dialogId, id, &m_textSettings);
        // Every button element of the text file carries per-state colours; plain buttons use
        // them as well, so that a down or focus caption can differ from the up one.
        haveColors = text.GetCtrlTextColors(dialogId, id, &m_colors);
        m_haveFont = text.GetFontInfo(dialogId, id, &m_font);
    }
    if (!haveColors) {
        for (int i = 0; i < 3; ++i) {
            m_colors.text[i] = m_colors.down[i] = m_colors.focus[i] = m_textSettings.textColor[i];
            m_colors.disabled[i] = m_textSettings.disabledTextColor[i];
        }
    }
    for (auto& caption : m_captions)
        caption.clear();
    for (auto& tooltip : m_tooltips)
        tooltip.clear();
    // Every kind reads its four identity captions, so that a plain button switched to another
    // identity shows that identity's caption; the single caption stands in when they are absent.
    if (!text.GetButtonControlCaptions(dialogId, id, m_captions)) {
        std::string caption;
        if (text.GetControlCaptionText(dialogId, id, &caption))
            m_captions[0] = caption;
    }
    text.GetButtonControlTooltips(dialogId, id, m_tooltips);
    m_caption = m_captions[m_logic->Identity()];
    return true;
}

bool EQorButton::ReloadTextValues()
{
    const bool loaded = LoadTextSettings();
    Repaint();
    return loaded;
}

bool EQorButton::LoadNewBitmapFile(const std::string& path, int index)
{
    if (index < 0 || index >= 16)
        return false;
    HBITMAP bitmap = nullptr;
    if (path.empty() || !EBitmapUtilities::LoadDibSectionFromFile(path, &bitmap)) {
        m_bitmaps[index].DeleteObject();
        m_data.bitmapFiles[index].clear();
        return false;
    }
    m_bitmaps[index].Attach(bitmap);
    m_data.bitmapFiles[index] = path;
    if (index == 0)
        ApplyPrimaryShape();
    return true;
}

bool EQorButton::ReloadBitmapFilesIfNeeded()
{
    bool all = true;
    for (int i = 0; i < 16; ++i)
        if (!m_data.bitmapFiles[i].empty() && !m_bitmaps[i].GetSafeHandle())
            all = LoadNewBitmapFile(m_data.bitmapFiles[i], i) && all;
    return all;
}

bool EQorButton::LoadControlData(IXMLDOMNode* dialogElement)
{
    const int id = ElementId();
    QorComPtr<IXMLDOMNode> element;
    if (id < 1 || !dialogElement || !skinfile::FindButtonById(dialogElement, id, &element))
        return false;
    LoadTextSettings();
    m_visible = skinfile::ReadControlIsVisible(element.Get());

    const bool transparentRadio = m_kind == kTransparentRadio || m_kind == kMenuRadio;
    skinfile::PathContext paths{EngineState().parentFolder, EngineState().bitmapModule != nullptr};
    m_data = ButtonDataStruct{};
    skinfile::ReadButtonData(element.Get(), [](const std::string& name) { return skelda::FindButtonTemplate(name); },
                             paths, transparentRadio, &m_data);
    m_primaryRegion.DeleteObject();
    for (int i = 0; i < 16; ++i) {
        m_bitmaps[i].DeleteObject();
        HBITMAP bitmap = nullptr;
        if (!m_data.bitmapFiles[i].empty() && EBitmapUtilities::LoadDibSectionFromFile(m_data.bitmapFiles[i], &bitmap))
            m_bitmaps[i].Attach(bitmap);
    }
    if (transparentRadio) {
        // No shape of its own: it keeps its rectangle, sized by the skin when the skin says so.
        m_positionGroup = 1;
        const bool sized = m_data.transparentRadioWidth > 0 && m_data.transparentRadioHeight > 0;
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, m_data.x[0], m_data.y[0], m_data.transparentRadioWidth,
                           m_data.transparentRadioHeight, SWP_NOZORDER | SWP_NOACTIVATE | (sized ? 0 : SWP_NOSIZE));
        Repaint();
        return true;
    }
    LoadTracking(element.Get());
    m_positionGroup = 1;
    ApplyPrimaryShape();
    m_logic->SetState(0);
    Repaint();
    return true;
}

void EQorButton::LoadTracking(IXMLDOMNode* element)
{
    m_trackingOrientation = m_rightOffset = m_bottomOffset = 0;
    QorComPtr<IXMLDOMNode> tracking;
    if (!element || !qorxml::SelectSingle(element, "QorControlTracking", &tracking))
        return;
    skinfile::ReadInt(tracking.Get(), "Orientation", &m_trackingOrientation);
    skinfile::ReadInt(tracking.Get(), "RightOffset", &m_rightOffset);
    skinfile::ReadInt(tracking.Get(), "BottomOffset", &m_bottomOffset);
}

// Sizes the button to its primary bitmap at its current position group and cuts its shape.
void EQorButton::ApplyPrimaryShape()
{
    if (!m_hWnd)
        return;
    const int group = m_positionGroup - 1;
    BITMAP info{};
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!m_bitmaps[0].GetBitmap(&info))
        flags |= SWP_NOSIZE;
    ::SetWindowPos(m_hWnd, nullptr, m_data.x[group], m_data.y[group], info.bmWidth, info.bmHeight, flags);
    m_primaryRegion.DeleteObject();
    if (!m_bitmaps[0].GetSafeHandle())
        return;
    auto* dialog = dynamic_cast<EQorDialog*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
    const COLORREF transparent = dialog ? dialog->GetTransparentColor() : RGB(255, 0, 0);
    m_primaryRegion.Attach(EBitmapUtilities::BuildRegion(m_bitmaps[0], transparent, nullptr, nullptr));
    if (!m_primaryRegion.GetSafeHandle())
        return;
    CRgn windowCopy;
    if (windowCopy.CopyRgn(m_primaryRegion) && ::SetWindowRgn(m_hWnd, windowCopy, TRUE))
        windowCopy.Detach();
}

bool EQorButton::PrimaryBitmapAndRegionSet() const
{
    return m_bitmaps[0].GetSafeHandle() && m_primaryRegion.GetSafeHandle();
}

void EQorButton::ResetPimaryRgn()
{
    ApplyPrimaryShape();
}

void EQorButton::InitWindowRgnFromClientRect()
{
    if (!m_hWnd)
        return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    m_primaryRegion.DeleteObject();
    if (!m_primaryRegion.CreateRectRgnIndirect(client))
        return;
    CRgn windowCopy;
    if (windowCopy.CopyRgn(m_primaryRegion) && ::SetWindowRgn(m_hWnd, windowCopy, TRUE))
        windowCopy.Detach();
}

bool EQorButton::UseAlternateXYPosition(int group)
{
    if (group < 1 || group > 4)
        return false;
    m_positionGroup = group;
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, m_data.x[group - 1], m_data.y[group - 1], 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void EQorButton::MoveWindowOnePixel(UINT direction)
{
    int x = GetCurrentXOffset(), y = GetCurrentYOffset();
    switch (direction) {
    case VK_LEFT: --x; break;
    case VK_RIGHT: ++x; break;
    case VK_UP: --y; break;
    case VK_DOWN: ++y; break;
    default: return;
    }
    SetXY(x, y);
}

void EQorButton::SetWindowRect(const RECT& rect)
{
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void EQorButton::GetXY(int* x, int* y) const
{
    *x = m_data.x[m_positionGroup - 1];
    *y = m_data.y[m_positionGroup - 1];
}

void EQorButton::SetXY(int x, int y)
{
    m_data.x[m_positionGroup - 1] = x;
    m_data.y[m_positionGroup - 1] = y;
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int EQorButton::GetCurrentXOffset() const
{
    return m_data.x[m_positionGroup - 1];
}

void EQorButton::SetCurrentXOffset(int x)
{
    SetXY(x, GetCurrentYOffset());
}

int EQorButton::GetCurrentYOffset() const
{
    return m_data.y[m_positionGroup - 1];
}

void EQorButton::SetCurrentYOffset(int y)
{
    SetXY(GetCurrentXOffset(), y);
}
