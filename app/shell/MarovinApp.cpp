#include "MarovinApp.h"

#include <objbase.h>

#include "MainDialog.h"
#include "RegistryRoot.h"
#include "StartupTimes.h"

namespace shell {

namespace {

constexpr char kInstanceSemaphore[] = "MarovinExecInstance";
constexpr char kDialogClass[] = "#32770";
constexpr char kWindowTitle[] = "Marovin";

}  // namespace

MarovinApp::MarovinApp() = default;

BOOL MarovinApp::InitInstance()
{
    MarkStartup("process and libraries");
    m_instanceSemaphore = CreateSemaphoreA(nullptr, 0, 1, kInstanceSemaphore);
    if (m_instanceSemaphore != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another copy runs: show its window instead and end without touching anything.
        CloseHandle(m_instanceSemaphore);
        m_instanceSemaphore = nullptr;
        if (HWND running = FindWindowA(kDialogClass, kWindowTitle)) {
            if (IsIconic(running))
                ShowWindow(running, SW_RESTORE);
            SetForegroundWindow(running);
        }
        return FALSE;
    }

    AfxEnableControlContainer();
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return TRUE;

    const shell::RegistryRoot root = shell::ChooseRegistryRoot(
        shell::ReadRegistryKeyValue(HKEY_LOCAL_MACHINE, shell::ModuleFolder(nullptr)),
        GetAppName());
    SetRegistryKey(root.key.c_str());
    SetProfileName(root.profile.c_str());

    {
        MainDialog dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    CoUninitialize();
    return FALSE;
}

int MarovinApp::ExitInstance()
{
    if (m_instanceSemaphore != nullptr) {
        CloseHandle(m_instanceSemaphore);
        m_instanceSemaphore = nullptr;
    }
    return CWinApp::ExitInstance();
}

}  // namespace shell
