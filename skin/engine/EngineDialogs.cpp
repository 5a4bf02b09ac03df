// The engine's dialogs on the dialog framework; templates live in this library's resources.
#include "EngineDialogs.h"

#include "EngineDialogIds.h"

namespace skelda {
namespace {

HINSTANCE ThisModule()
{
    return AfxModuleOfAddress(reinterpret_cast<const void*>(&ThisModule));
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
    : CXmlFilePromptDialog(IDD_CHOOSE_GRAPHICS_SCRIPT_FILE, ThisModule(), IDC_SCRIPT_FILE_PATH,
                           IDC_SCRIPT_FILE_BROWSE, path)
{
}

}  // namespace skelda
