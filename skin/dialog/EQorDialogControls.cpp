// Skinned dialog: the control table, substitution of the framework's windows, per-control
// initialisation from the skin file, tooltips and the pass-through operations.
#include <windows.h>

#include "DialogMessages.h"
#include "EQorDialog.h"
#include "GraphicsEngineState.h"
#include "ControlIndex.h"
#include "SkinFileModel.h"

using skelda::EngineState;

namespace {

// The framework class a kind of control is substituted by, or null to keep the item.
const char* SubstituteClass(eControlType type)
{
    switch (type) {
    case eQorButton: return "QORBUTTON";
    case eQorTransparentStatic: return "QORSTATIC";
    case eQorSlider: return "QORSLIDER";
    default: return nullptr;
    }
}

// The framework's classes are registered under this library's instance (a slider's class by
// the first skinned slider). Checked before the dialog item is destroyed for its substitute.
bool ClassRegistered(const char* name)
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ClassRegistered), &self);
    WNDCLASSEXA info{};
    info.cbSize = sizeof(info);
    return (self && GetClassInfoExA(self, name, &info)) || GetClassInfoExA(GetModuleHandleA(nullptr), name, &info);
}

// Whether `window` is already of class `name` (made so when its dialog was created).
bool HasClass(HWND window, const char* name)
{
    char className[64] = {};
    return ::GetClassNameA(window, className, sizeof(className)) && lstrcmpiA(className, name) == 0;
}

}  // namespace

bool EQorDialog::RegisterChildQorControl(int controlId, HWND window, eControlType type, IQorControlCommon* control)
{
    if (static_cast<int>(m_controls.size()) >= kMaxControls)
        return false;
    ControlEntry entry;
    entry.id = controlId;
    entry.type = type;
    entry.common = control;
    entry.window = window;
    if (control)
        control->GetCWndPtr(&entry.object);
    m_controls.push_back(entry);
    return true;
}

bool EQorDialog::AddQorControl(CWnd* control, int controlId, eControlType type, IQorControlCommon* common)
{
    if (static_cast<int>(m_controls.size()) >= kMaxControls)
        return false;
    ControlEntry entry;
    entry.id = controlId;
    entry.type = type;
    entry.common = common;
    entry.object = control;
    entry.window = control ? control->GetSafeHwnd() : nullptr;
    m_controls.push_back(entry);
    return true;
}

HWND EQorDialog::GetOneControlHWnd(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_controls.size()))
        return nullptr;
    return m_controls[static_cast<size_t>(index)].window;
}

const EQorDialog::ControlEntry* EQorDialog::FindControl(int controlId) const
{
    for (const auto& entry : m_controls)
        if (entry.id == controlId)
            return &entry;
    return nullptr;
}

const skelda::skinfile::ControlIndex& EQorDialog::ControlElements() const
{
    if (!m_controlIndex)
        m_controlIndex = std::make_shared<skelda::skinfile::ControlIndex>(m_dialogElement.Get());
    return *m_controlIndex;
}

bool EQorDialog::IsControlEntryInScriptFile(int controlId) const
{
    if (ControlElements().Find(controlId, nullptr))
        return true;
    // The message box's buttons and the menu's entries have no element of their own: they
    // all use the shared one.
    return m_sharedEntryMode == 2 && ControlElements().Find(kSharedControlEntryId, nullptr);
}

bool EQorDialog::InitializeAddedControls()
{
    if (m_controlsCreated >= m_controls.size())
        return false;
    return CreateControls(m_controlsCreated);
}

bool EQorDialog::CreateControls(size_t first)
{
    for (size_t index = first; index < m_controls.size(); ++index) {
        ControlEntry& entry = m_controls[index];
        m_controlsCreated = index + 1;
        const char* className = SubstituteClass(entry.type);
        if (className && entry.object && entry.window && IsWindow(entry.window) && !HasClass(entry.window, className) &&
            ClassRegistered(className) && entry.object->CreateInPlaceOfDlgItem(entry.window, className))
            entry.window = entry.object->GetSafeHwnd();
        if (!InitializeControl(entry)) {
            entry.notInitialised = true;
            continue;
        }
        std::string tip;
        if (EngineState().text.GetControlTooltipText(GetDlgResID(), entry.id, &tip) && m_toolTip.GetSafeHwnd())
            m_toolTip.AddTool(entry.window, tip.c_str());
        BOOL visible = TRUE;
        if (entry.common && entry.common->GetQor_CtrlIsVisible(&visible) == 0 && !visible) {
            ::ShowWindow(entry.window, SW_HIDE);
            entry.showState = SW_HIDE;
        }
    }
    return true;
}

