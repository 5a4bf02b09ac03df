// The parent folder dialog: the folder is checked against the skin's stored bitmap paths.
#include "EParentFolderDlg.h"

#include "DlgSkinDataIds.h"
#include "EGERegistryMgr_API.h"
#include "GraphicsEngineState.h"
#include "ParentFolderRules.h"
#include "framework/FolderDialog.h"

namespace skelda::editing {
namespace {

constexpr const char* kCaption = "Choose Parent Directory For Files";

HINSTANCE ThisModule()
{
    return AfxModuleOfAddress(reinterpret_cast<const void*>(&ThisModule));
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

EParentFolderDlg::EParentFolderDlg(std::string current, std::vector<std::string> storedPaths, CWnd* parent)
    : CDialog(IDD_CHOOSE_PARENT_FOLDER, parent), m_current(std::move(current)), m_storedPaths(std::move(storedPaths))
{
    SetResourceModule(ThisModule());
    MapCommand(IDC_PARENT_FOLDER_BROWSE, BN_CLICKED, [this] {
        CFolderDialog chooser("Choose the parent directory of the skin's files", BIF_RETURNONLYFSDIRS, this);
        if (chooser.DoModal() == IDOK && !chooser.GetFolderPath().empty())
            ::SetDlgItemTextA(m_hWnd, IDC_PARENT_FOLDER, NormaliseParentFolder(chooser.GetFolderPath()).c_str());
    });
}

BOOL EParentFolderDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_PARENT_FOLDER_CURRENT, ("Now:  " + m_current).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_PARENT_FOLDER, m_current.c_str());
    return result;
}

void EParentFolderDlg::OnOK()
{
    const std::string folder = NormaliseParentFolder(GetDlgItemText(IDC_PARENT_FOLDER));
    auto refuse = [this](const std::string& text) {
        EngineUserInterface().ShowMessage(text, kCaption, MB_OK | MB_ICONEXCLAMATION);
        GotoDlgCtrl(::GetDlgItem(m_hWnd, IDC_PARENT_FOLDER));
    };
    if (folder.empty() || !IsFolder(folder)) {
        refuse("The folder does not exist:  " + (folder.empty() ? std::string("(none entered)") : folder));
        return;
    }
    const std::vector<std::string> lost =
        PathsLostInNewFolder(m_storedPaths, m_current, folder, EGERegistryMgr_API::VerifyFileExists);
    if (!lost.empty()) {
        refuse(LostPathsMessage(folder, lost));
        return;
    }
    m_folder = folder;
    EndDialog(IDOK);
}

}  // namespace skelda::editing
