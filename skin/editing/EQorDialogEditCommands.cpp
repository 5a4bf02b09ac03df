// Commands of the dialog menu: the auxiliary bitmap file names and the placement controls.
#include "DlgAuxBitmapFilenames.h"
#include "EGERegistryMgr_API.h"
#include "EQorDialog.h"
#include "EditMenus.h"
#include "GraphicsEngineState.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"

using skelda::EngineState;
namespace editing = skelda::editing;

namespace {

constexpr const char* kAuxNote =
    "Note:  Changed Auxiliary Bitmap files will not be reloaded.  To see your changes, you must save your "
    "work, exit the app, and rerun the app.";
constexpr const char* kAuxNoteCaption = "Exit and Re-run to See Changes";

// The first auxiliary entry of the dialog element whose "EntryId" is `entryId`.
win::ComPtr<IXMLDOMNode> AuxElement(IXMLDOMNode* dialogElement, int entryId)
{
    win::ComPtr<IXMLDOMNode> found;
    qorxml::ForEachChildElement(dialogElement, [&](IXMLDOMNode* child) {
        std::string name;
        int id = 0;
        if (qorxml::NodeName(child, &name) && name == "QorAuxBitmapFilename" &&
            skelda::skinfile::ReadInt(child, "EntryId", &id) && id == entryId) {
            found = win::ComPtr<IXMLDOMNode>::Share(child);
            return false;
        }
        return true;
    });
    return found;
}

}  // namespace

bool EQorDialog::RunMoreDialogEditCommand(int command)
{
    switch (command) {
    case editing::kChangeAuxBitmaps: return EditAuxBitmapFilenames();
    case editing::kTogglePlacementControls: return TogglePlacementControls();
    default: return false;
    }
}

bool EQorDialog::EditAuxBitmapFilenames()
{
    if (m_auxBitmaps.empty())
        return false;
    std::vector<skelda::DlgAuxBitmapFilenames::Entry> entries;
    for (const AuxBitmap& aux : m_auxBitmaps)
        entries.push_back({aux.entryId, aux.entryName, aux.path, false});
    skelda::DlgAuxBitmapFilenames dialog(std::move(entries), this);
    if (dialog.DoModal() != IDOK)
        return false;
    bool changed = false;
    for (const auto& entry : dialog.Entries()) {
        std::string stored = entry.path;
        win::ComPtr<IXMLDOMNode> element = AuxElement(m_dialogElement.Get(), entry.entryId);
        if (!entry.changed || !element)
            continue;
        EGERegistryMgr_API::SetProperPathForStoringFilepath(EngineState().parentFolder, &stored);
        changed = qorxml::SetAttribute(element.Get(), "BitmapFile", stored) || changed;
    }
    if (!changed)
        return false;
    // The bitmaps in use stay: the dialog's code has loaded them already.
    MarkGraphicsEdited();
    skelda::EngineUserInterface().ShowMessage(kAuxNote, kAuxNoteCaption, MB_OK | MB_ICONINFORMATION);
    return true;
}

bool EQorDialog::TogglePlacementControls()
{
    // Outside this mode placement controls are hidden and disabled; shown, they can be
    // dragged to change where they put their child.
    m_placementShown = !m_placementShown;
    for (const ControlEntry& entry : m_controls) {
        if (entry.type != eQorGenericPlacementControl || !entry.window)
            continue;
        ::EnableWindow(entry.window, m_placementShown);
        ::ShowWindow(entry.window, m_placementShown ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
    return true;
}
