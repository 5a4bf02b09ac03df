// The text file prompt and the save dialog, on the dialog framework.
#include "ChooseTextScriptFileAtStartupDlg.h"

#include "TextDialogIds.h"

namespace lorvane {
namespace {

constexpr const char* kXmlFilter = "XML Files (*.xml)|*.xml||";

HINSTANCE ThisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

}  // namespace

ChooseTextScriptFileAtStartupDlg::ChooseTextScriptFileAtStartupDlg(const std::string& path)
    : CDialog(IDD_CHOOSE_TEXT_SCRIPT_FILE), path_(path)
{
    SetResourceModule(ThisModule());
    MapCommand(IDC_TEXT_SCRIPT_FILE_BROWSE, BN_CLICKED, [this] { OnBrowse(); });
}

void ChooseTextScriptFileAtStartupDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TEXT_SCRIPT_FILE_PATH, path_);
}

void ChooseTextScriptFileAtStartupDlg::OnBrowse()
{
    UpdateData(TRUE);
    CFileDialog chooser(TRUE, nullptr, path_.c_str(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kXmlFilter, this);
    chooser.SetTitle("Select Script File");
    if (chooser.DoModal() == IDOK) {
        path_ = chooser.GetPathName();
        UpdateData(FALSE);
    }
}

bool ChooseXmlFileToSave(const std::string& current, std::string* chosen)
{
    CFileDialog chooser(FALSE, nullptr, current.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kXmlFilter);
    if (chooser.DoModal() != IDOK || chooser.GetPathName().empty())
        return false;
    *chosen = chooser.GetPathName();
    return true;
}

}  // namespace lorvane
