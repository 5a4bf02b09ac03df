// The text file prompt on the dialog framework; its template lives in this library's resources.
#include "ChooseTextScriptFileAtStartupDlg.h"

#include "TextDialogIds.h"

namespace lorvane {
namespace {

HINSTANCE ThisModule()
{
    return AfxModuleOfAddress(reinterpret_cast<const void*>(&ThisModule));
}

}  // namespace

ChooseTextScriptFileAtStartupDlg::ChooseTextScriptFileAtStartupDlg(const std::string& path)
    : CXmlFilePromptDialog(IDD_CHOOSE_TEXT_SCRIPT_FILE, ThisModule(), IDC_TEXT_SCRIPT_FILE_PATH,
                           IDC_TEXT_SCRIPT_FILE_BROWSE, path)
{
}

}  // namespace lorvane
