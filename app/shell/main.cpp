// Marovin's entry point. The application object and the skinned main window take over
// from this plain dialog as they are built; until then it shows that the program runs.
#include <windows.h>
#include <commctrl.h>

#include "resource.h"

namespace {

INT_PTR CALLBACK MainDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDCANCEL || LOWORD(wp) == IDOK) {
            EndDialog(dlg, LOWORD(wp));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    const INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                           MainDialogProc, 0);
    return result == -1 ? 1 : 0;
}
