// The generic kinds' shared logic: registration, placement from the skin file, caption,
// colours and font from the text file, and their control interface.
#include "EQorGenericControls.h"

#include "EQorDialog.h"
#include "GenericControlData.h"
#include "GraphicsEngineState.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"

using skelda::EngineState;
using skelda::controls::GenericControlData;
namespace skinfile = skelda::skinfile;

EQorGenericControlImpl::EQorGenericControlImpl(CWnd* window, eControlType type) : EQorControlCommon(window, type) {}

EQorGenericControlImpl::~EQorGenericControlImpl() = default;

LONG STDMETHODCALLTYPE EQorGenericControlImpl::LoadQorControlData(IXMLDOMNode* dialogElement)
{
    const HWND window = m_window->GetSafeHwnd();
    // A control created rather than bound had no id yet when it was subclassed.
    if (window && m_controlId < 1)
        m_controlId = ::GetDlgCtrlID(window);
    win::ComPtr<IXMLDOMNode> element;
    if (!window || m_controlId < 1 || !dialogElement ||
        !skinfile::FindControlById(dialogElement, m_controlId, &element))
        return E_FAIL;
    GenericControlData data;
    skelda::controls::ReadGenericControl(element.Get(), &data);
    m_visible = data.visible;
    m_childControlId = data.childControlId;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!data.hasPosition)
        flags |= SWP_NOMOVE;
    if (!data.hasSize)
        flags |= SWP_NOSIZE;
    ::SetWindowPos(window, nullptr, data.x, data.y, data.width, data.height, flags);
    RECT rect{};
    GetQorRect(&rect);
    m_x = data.hasPosition ? data.x : rect.left;
    m_y = data.hasPosition ? data.y : rect.top;
    LoadTextValues();
    Placed();
    return 0;
}

void EQorGenericControlImpl::LoadTextValues()
{
    const HWND window = m_window->GetSafeHwnd();
    auto& text = EngineState().text;
    const int dialogId = ParentDialogId();
    m_caption.clear();
    // A missing entry or value is not an error: the control keeps the system's look for it.
    if (text.GetControlCaptionText(dialogId, m_controlId, &m_caption) && !m_caption.empty())
        ::SetWindowTextA(window, m_caption.c_str());
    m_hasTextColour = text.GetMainTextColor(dialogId, m_controlId, &m_textColour);
    m_hasBackgroundColour = text.GetBackgroundColor(dialogId, m_controlId, &m_backgroundColour);
    LOGFONTA logFont{};
    CFont font;
    if (text.GetFontInfo(dialogId, m_controlId, &logFont) && font.CreateFontIndirect(logFont)) {
        // The window lets go of the old font before it is deleted.
        ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
        m_font = std::move(font);
    }
    ApplyTextColours();
}

namespace {

GenericControlData CurrentData(const RECT& rect, bool visible, int childControlId)
{
    GenericControlData data;
    data.x = rect.left;
    data.y = rect.top;
    data.width = rect.right - rect.left;
    data.height = rect.bottom - rect.top;
    data.hasPosition = data.hasSize = true;
    data.visible = visible;
    data.childControlId = childControlId;
    return data;
}

}  // namespace

LONG STDMETHODCALLTYPE EQorGenericControlImpl::AddNewQorControl(IXMLDOMNode* dialogElement, int controlId)
{
    win::ComPtr<IXMLDOMNode> element;
    RECT rect{};
    if (!dialogElement || GetQorRect(&rect) != 0 ||
        !qorxml::AppendChildElement(dialogElement, "QorGenericControl", &element))
        return E_FAIL;
    const GenericControlData data = CurrentData(rect, m_visible, m_childControlId);
    return skelda::controls::WriteGenericControl(element.Get(), m_type, controlId, data) ? 0 : E_FAIL;
}

LONG STDMETHODCALLTYPE EQorGenericControlImpl::WriteGraphicsEditChangesToXMLObject()
{
    EQorDialog* dialog = ParentDialog();
    win::ComPtr<IXMLDOMNode> element;
    RECT rect{};
    if (!dialog || !dialog->GetDlgRootNode() || GetQorRect(&rect) != 0 ||
        !skinfile::FindControlById(dialog->GetDlgRootNode(), m_controlId, &element))
        return E_FAIL;
    const GenericControlData data = CurrentData(rect, m_visible, m_childControlId);
    return skelda::controls::WriteGenericControl(element.Get(), m_type, m_controlId, data) ? 0 : E_FAIL;
}
