// The design-time editing mode of a skinned dialog: its menus and theirs of its controls, the
// commands they carry out and a new face.
#include "ControlTextKind.h"
#include "EBitmapUtilities.h"
#include "EGERegistryMgr_API.h"
#include "EQorButton.h"
#include "EQorControlCommon.h"
#include "EQorDialog.h"
#include "EQorMessageDlg.h"
#include "EQorTransparentStatic.h"
#include "EditMenus.h"
#include "EditingMessages.h"
#include "GraphicsEngineState.h"
#include "QorGraphicsEngineAPI.h"
#include "QorXmlDom.h"
#include "framework/FileDialog.h"
#include "win/Owned.h"

using skelda::EngineState;
namespace editing = skelda::editing;

namespace {

constexpr const char* kBitmapFilter = "BMP Files (*.bmp)|*.bmp||";

EQorControlCommon* CommonOf(const IQorControlCommon* control)
{
    return dynamic_cast<EQorControlCommon*>(const_cast<IQorControlCommon*>(control));
}

struct MenuTraits {
    using Raw = HMENU;
    static Raw Empty() { return nullptr; }
    static bool IsValid(Raw menu) { return menu != nullptr; }
    static void Free(Raw menu) { ::DestroyMenu(menu); }
};
using OwnedMenu = win::Owned<MenuTraits>;

// Appends the table's entries to `menu`; false when the system refuses one.
bool FillMenu(HMENU menu, const std::vector<editing::MenuItem>& items)
{
    for (const editing::MenuItem& item : items) {
        if (!item.items.empty()) {
            OwnedMenu sub(::CreatePopupMenu());
            if (!sub || !FillMenu(sub.Get(), item.items) ||
                !::AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub.Get()), item.text.c_str()))
                return false;
            sub.Release();  // the menu destroys its sub-menu with itself
            continue;
        }
        const UINT flags = MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED) | (item.checked ? MF_CHECKED : 0);
        if (!::AppendMenuA(menu, flags, static_cast<UINT_PTR>(item.command), item.text.c_str()))
            return false;
    }
    return true;
}

OwnedMenu BuildMenu(const std::vector<editing::MenuItem>& items)
{
    OwnedMenu menu(items.empty() ? nullptr : ::CreatePopupMenu());
    if (menu && !FillMenu(menu.Get(), items))
        menu.Reset();
    return menu;
}

}  // namespace

bool EQorDialog::EditingModeOn() const
{
    return EngineState().allowEditingGraphics || EngineState().allowEditingText;
}

const EQorDialog::ControlEntry* EQorDialog::ControlAtWindow(HWND window) const
{
    for (const auto& entry : m_controls)
        if (window && entry.window == window)
            return &entry;
    return nullptr;
}

const EQorDialog::ControlEntry* EQorDialog::EditableControlAt(HWND target, POINT screen) const
{
    if (target == m_hWnd) {
        POINT client = screen;
        ::ScreenToClient(m_hWnd, &client);
        // Transparent statics let the mouse through to the face: find them by their place.
        if (const ControlEntry* entry = ControlAtWindow(TransparentStaticAt(client)))
            return entry;
        // One without a skin entry is not among the face's statics, yet it is the place
        // where the designer gives it one.
        for (const auto& entry : m_controls) {
            RECT rect{};
            if (entry.type != eQorTransparentStatic || !entry.window || !::IsWindowVisible(entry.window) ||
                !::GetWindowRect(entry.window, &rect))
                continue;
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
            if (::PtInRect(&rect, client))
                return &entry;
        }
        return nullptr;
    }
    // A press on a part of a control (a combo box's edit) counts for the control.
    for (HWND window = target; window && window != m_hWnd; window = ::GetParent(window))
        if (const ControlEntry* entry = ControlAtWindow(window))
            return entry;
    return nullptr;
}

bool EQorDialog::IsControlLocked(int controlId) const
{
    const ControlEntry* entry = FindControl(controlId);
    const EQorControlCommon* common = entry ? CommonOf(entry->common) : nullptr;
    return !common || common->IsLockedInPlace();
}

