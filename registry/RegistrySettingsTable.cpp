// The table of the framework's per-application registry values.
#include "RegistrySettingsTable.h"

namespace skelda {
namespace {

const RegistrySettingInfo kSettings[] = {
    {RegistrySetting::UseDefaultGraphicsFile, "UseDefaultGraphicsFile", true, true},
    {RegistrySetting::UseDefaultTextFile, "UseDefaultTextFile", true, true},
    {RegistrySetting::PromptForGraphicsFile, "PromptForGraphicsFNameAtRuntime", true, false},
    {RegistrySetting::PromptForTextFile, "PromptForTextFNameAtRuntime", true, false},
    {RegistrySetting::AllowEditingGraphics, "AllowEditingOfGraphicsSettings", true, false},
    {RegistrySetting::AllowEditingText, "AllowEditingOfTextSettings", true, false},
    {RegistrySetting::ShowGraphicsErrorDialogs, "ShowGraphicsErrorDialogs", true, false},
    {RegistrySetting::ShowTextErrorDialogs, "ShowTextErrorDialogs", true, false},
    {RegistrySetting::GraphicsFile, "GraphicsDataXMLFilename", false, false},
    {RegistrySetting::TextFile, "TextXMLFilename", false, false},
    {RegistrySetting::ParentFolder, "GraphicsAndTextParentDirectory", false, false},
};

}  // namespace

const RegistrySettingInfo& SettingInfo(RegistrySetting setting)
{
    return kSettings[static_cast<int>(setting)];
}

}  // namespace skelda
