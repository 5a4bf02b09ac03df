#pragma once
// CWinApp: the one application object of a program. Its constructor makes it the process's
// application (AfxGetApp); AfxWinMain runs it: InitInstance, then Run (the message loop of
// the main window) unless InitInstance returned FALSE, and ExitInstance at the end.
#include <windows.h>

#include <string>

#include "framework/FrameworkApi.h"
#include "framework/ProfileStore.h"

class CWnd;

class FRAMEWORK_API CWinApp {
public:
    // Without a name the application is named after the program file's base name.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop; ends at WM_QUIT or at once when there is no main window. Returns
    // ExitInstance's result.
    virtual int Run();
    // Gives the main window's object tree a look at each message of Run's loop.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

    LPCSTR GetAppName() const { return m_appName.c_str(); }
    LPCSTR GetRegistryKey() const { return m_registryKey.c_str(); }
    LPCSTR GetProfileName() const { return m_profileName.c_str(); }

    // Profile values live under HKEY_CURRENT_USER\Software\<key>\<profile>\<section>;
    // SetRegistryKey also makes the profile name the application name.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    void SetProfileName(LPCSTR lpszProfileName);

    // Missing values, values of another type, and any read before SetRegistryKey give the
    // default. Writes before SetRegistryKey fail.
    int GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    std::string GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
    // A null value deletes the entry; a null entry deletes the whole section.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);

private:
    framework::ProfileStore Store() const;

    std::string m_appName;
    std::string m_registryKey;
    std::string m_profileName;
};

FRAMEWORK_API CWinApp* AfxGetApp();
FRAMEWORK_API CWnd* AfxGetMainWnd();

// The body of a program's WinMain: runs the application object.
FRAMEWORK_API int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// Dialogs of this framework host no ActiveX controls, so there is no container to enable;
// kept so that start-up code reads as it does on the original platform.
FRAMEWORK_API void AfxEnableControlContainer();
