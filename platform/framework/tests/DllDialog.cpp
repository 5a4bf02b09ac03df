#include "DllDialog.h"

#include "test_ids.h"

namespace {
HINSTANCE g_module = nullptr;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = module;
        AfxAddResourceModule(module);
    } else if (reason == DLL_PROCESS_DETACH) {
        AfxRemoveResourceModule(module);
    }
    return TRUE;
}

HINSTANCE DllDialogsModule()
{
    return g_module;
}

BOOL DllButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        ++reflectedClicks;
        return FALSE;  // the parent still sees the click
    }
    return CButton::OnChildNotify(message, wParam, lParam, pResult);
}

DllDialog::DllDialog(CWnd* pParent) : CDialog(IDD_DLL_DIALOG, pParent) {}

void DllDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_DLL_BUTTON, button);
    DDX_Control(pDX, IDC_DLL_EDIT, edit);
    DDX_Text(pDX, IDC_DLL_EDIT, text);
}

BOOL DllDialog::OnInitDialog()
{
    ++initCalls;
    return CDialog::OnInitDialog();
}