bool EQorDialog::AskToAddControlEntry(ControlEntry& entry)
{
    namespace m = skelda::messages;
    const std::string question = std::string(m::kNewControlIntro) + m::kNewControlId + std::to_string(entry.id) +
                                 m::kNewControlType + skelda::skinfile::ControlTypeDisplayName(entry.type) +
                                 m::kNewControlQuestion;
    auto& ui = skelda::EngineUserInterface();
    if (ui.ShowMessage(question, m::kNewControlCaption, MB_YESNO | MB_ICONQUESTION) != IDYES || !entry.common ||
        !m_dialogElement)
        return false;
    const int elementId = m_sharedEntryMode == 2 ? kSharedControlEntryId : entry.id;
    if (entry.common->AddNewQorControl(m_dialogElement.Get(), elementId) != 0)
        return false;
    m_controlIndex.reset();
    ui.ShowMessage(m::kControlAdded, m::kControlAddedCaption, MB_OK | MB_ICONINFORMATION);
    SetDialogDataChanged(true);
    EngineState().graphicsChanged = true;
    return true;
}

bool EQorDialog::InitializeControl(ControlEntry& entry)
{
    if (!entry.window || !IsWindow(entry.window))
        return false;
    if (!IsControlEntryInScriptFile(entry.id))
        return AskToAddControlEntry(entry);
    if (!entry.common)
        return false;
    IXMLDOMNode* element = m_dialogElement.Get();
    switch (entry.type) {
    case eQorButton:
        if (EngineState().graphicsDocument && element)
            entry.common->LoadQorControlData(element);
        return true;
    case eQorTransparentStatic: {
        entry.common->LoadQorControlData(element);
        m_transparentStatics.push_back(entry.id);
        return false;  // no tooltip for transparent statics
    }
    case eQorEdit:
    case eQorSlider:
        return entry.common->LoadQorControlData(element) == 0;
    default:
        if (!IsGenericControlType(entry.type))
            return false;
        entry.common->LoadQorControlData(element);
        if (entry.type == eQorGenericPlacementControl) {
            ::ShowWindow(entry.window, SW_HIDE);
            ::EnableWindow(entry.window, FALSE);
            entry.showState = SW_HIDE;
        }
        return true;
    }
}

void EQorDialog::SetToolTipText(int, HWND control, const std::string& text)
{
    if (!m_toolTip.GetSafeHwnd() || !control)
        return;
    m_toolTip.DelTool(control);
    m_toolTip.AddTool(control, text.c_str());
}

std::string EQorDialog::GetToolTipText(HWND control) const
{
    return m_toolTip.GetSafeHwnd() ? m_toolTip.GetText(control) : std::string();
}

bool EQorDialog::ReloadStaticControlsBackground()
{
    bool all = true;
    for (const auto& entry : m_controls) {
        if (entry.type != eQorTransparentStatic || !entry.window)
            continue;
        if (entry.common)
            all = entry.common->ReloadQorBackground() == 0 && all;
        else
            ::InvalidateRect(entry.window, nullptr, TRUE);
    }
    return all;
}

bool EQorDialog::QorDlg_EnableControl(int controlId, bool enable)
{
    const ControlEntry* entry = FindControl(controlId);
    if (!entry || !entry->window)
        return false;
    ::EnableWindow(entry->window, enable);
    ::InvalidateRect(entry->window, nullptr, TRUE);
    return true;
}

bool EQorDialog::QorDlg_CtrlIsEnabled(int controlId) const
{
    const ControlEntry* entry = FindControl(controlId);
    return entry && entry->window && ::IsWindowEnabled(entry->window);
}

namespace {

IQorButtonOptions* ButtonOptions(CWnd* object)
{
    return dynamic_cast<IQorButtonOptions*>(object);
}

}  // namespace

bool EQorDialog::QorDlg_CtrlSetIsToggleButton(int controlId, bool toggle)
{
    const ControlEntry* entry = FindControl(controlId);
    IQorButtonOptions* options = entry ? ButtonOptions(entry->object) : nullptr;
    if (options)
        options->SetIsToggleButton(toggle);
    return options != nullptr;
}

bool EQorDialog::QorDlg_CtrlHighlightOnMouseOver(int controlId, bool highlight)
{
    const ControlEntry* entry = FindControl(controlId);
    IQorButtonOptions* options = entry ? ButtonOptions(entry->object) : nullptr;
    if (options)
        options->SetHighlightOnMouseOver(highlight);
    return options != nullptr;
}

bool EQorDialog::QorDlg_CtrlUncaptureIfOutOfRegion(int controlId, bool uncapture)
{
    const ControlEntry* entry = FindControl(controlId);
    IQorButtonOptions* options = entry ? ButtonOptions(entry->object) : nullptr;
    if (options)
        options->SetUncaptureIfOutOfRegion(uncapture);
    return options != nullptr;
}
