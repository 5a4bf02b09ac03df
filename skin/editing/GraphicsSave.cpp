// Saving the edited graphics document: the open dialogs write their edits first, the designer
// picks the file, and the document replaces it only once it is wholly written.
#include "EQorDialog.h"
#include "EditingMessages.h"
#include "GraphicsEngineState.h"
#include "QorGraphicsEngineAPI.h"
#include "QorSafeSave.h"
#include "QorXmlDom.h"

namespace {

bool HasExtension(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of("\\/");
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

}  // namespace

bool QorGraphicsEngineAPI::WriteOpenDialogEdits()
{
    bool all = true;
    for (int i = 0; i < EQorDialog::GetOpenDialogCount(); ++i)
        if (EQorDialog* dialog = EQorDialog::GetOpenDialog(i))
            all = dialog->WriteGraphicsEditingChangesToXMLObject() && all;
    return all;
}

bool QorGraphicsEngineAPI::SaveGraphicsWork()
{
    namespace messages = skelda::messages;
    skelda::GraphicsEngineState& s = skelda::EngineState();
    IXMLDOMDocument* document = s.graphicsDocument.Get();
    if (!document || !s.graphicsChanged)
        return false;
    WriteOpenDialogEdits();
    std::string target;
    // A cancelled choice saves nothing and leaves the changes marked, so shutdown still asks.
    if (!skelda::EngineUserInterface().ChooseSaveFile(s.graphicsFilePath, &target) || target.empty())
        return false;
    if (!HasExtension(target))
        target += ".xml";
    const HRESULT hr = qorxml::SaveReplacing(
        target, [document](const std::string& temporary) { return qorxml::SaveToFile(document, temporary); });
    if (FAILED(hr)) {
        skelda::EngineUserInterface().ShowMessage(messages::kSaveErrorPrefix + target + messages::kSaveErrorSuffix,
                                                  messages::kSaveErrorCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    skelda::EngineUserInterface().ShowMessage(messages::kSavedPrefix + target + messages::kSavedSuffix,
                                              messages::kSavedCaption, MB_OK | MB_ICONINFORMATION);
    s.graphicsChanged = false;
    return true;
}
