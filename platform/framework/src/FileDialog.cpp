#include "framework/FileDialog.h"

#include <cstring>

#include "framework/FileFilter.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {

constexpr size_t kFileBufferSize = 4096;

bool IsLeadByte(unsigned char c)
{
    return ::IsDBCSLeadByte(c) != FALSE;
}

// Offsets of the name and extension in a path, stepping over double-byte characters (whose
// second byte may be the code of "\\" or ".").
void SplitPath(const std::string& path, size_t* nameStart, size_t* extStart)
{
    *nameStart = 0;
    *extStart = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(c) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':') {
            *nameStart = i + 1;
            *extStart = std::string::npos;
        } else if (c == '.') {
            *extStart = i;
        }
    }
}

}  // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_ofn{}, m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd),
      m_fileBuffer(kFileBufferSize, '\0')
{
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.lpstrFile = m_fileBuffer.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileBuffer.size());
    m_ofn.nFilterIndex = 1;
    if (lpszFileName)
        std::strncpy(m_fileBuffer.data(), lpszFileName, m_fileBuffer.size() - 1);
    if (lpszDefExt) {
        m_defExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_defExt.c_str();
    }
    if (lpszFilter) {
        m_filterList = framework::FilterListForDialog(framework::ParseFileFilter(lpszFilter, IsLeadByte));
        m_ofn.lpstrFilter = m_filterList.c_str();
    }
}

CFileDialog::~CFileDialog() = default;

void CFileDialog::SetTitle(LPCSTR title)
{
    m_title = title ? title : "";
    m_ofn.lpstrTitle = title ? m_title.c_str() : nullptr;
}

void CFileDialog::SetInitialDir(LPCSTR folder)
{
    m_initialDir = folder ? folder : "";
    m_ofn.lpstrInitialDir = folder ? m_initialDir.c_str() : nullptr;
}

INT_PTR CFileDialog::DoModal()
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner)
        if (CWnd* main = AfxGetMainWnd())
            owner = main->m_hWnd;
    m_ofn.hwndOwner = owner;
    // The caller may have pointed lpstrFile elsewhere; the buffer is ours again.
    m_ofn.lpstrFile = m_fileBuffer.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileBuffer.size());
    m_fileBuffer.back() = '\0';
    const BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    m_dialogError = chosen ? 0 : ::CommDlgExtendedError();
    return chosen ? IDOK : IDCANCEL;
}

std::string CFileDialog::GetPathName() const
{
    return m_fileBuffer.data();
}

std::string CFileDialog::GetFileName() const
{
    const std::string path = GetPathName();
    size_t name = 0, ext = 0;
    SplitPath(path, &name, &ext);
    return path.substr(name);
}

std::string CFileDialog::GetFileExt() const
{
    const std::string path = GetPathName();
    size_t name = 0, ext = 0;
    SplitPath(path, &name, &ext);
    return ext == std::string::npos ? std::string() : path.substr(ext + 1);
}

std::string CFileDialog::GetFileTitle() const
{
    const std::string path = GetPathName();
    size_t name = 0, ext = 0;
    SplitPath(path, &name, &ext);
    return path.substr(name, ext == std::string::npos ? std::string::npos : ext - name);
}
