#include "framework/FolderDialog.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {

std::string PathOf(LPCITEMIDLIST item)
{
    char path[MAX_PATH] = {};
    if (!item || !::SHGetPathFromIDListA(item, path))
        return {};
    return path;
}

// The browser needs COM on this thread; an apartment we open is closed again.
class ComScope {
public:
    ComScope() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(hr_))
            ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT hr_;
};

}  // namespace

CFolderDialog::CFolderDialog(LPCSTR lpszTitle, UINT nFlags, CWnd* pParentWnd)
    : m_bi{}, m_pParentWnd(pParentWnd), m_title(lpszTitle ? lpszTitle : "")
{
    m_bi.pszDisplayName = m_displayName;
    m_bi.lpszTitle = lpszTitle ? m_title.c_str() : nullptr;
    m_bi.ulFlags = nFlags;
    m_bi.lpfn = &CFolderDialog::BrowseCallback;
    m_bi.lParam = reinterpret_cast<LPARAM>(this);
}

CFolderDialog::~CFolderDialog() = default;

INT_PTR CFolderDialog::DoModal()
{
    ComScope com;
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner)
        if (CWnd* main = AfxGetMainWnd())
            owner = main->m_hWnd;
    m_bi.hwndOwner = owner;
    m_bi.pszDisplayName = m_displayName;
    m_bi.lpfn = &CFolderDialog::BrowseCallback;
    m_bi.lParam = reinterpret_cast<LPARAM>(this);
    m_folderPath.clear();

    LPITEMIDLIST chosen = ::SHBrowseForFolderA(&m_bi);
    m_hBrowser = nullptr;
    if (!chosen)
        return IDCANCEL;
    m_folderPath = PathOf(chosen);
    ::CoTaskMemFree(chosen);
    return m_folderPath.empty() ? IDCANCEL : IDOK;
}

int CALLBACK CFolderDialog::BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM data)
{
    auto* self = reinterpret_cast<CFolderDialog*>(data);
    if (!self)
        return 0;
    self->m_hBrowser = hWnd;
    try {
        if (message == BFFM_INITIALIZED)
            self->OnInitialized();
        else if (message == BFFM_SELCHANGED)
            self->OnSelChanged(PathOf(reinterpret_cast<LPCITEMIDLIST>(lParam)));
    } catch (...) {
        OutputDebugStringA("Framework:  exception escaped a folder browser handler\r\n");
    }
    return 0;
}

void CFolderDialog::OnInitialized() {}
void CFolderDialog::OnSelChanged(const std::string&) {}

void CFolderDialog::SetSelection(LPCSTR path)
{
    if (m_hBrowser && path)
        ::SendMessageA(m_hBrowser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path));
}

void CFolderDialog::SetStatusText(LPCSTR text)
{
    if (m_hBrowser)
        ::SendMessageA(m_hBrowser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

void CFolderDialog::EnableOK(BOOL enable)
{
    if (m_hBrowser)
        ::SendMessageA(m_hBrowser, BFFM_ENABLEOK, 0, enable);
}
