#pragma once
// CFileDialog: the system's open and save dialogs. Filters are written with "|" separators;
// the caller may set m_ofn's fields (nFilterIndex, Flags, ...) before DoModal and read the
// chosen filter index back from m_ofn.nFilterIndex afterwards.
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "framework/FrameworkApi.h"

class CWnd;

class FRAMEWORK_API CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog();
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK with a name chosen, IDCANCEL when cancelled or when the dialog failed
    // (GetDialogError tells which).
    virtual INT_PTR DoModal();

    // Copies kept by the dialog, so the caller's strings may go away.
    void SetTitle(LPCSTR title);
    void SetInitialDir(LPCSTR folder);

    std::string GetPathName() const;
    std::string GetFileName() const;   // name with extension, no folder
    std::string GetFileExt() const;    // extension without the dot
    std::string GetFileTitle() const;  // name without folder and extension
    DWORD GetDialogError() const { return m_dialogError; }
    BOOL IsOpenDialog() const { return m_bOpenFileDialog; }

    OPENFILENAMEA m_ofn;

private:
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    std::string m_filterList;
    std::string m_defExt;
    std::string m_title;
    std::string m_initialDir;
    std::vector<char> m_fileBuffer;
    DWORD m_dialogError = 0;
};
