// The text library's built-in windows: the start-up prompt, the save dialog, message boxes.
#include "ChooseTextScriptFileAtStartupDlg.h"
#include "QorTextUserInterface.h"
#include "TextLibraryState.h"

namespace lorvane {

namespace {

class BuiltInTextUserInterface : public QorTextUserInterface {
public:
    bool ChooseTextScriptFile(std::string* path) override
    {
        ChooseTextScriptFileAtStartupDlg dialog(*path);
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
        return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), style);
    }
};

BuiltInTextUserInterface g_builtIn;
QorTextUserInterface* g_installed = nullptr;

}  // namespace

QorTextUserInterface& UserInterface()
{
    return g_installed ? *g_installed : g_builtIn;
}

}  // namespace lorvane

QorTextUserInterface* QorSetTextUserInterface(QorTextUserInterface* surface)
{
    QorTextUserInterface* previous = lorvane::g_installed;
    lorvane::g_installed = surface;
    return previous;
}
