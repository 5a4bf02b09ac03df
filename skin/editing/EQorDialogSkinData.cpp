// Dialog and control commands about where the skin's data lies: the parent folder of the
// stored bitmap paths, and a first skin entry for a control that has none.
#include <algorithm>

#include "ControlTextKind.h"
#include "EGERegistryMgr_API.h"
#include "EParentFolderDlg.h"
#include "EPreliminaryControlDlg.h"
#include "EQorDialog.h"
#include "EQorMessageDlg.h"
#include "EditMenus.h"
#include "GraphicsEngineState.h"
#include "ParentFolderRules.h"
#include "QorGraphicsEngineAPI.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"

using skelda::EngineState;
namespace editing = skelda::editing;

namespace {

constexpr const char* kParentCaption = "Choose Parent Directory For Files";
constexpr const char* kAddCaption = "Add Preliminary Control Info To QorDialog Script Data";

}  // namespace

bool EQorDialog::SetGraphicsParentFolder()
{
    auto& s = EngineState();
    auto& ui = skelda::EngineUserInterface();
    win::ComPtr<IXMLDOMElement> root;
    if (!s.graphicsDocument || !qorxml::DocumentElement(s.graphicsDocument.Get(), "QorAppGraphics", &root))
        return false;
    if (s.bitmapModule || s.parentFolder.empty()) {
        ui.ShowMessage("The skin's bitmaps come from a resource library; they have no parent directory to set.",
                       kParentCaption, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    editing::EParentFolderDlg dialog(s.parentFolder, editing::StoredBitmapPaths(root.Get()), this);
    if (dialog.DoModal() != IDOK || dialog.Folder() == s.parentFolder)
        return false;

    // The stored paths are relative, so the document itself does not change: the new folder
    // takes effect through the save and the registry value that start-up reads. Until both
    // succeeded the old folder stays, so the next start finds the skin where it found it.
    const std::string previous = s.parentFolder;
    const bool wasChanged = s.graphicsChanged;
    s.parentFolder = dialog.Folder();
    s.graphicsChanged = true;
    QorGraphicsEngineAPI engine;
    if (!engine.SaveGraphicsWork()) {
        s.parentFolder = previous;
        s.graphicsChanged = wasChanged;
        return false;
    }
    if (!EGERegistryMgr_API::SetQorParentFolder(s.parentFolder, s.applicationName)) {
        ui.ShowMessage("The graphics were saved, but the parent directory could not be stored in the registry "
                       "(\"GraphicsAndTextParentDirectory\").\r\rThe skin keeps using " + previous + ".",
                       kParentCaption, MB_OK | MB_ICONERROR);
        s.parentFolder = previous;
        return false;
    }
    if (s.useDefaultGraphics)
        ui.ShowMessage("The parent directory is stored, but start-up uses the default skin folder while "
                       "\"UseDefaultGraphicsFile\" is set.",
                       kParentCaption, MB_OK | MB_ICONINFORMATION);
    return true;
}

bool EQorDialog::AddPreliminaryControlInfo(int controlId)
{
    auto found = std::find_if(m_controls.begin(), m_controls.end(),
                              [controlId](const ControlEntry& entry) { return entry.id == controlId; });
    if (found == m_controls.end() || !found->common || !found->window || !m_dialogElement ||
        IsControlEntryInScriptFile(controlId))
        return false;
    ControlEntry& entry = *found;
    auto& text = EngineState().text;
    const int dialogId = GetDlgResID();
    bool usesTemplate = false;
    std::string unused;
    editing::EPreliminaryControlDlg::Info info;
    info.controlId = controlId;
    info.kind = skelda::skinfile::ControlTypeDisplayName(entry.type);
    info.textEntryPossible =
        EngineState().allowEditingText && !text.IsControlUsingTemplate(dialogId, controlId, &usesTemplate, &unused);
    RECT place{};
    ::GetWindowRect(entry.window, &place);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
    editing::AttributeValues values{{"ControlXOffset", std::to_string(place.left)},
                                    {"ControlYOffset", std::to_string(place.top)},
                                    {"ControlName", ""}};
    editing::EPreliminaryControlDlg dialog(info, values, this);
    if (dialog.DoModal() != IDOK)
        return false;

    const int x = std::stoi(dialog.Values().at("ControlXOffset")), y = std::stoi(dialog.Values().at("ControlYOffset"));
    // The control writes its element from where it stands, so it moves there first.
    ::SetWindowPos(entry.window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int elementId = m_sharedEntryMode == 2 ? kSharedControlEntryId : controlId;
    win::ComPtr<IXMLDOMNode> element;
    if (entry.common->AddNewQorControl(m_dialogElement.Get(), elementId) != 0 ||
        !skelda::skinfile::FindControlById(m_dialogElement.Get(), elementId, &element)) {
        skelda::EngineUserInterface().ShowMessage("The control could not be added to the dialog's script data.",
                                                  kAddCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    m_controlIndex.reset();
    qorxml::SetAttribute(element.Get(), "ControlXOffset", std::to_string(x));
    qorxml::SetAttribute(element.Get(), "ControlYOffset", std::to_string(y));
    if (!dialog.Name().empty())
        qorxml::SetAttribute(element.Get(), "ControlName", dialog.Name());
    MarkGraphicsEdited();
    if (dialog.AddTextEntry()) {
        win::ComPtr<IXMLDOMNode> textElement;
        if (text.AddControlNode(dialogId, controlId, textElement.Put(), editing::TextKindOf(entry.type), dialog.Name()))
            EngineState().textChanged = true;
    }
    // From now on it is a control like the others, edited through its own menu.
    entry.notInitialised = !InitializeControl(entry);
    std::string tip;
    if (!entry.notInitialised && text.GetControlTooltipText(dialogId, controlId, &tip))
        SetToolTipText(controlId, entry.window, tip);
    RedrawDlgWindow();
    return true;
}

bool EQorDialog::EditDialogTextValues()
{
    if (!EngineState().text.ShowSetTextValuesDialog(GetDlgResID()))
        return false;
    EngineState().textChanged = true;
    for (const ControlEntry& entry : m_controls)
        if (IsControlEntryInScriptFile(entry.id))
            ReloadControlText(entry);
    if (auto* box = dynamic_cast<EQorMessageDlg*>(this))
        box->ReloadTextLook();  // its message and caption colours are its own
    RedrawDlgWindow();
    return true;
}
