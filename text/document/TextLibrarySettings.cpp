// The text library's per-application settings, written back when missing.
#include "EGERegistryMgr_API.h"
#include "TextLibraryState.h"

namespace lorvane {

TextLibrarySettings ReadTextLibrarySettings(const std::string& applicationName)
{
    using Reg = EGERegistryMgr_API;
    TextLibrarySettings s;
    bool found = false;
    if (!Reg::GetQorTextFile(applicationName, &s.storedPath, &found) && !found)
        Reg::SetQorTextFile("", applicationName);
    s.useDefaultTextFile = Reg::GetUseDefaultTextFile(applicationName, &found);
    if (!found)
        Reg::SetUseDefaultTextFile(1, applicationName);
    s.promptForTextFile = Reg::GetPromptForQorTextFile(applicationName, &found);
    if (!found)
        Reg::SetPromptForTextFNameRegEntry(0, applicationName);
    s.showTextErrorDialogs = Reg::GetShowTextErrorDialogs(applicationName, &found);
    if (!found)
        Reg::SetShowTextErrorDlgsRegEntry(0, applicationName);
    s.allowEditingText = Reg::GetAllowEditingQorTextFile(applicationName, &found);
    if (!found)
        Reg::SetAllowTextEditingRegEntry(0, applicationName);
    return s;
}

void TextLibraryState::Release()
{
    tables.Clear();
    document.Reset();
    currentPath.clear();
    alternateEncoding = false;
    alternateId = 0;
    changed = false;
}

TextLibraryState& State()
{
    // Never destroyed: releasing COM objects while the process unloads its modules is unsafe,
    // and ReleaseAllNodes frees everything in an orderly shutdown.
    static TextLibraryState* state = new TextLibraryState;
    return *state;
}

}  // namespace lorvane