HMENU EQorDialog::CreateDialogEditMenu() const
{
    if (!EditingModeOn() || !m_dialogElement)
        return nullptr;
    editing::DialogMenuState state;
    state.graphicsEditing = EngineState().allowEditingGraphics;
    state.textEditing = EngineState().allowEditingText;
    state.staticsHighlighted = m_staticsHighlighted;
    state.invisibleShown = m_invisibleShown;
    state.graphicsChanged = EngineState().graphicsChanged;
    state.textChanged = EngineState().textChanged || EngineState().text.TextChanged();
    state.hasAuxBitmaps = !m_auxBitmaps.empty();
    state.stretchDialog = m_dialogType == 1;
    state.placementEnabled = m_placementShown;
    FillSkinSettingsMenuState(&state);
    OwnedMenu menu = BuildMenu(editing::DialogMenu(state));
    if (menu && state.graphicsEditing) {
        OwnedMenu hidden(CreateHiddenDialogMenu());
        if (hidden && ::AppendMenuA(menu.Get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(hidden.Get()),
                                    "Show Hidden Dialog"))
            hidden.Release();  // destroyed with the menu
    }
    return menu.Release();
}

HMENU EQorDialog::CreateControlEditMenu(int controlId) const
{
    const ControlEntry* entry = FindControl(controlId);
    const EQorControlCommon* common = entry ? CommonOf(entry->common) : nullptr;
    if (!EditingModeOn() || !common)
        return nullptr;
    // The message box's buttons are edited only when the box allows it.
    const auto* button = dynamic_cast<const EQorButton*>(entry->object);
    const auto* messageBox = dynamic_cast<const EQorMessageDlg*>(this);
    if (messageBox && !messageBox->EditingAllowed() && button && button->GetKind() == EQorButton::kMsgBoxButton)
        return nullptr;
    editing::ControlMenuState state;
    state.type = entry->type;
    state.transparentRadio = button && (button->GetKind() == EQorButton::kTransparentRadio ||
                                        button->GetKind() == EQorButton::kMenuRadio);
    state.locked = common->IsLockedInPlace();
    state.visibleAtStartup = common->GetVisibleAtStartup();
    state.stretchDialog = m_dialogType == 1;
    state.usesGraphicsTemplate = button && UsesButtonGraphicsTemplate(*entry);
    state.graphicsEditing = EngineState().allowEditingGraphics;
    state.textEditing = EngineState().allowEditingText;
    state.hasElement = IsControlEntryInScriptFile(controlId);
    bool usesTemplate = false;
    std::string templateName;
    EngineState().text.IsControlUsingTemplate(GetDlgResID(), controlId, &usesTemplate, &templateName);
    state.usesTextTemplate = usesTemplate;
    return BuildMenu(editing::ControlMenu(state)).Release();
}

int EQorDialog::TrackEditMenu(HMENU menu, POINT screen)
{
    if (!menu)
        return 0;
    // The command comes back here instead of as WM_COMMAND: "Lock Control in Place" is 1,
    // which the dialog would take for OK.
    ::SetForegroundWindow(m_hWnd);
    const int command = static_cast<int>(::TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, m_hWnd, nullptr));
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    return command;
}

void EQorDialog::ShowEditMenuFor(HWND target, POINT screen)
{
    const ControlEntry* entry = EditableControlAt(target, screen);
    if (entry) {
        m_selectedControl = entry->id;
        const int id = entry->id;
        const OwnedMenu menu(CreateControlEditMenu(id));
        if (const int command = TrackEditMenu(menu.Get(), screen))
            RunControlEditCommand(id, command);
        return;
    }
    const OwnedMenu menu(CreateDialogEditMenu());
    if (const int command = TrackEditMenu(menu.Get(), screen))
        RunDialogEditCommand(command);
}

void EQorDialog::MarkGraphicsEdited()
{
    m_dataChanged = true;
    EngineState().graphicsChanged = true;
}

bool EQorDialog::MoveControlForEditing(int controlId, int dx, int dy)
{
    const ControlEntry* entry = FindControl(controlId);
    EQorControlCommon* common = entry ? CommonOf(entry->common) : nullptr;
    if (!common || (dx == 0 && dy == 0) || !common->MoveForEditing(dx, dy))
        return false;
    MarkGraphicsEdited();
    if (entry->type == eQorTransparentStatic)
        entry->common->ReloadQorBackground();  // the face under it is another now
    RedrawDlgWindow();
    return true;
}

