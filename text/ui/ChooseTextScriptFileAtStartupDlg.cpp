// The text file prompt on the dialog framework; its template lives in this library's resources.
#include "ChooseTextScriptFileAtStartupDlg.h"

#include "TextDialogIds.h"
#include "TextDialogSupport.h"

namespace lorvane {

ChooseTextScriptFileAtStartupDlg::ChooseTextScriptFileAtStartupDlg(const std::string& path)
    : CXmlFilePromptDialog(IDD_CHOOSE_TEXT_SCRIPT_FILE, TextDialogModule(), IDC_TEXT_SCRIPT_FILE_PATH,
                           IDC_TEXT_SCRIPT_FILE_BROWSE, path)
{
}

}  // namespace lorvane
