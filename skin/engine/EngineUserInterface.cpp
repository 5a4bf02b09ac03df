// The engine's built-in windows: debug options, graphics file prompt, save dialog, messages.
#include "DebugOptionsDialog.h"
#include "GraphicsEngineState.h"
#include "ScriptFilePrompt.h"

namespace skelda {
namespace {

class BuiltInEngineUserInterface : public QorEngineUserInterface {
public:
    bool AskDebugOptions(QorDebugOptions* options) override { return RunDebugOptionsDialog(nullptr, options); }

    bool ChooseGraphicsScriptFile(std::string* path) override
    {
        const win32ui::ScriptFilePromptTexts texts{
            "Choose Graphics Script File", "Select the Graphics Script File    (prompting for this is set ON)",
            "Select Script File"};
        return win32ui::RunScriptFilePrompt(nullptr, texts, path);
    }

    bool ChooseSaveFile(const std::string& current, std::string* chosen) override
    {
        return win32ui::ChooseXmlFile(GetActiveWindow(), true, "", current, chosen);
    }

    int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override
    {
        return MessageBoxA(nullptr, text.c_str(), caption.empty() ? nullptr : caption.c_str(), style);
    }
};

BuiltInEngineUserInterface g_builtIn;
QorEngineUserInterface* g_installed = nullptr;

}  // namespace

QorEngineUserInterface& EngineUserInterface()
{
    return g_installed ? *g_installed : g_builtIn;
}

}  // namespace skelda

QorEngineUserInterface* QorSetEngineUserInterface(QorEngineUserInterface* surface)
{
    QorEngineUserInterface* previous = skelda::g_installed;
    skelda::g_installed = surface;
    return previous;
}
