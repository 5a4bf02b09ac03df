// The application object, its message loop and its profile functions.
#include "framework/WinApp.h"

#include "framework/Wnd.h"

namespace {

CWinApp* g_app = nullptr;

std::string ProgramBaseName()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

}  // namespace

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_hInstance(::GetModuleHandleA(nullptr)),
      m_appName(lpszAppName && *lpszAppName ? lpszAppName : ProgramBaseName())
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return 0; }

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    return CWnd::WalkPreTranslateTree(pMsg);
}

int CWinApp::Run()
{
    if (!m_pMainWnd || !m_pMainWnd->m_hWnd)
        return ExitInstance();
    MSG msg;
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return ExitInstance();
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    m_registryKey = lpszRegistryKey ? lpszRegistryKey : "";
    m_profileName = m_appName;
}

void CWinApp::SetProfileName(LPCSTR lpszProfileName)
{
    m_profileName = lpszProfileName ? lpszProfileName : "";
}

framework::ProfileStore CWinApp::Store() const
{
    return framework::ProfileStore(HKEY_CURRENT_USER, m_registryKey, m_profileName);
}

int CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    return Store().GetInt(lpszSection, lpszEntry, nDefault);
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    return Store().WriteInt(lpszSection, lpszEntry, nValue);
}

std::string CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    return Store().GetString(lpszSection, lpszEntry, lpszDefault);
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (!lpszEntry)
        return Store().DeleteSection(lpszSection);
    return Store().WriteString(lpszSection, lpszEntry, lpszValue);
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    if (hInstance)
        app->m_hInstance = hInstance;
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}

void AfxEnableControlContainer() {}
