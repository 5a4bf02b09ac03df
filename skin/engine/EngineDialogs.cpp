// The engine's dialogs on the dialog framework; templates live in this library's resources.
#include "EngineDialogs.h"

#include "EngineDialogIds.h"

namespace skelda {
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

EGraphicsDebugOptionsDlg::EGraphicsDebugOptionsDlg() : CDialog(IDD_GRAPHICS_DEBUG_OPTIONS)
{
    SetResourceModule(ThisModule());
}

void EGraphicsDebugOptionsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_REPORT_MISSING_BITMAPS, reportMissingBitmaps_);
    DDX_Check(pDX, IDC_ASSERT_ON_MISSING_ENTRIES, assertOnMissingEntries_);
    DDX_Check(pDX, IDC_REPORT_LOAD_FAILURES, reportLoadFailures_);
}

QorDebugOptions EGraphicsDebugOptionsDlg::Options() const
{
    QorDebugOptions options;
    options.reportMissingBitmaps = reportMissingBitmaps_ == BST_CHECKED;
    options.assertOnMissingXmlEntries = assertOnMissingEntries_ == BST_CHECKED;
    options.reportLoadFailures = reportLoadFailures_ == BST_CHECKED;
    return options;
}

EChooseGraphicsScriptFileDlg::EChooseGraphicsScriptFileDlg(const std::string& path)
    : CDialog(IDD_CHOOSE_GRAPHICS_SCRIPT_FILE), path_(path)
{
    SetResourceModule(ThisModule());
    MapCommand(IDC_SCRIPT_FILE_BROWSE, BN_CLICKED, [this] { OnBrowse(); });
}

void EChooseGraphicsScriptFileDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_SCRIPT_FILE_PATH, path_);
}

void EChooseGraphicsScriptFileDlg::OnBrowse()
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

}  // namespace skelda
