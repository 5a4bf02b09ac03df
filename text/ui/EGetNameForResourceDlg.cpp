// Naming a new control, with the header search of HeaderSearch.
#include "EGetNameForResourceDlg.h"

#include <fstream>

#include "HeaderSearch.h"
#include "TextDialogIds.h"
#include "TextDialogSupport.h"
#include "TextLibraryState.h"

namespace lorvane {

namespace {

constexpr const char* kHeaderFilter = "C Source Header files (*.h)|*.h||";
// Headers are a few hundred kilobytes; anything far larger is not one.
constexpr std::streamoff kMaxHeaderBytes = 16 * 1024 * 1024;

}  // namespace

EGetNameForResourceDlg::EGetNameForResourceDlg(int controlId, const std::string& name)
    : CDialog(IDD_GET_NAME_FOR_RESOURCE), m_controlId(controlId), m_name(name)
{
    SetResourceModule(TextDialogModule());
    MapCommand(IDC_HEADER_BROWSE, BN_CLICKED, [this] { OnBrowse(); });
    MapCommand(IDC_HEADER_FIND_NEXT, BN_CLICKED, [this] { OnFindNext(); });
    MapCommand(IDC_HEADER_RESTART, BN_CLICKED, [this] { OnRestart(); });
}

EGetNameForResourceDlg::~EGetNameForResourceDlg() = default;

BOOL EGetNameForResourceDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_RESOURCE_VALUE, std::to_string(m_controlId).c_str());
    return result;
}

void EGetNameForResourceDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_RESOURCE_NAME, m_name);
}

void EGetNameForResourceDlg::OnBrowse()
{
    CFileDialog chooser(TRUE, nullptr, GetDlgItemText(IDC_HEADER_PATH).c_str(),
                        OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kHeaderFilter, this);
    if (chooser.DoModal() != IDOK)
        return;
    ::SetDlgItemTextA(m_hWnd, IDC_HEADER_PATH, chooser.GetPathName().c_str());
    OnRestart();
    OnFindNext();
}

bool EGetNameForResourceDlg::OpenHeader()
{
    const std::string path = GetDlgItemText(IDC_HEADER_PATH);
    if (m_search && path == m_openPath)
        return true;
    m_search.reset();
    std::ifstream header(path, std::ios::binary);
    if (!header || !header.seekg(0, std::ios::end) || header.tellg() > kMaxHeaderBytes || !header.seekg(0))
        return false;
    m_search = std::make_unique<editing::HeaderSearch>(header);
    m_openPath = path;
    return true;
}

void EGetNameForResourceDlg::OnFindNext()
{
    if (!OpenHeader()) {
        ::SetDlgItemTextA(m_hWnd, IDC_HEADER_RESULT, "   <the header file cannot be read>");
        return;
    }
    const std::string found = m_search->FindNext(m_controlId);
    ::SetDlgItemTextA(m_hWnd, IDC_HEADER_RESULT, found.c_str());
    if (found != editing::HeaderSearch::kNotFound && !found.empty())
        ::SetDlgItemTextA(m_hWnd, IDC_RESOURCE_NAME, found.c_str());
}

void EGetNameForResourceDlg::OnRestart()
{
    if (OpenHeader())
        m_search->Restart();
}

}  // namespace lorvane