bool EQorDialog::EditControlTexts(const ControlEntry& entry, bool captions)
{
    auto& text = EngineState().text;
    const int dialogId = GetDlgResID();
    const int count = entry.type == eQorButton ? 4 : 1;
    const bool changed = captions ? text.ShowSetCaptionsDialog(dialogId, entry.id, count)
                                  : text.ShowSetTooltipsDialog(dialogId, entry.id, count);
    if (!changed)
        return false;
    EngineState().textChanged = true;
    if (auto* button = dynamic_cast<EQorButton*>(entry.object)) {
        button->ReloadTextValues();
        button->SetIdentity(button->CurrIdentity());  // the caption and tooltip of its identity
        return true;
    }
    std::string value;
    if (captions) {
        text.GetControlCaptionText(dialogId, entry.id, &value);
        ::SetWindowTextA(entry.window, value.c_str());
        ::InvalidateRect(entry.window, nullptr, TRUE);
    } else {
        text.GetControlTooltipText(dialogId, entry.id, &value);
        SetToolTipText(entry.id, entry.window, value);
    }
    return true;
}

bool EQorDialog::EditTextSettings(const ControlEntry& entry)
{
    auto& text = EngineState().text;
    bool usesTemplate = false;
    std::string templateName;
    // A control the text file does not know yet gets its blank entry first, so that there is
    // something to edit (as a control added in the editing mode does).
    if (!text.IsControlUsingTemplate(GetDlgResID(), entry.id, &usesTemplate, &templateName)) {
        win::ComPtr<IXMLDOMNode> element;
        if (!text.AddControlNode(GetDlgResID(), entry.id, element.Put(), editing::TextKindOf(entry.type), ""))
            return false;
        EngineState().textChanged = true;
    }
    const bool changed = entry.type == eQorEdit ? text.ShowSetEditTextValuesDialog(GetDlgResID(), entry.id)
                                                : text.ShowSetTextValuesDialog(GetDlgResID(), entry.id,
                                                                               entry.type == eQorButton);
    if (!changed)
        return false;
    EngineState().textChanged = true;
    ReloadControlText(entry);
    return true;
}

void EQorDialog::ReloadControlText(const ControlEntry& entry)
{
    if (auto* skinned = dynamic_cast<EQorButton*>(entry.object))
        skinned->ReloadTextValues();
    else if (entry.common && m_dialogElement)
        entry.common->LoadQorControlData(m_dialogElement.Get());
    if (entry.window)
        ::InvalidateRect(entry.window, nullptr, TRUE);
}

bool EQorDialog::RunControlEditCommand(int controlId, int command)
{
    const ControlEntry* entry = FindControl(controlId);
    EQorControlCommon* common = entry ? CommonOf(entry->common) : nullptr;
    if (!EditingModeOn() || !common || !editing::IsImplementedControlCommand(command, entry->type))
        return false;
    const bool graphics = EngineState().allowEditingGraphics, text = EngineState().allowEditingText;
    switch (command) {
    case editing::kToggleLock:
        if (!graphics)
            return false;
        common->SetLockedInPlace(!common->IsLockedInPlace());
        m_selectedControl = controlId;
        return true;
    case editing::kSetVisibility:
        if (!graphics)
            return false;
        common->SetVisibleAtStartup(!common->GetVisibleAtStartup());
        MarkGraphicsEdited();
        return true;
    case editing::kChangeTooltips:
        return text && EditControlTexts(*entry, false);
    case editing::kChangeCaptions:
        return text && EditControlTexts(*entry, true);
    case editing::kChangeTextSettings:
        return text && EditTextSettings(*entry);
    case editing::kStopUsingTextTemplate:
        if (!text || !EngineState().text.SetControlToNotUseTextTemplate(GetDlgResID(), controlId))
            return false;
        EngineState().textChanged = true;
        ReloadControlText(*entry);
        return true;
    case editing::kChangeGraphicsSettings:
    case editing::kChooseGraphicsTemplate:
    case editing::kTransparentRadioSettings:
    case editing::kAlternateXY:
    case editing::kEdgeTracking:
    case editing::kToggleGraphicsTemplate:
    case editing::kCopyGraphicsTemplate:
    case editing::kEditButtonGraphicsTemplates:
        return graphics && RunControlGraphicsCommand(*entry, command);
    case editing::kChooseTextTemplate:
    case editing::kEditButtonTextTemplates:
    case editing::kAlterNonTemplateText:
    case editing::kCopyTextTemplate:
    case editing::kCreateTextTemplate:
    case editing::kCopyTextToTemplate:
        return text && RunTextTemplateCommand(*entry, command);
    case editing::kAddPreliminaryControlInfo:
        return graphics && AddPreliminaryControlInfo(controlId);
    default:
        return false;
    }
}

