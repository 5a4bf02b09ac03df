#pragma once
// CFolderDialog: the system's folder browser. A derived class reacts to the browser's
// callback through OnInitialized and OnSelChanged and steers it with SetSelection,
// SetStatusText and EnableOK while it runs.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "framework/FrameworkApi.h"

class CWnd;

class FRAMEWORK_API CFolderDialog {
public:
    CFolderDialog(LPCSTR lpszTitle = nullptr, UINT nFlags = BIF_RETURNONLYFSDIRS, CWnd* pParentWnd = nullptr);
    virtual ~CFolderDialog();
    CFolderDialog(const CFolderDialog&) = delete;
    CFolderDialog& operator=(const CFolderDialog&) = delete;

    // IDOK when a folder with a file-system path was chosen, else IDCANCEL.
    virtual INT_PTR DoModal();
    std::string GetFolderPath() const { return m_folderPath; }

    // Filled by the constructor; DoModal sets the owner and the callback.
    BROWSEINFOA m_bi;

protected:
    // The browser is up (m_hBrowser is its window).
    virtual void OnInitialized();
    // The selection changed; `path` is empty when the item has no file-system path.
    virtual void OnSelChanged(const std::string& path);

    void SetSelection(LPCSTR path);
    void SetStatusText(LPCSTR text);
    void EnableOK(BOOL enable = TRUE);

    HWND m_hBrowser = nullptr;

private:
    static int CALLBACK BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM data);

    CWnd* m_pParentWnd;
    std::string m_title;
    std::string m_folderPath;
    char m_displayName[MAX_PATH] = {};
};
