// The engine's built-in windows: debug options, graphics file prompt, save dialog, messages.
#include "EngineDialogs.h"
#include "GraphicsEngineState.h"

namespace skelda {
namespace {

class BuiltInEngineUserInterface : public QorEngineUserInterface {
public:
    bool AskDebugOptions(QorDebugOptions* options) override
    {
        EGraphicsDebugOptionsDlg dialog;
        if (dialog.DoModal() != IDOK)
            return false;
        *options = dialog.Options();
        return true;
    }

    bool ChooseGraphicsScriptFile(std::string* path) override
    {
        EChooseGraphicsScriptFileDlg dialog(*path);
        if (dialog.DoModal() != IDOK)
            return false;
        *path = dialog.Path();
        return true;
    }

    bool ChooseSaveFile(const std::string& current, std::string* chosen) override
    {
        return ChooseXmlFileToSave(current, chosen);
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