bool EQorDialog::ChangeBackgroundBitmap(const std::string& path)
{
    HBITMAP loaded = nullptr;
    if (!m_dialogElement || !EBitmapUtilities::LoadDibSectionFromFile(path, &loaded))
        return false;
    CBitmap face(loaded);
    CClientDC dc(m_hWnd);
    CRgn region(EBitmapUtilities::BuildRegion(face, m_transparentColour, dc.GetSafeHdc(), nullptr));
    std::string stored = path;
    EGERegistryMgr_API::SetProperPathForStoringFilepath(EngineState().parentFolder, &stored);
    if (!qorxml::SetAttribute(m_dialogElement.Get(), "DlgBitmapFile", stored))
        return false;
    m_background = std::move(face);
    m_region = std::move(region);
    m_backgroundFile = path;
    CRgn windowCopy;
    if (m_region.GetSafeHandle() && windowCopy.CopyRgn(m_region) && SetWindowRgn(windowCopy, FALSE))
        windowCopy.Detach();
    else if (!m_region.GetSafeHandle())
        SetWindowRgn(nullptr, FALSE);
    ReloadStaticControlsBackground();
    MarkGraphicsEdited();
    RedrawDlgWindow();
    return true;
}

bool EQorDialog::RunDialogEditCommand(int command)
{
    if (!EditingModeOn() || !m_dialogElement)
        return false;
    const bool graphics = EngineState().allowEditingGraphics;
    QorGraphicsEngineAPI engine;
    switch (command) {
    case editing::kChangeBitmapFile: {
        if (!graphics)
            return false;
        CFileDialog chooser(TRUE, nullptr, m_backgroundFile.c_str(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                            kBitmapFilter, this);
        if (chooser.DoModal() != IDOK || chooser.GetPathName().empty())
            return false;
        if (ChangeBackgroundBitmap(chooser.GetPathName()))
            return true;
        namespace messages = skelda::messages;
        skelda::EngineUserInterface().ShowMessage(
            messages::kBitmapNotLoadedPrefix + chooser.GetPathName() + messages::kBitmapNotLoadedSuffix,
            messages::kBitmapNotLoadedCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    case editing::kHighlightStatics:
        if (!graphics)
            return false;
        m_staticsHighlighted = !m_staticsHighlighted;
        for (const auto& entry : m_controls)
            if (auto* label = dynamic_cast<EQorTransparentStatic*>(entry.object))
                label->HighlightControl(m_staticsHighlighted);
        return true;
    case editing::kEnableAllControls:
        if (!graphics)
            return false;
        for (const auto& entry : m_controls)
            QorDlg_EnableControl(entry.id, true);
        return true;
    case editing::kShowAllControls:
        if (!graphics)
            return false;
        if (!m_invisibleShown) {
            m_shownInvisible.clear();
            for (const auto& entry : m_controls)
                if (entry.window && !::IsWindowVisible(entry.window)) {
                    m_shownInvisible.push_back(entry.id);
                    ::ShowWindow(entry.window, SW_SHOWNOACTIVATE);
                }
        } else {
            for (int id : m_shownInvisible)
                if (const ControlEntry* entry = FindControl(id))
                    ::ShowWindow(entry->window, SW_HIDE);
            m_shownInvisible.clear();
        }
        m_invisibleShown = !m_invisibleShown;
        return true;
    case editing::kSaveGraphics:
        return graphics && engine.SaveGraphicsWork();
    case editing::kSaveText:
        return EngineState().allowEditingText && engine.SaveTextWork();
    case editing::kChangeAuxBitmaps:
    case editing::kTogglePlacementControls:
        return graphics && RunMoreDialogEditCommand(command);
    case editing::kSetParentFolder:
        return graphics && SetGraphicsParentFolder();
    case editing::kDialogTextValues:
        return EngineState().allowEditingText && EditDialogTextValues();
    case editing::kStretchRegions:
    case editing::kStretchSizing:
    case editing::kHighlightGrabbers:
    case editing::kMessageBoxSettings:
    case editing::kMenuSettings:
        return graphics && RunSkinSettingsCommand(command);
    default:
        if (command >= kFirstHiddenDialogCommand)
            for (const auto& entry : m_hiddenDialogs)
                if (entry.commandId == command)
                    return ShowHiddenDlg(entry.dialogId);
        return false;
    }
}
