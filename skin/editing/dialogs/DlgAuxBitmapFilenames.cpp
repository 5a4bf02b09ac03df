// The auxiliary bitmap file names of one dialog.
#include "DlgAuxBitmapFilenames.h"

#include "DlgEditingIds.h"
#include "EBitmapUtilities.h"
#include "EditingMessages.h"
#include "GraphicsEngineState.h"
#include "framework/FileDialog.h"

namespace skelda {
namespace {

HINSTANCE ThisModule()
{
    return AfxModuleOfAddress(reinterpret_cast<const void*>(&ThisModule));
}

}  // namespace

DlgAuxBitmapFilenames::DlgAuxBitmapFilenames(std::vector<Entry> entries, CWnd* parent)
    : CDialog(IDD_DLG_AUX_BITMAP_FILENAMES, parent), m_entries(std::move(entries))
{
    SetResourceModule(ThisModule());
    MapCommand(IDC_DLG_AUX_LIST, LBN_SELCHANGE, [this] {
        KeepTypedPath();
        ShowSelected();
    });
    MapCommand(IDC_DLG_AUX_BROWSE, BN_CLICKED, [this] {
        CFileDialog chooser(TRUE, nullptr, GetDlgItemText(IDC_DLG_AUX_FILE).c_str(),
                            OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "BMP Files (*.bmp)|*.bmp||", this);
        if (chooser.DoModal() == IDOK && !chooser.GetPathName().empty())
            ::SetDlgItemTextA(m_hWnd, IDC_DLG_AUX_FILE, chooser.GetPathName().c_str());
    });
}

BOOL DlgAuxBitmapFilenames::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    HWND list = ::GetDlgItem(m_hWnd, IDC_DLG_AUX_LIST);
    for (const Entry& entry : m_entries) {
        const std::string row = std::to_string(entry.entryId) + "    " + entry.name;
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    }
    ::SendMessageA(list, LB_SETCURSEL, 0, 0);
    ShowSelected();
    return result;
}

void DlgAuxBitmapFilenames::KeepTypedPath()
{
    if (m_selected < 0)
        return;
    Entry& entry = m_entries[static_cast<size_t>(m_selected)];
    const std::string typed = GetDlgItemText(IDC_DLG_AUX_FILE);
    if (typed != entry.path) {
        entry.path = typed;
        entry.changed = true;
    }
}

void DlgAuxBitmapFilenames::ShowSelected()
{
    const LRESULT at = ::SendDlgItemMessageA(m_hWnd, IDC_DLG_AUX_LIST, LB_GETCURSEL, 0, 0);
    m_selected = at == LB_ERR || at >= static_cast<LRESULT>(m_entries.size()) ? -1 : static_cast<int>(at);
    ::SetDlgItemTextA(m_hWnd, IDC_DLG_AUX_FILE,
                      m_selected < 0 ? "" : m_entries[static_cast<size_t>(m_selected)].path.c_str());
}

void DlgAuxBitmapFilenames::OnOK()
{
    KeepTypedPath();
    for (const Entry& entry : m_entries) {
        HBITMAP loaded = nullptr;
        if (!entry.changed)
            continue;
        const bool loads = !entry.path.empty() && EBitmapUtilities::LoadDibSectionFromFile(entry.path, &loaded);
        const CBitmap check(loaded);  // only to see that it loads
        if (!loads) {
            EngineUserInterface().ShowMessage(
                messages::kBitmapNotLoadedPrefix + entry.path + messages::kBitmapNotLoadedSuffix,
                "Set Auxiliary Bitmap Filenames", MB_OK | MB_ICONERROR);
            return;
        }
    }
    EndDialog(IDOK);
}

}  // namespace skelda
