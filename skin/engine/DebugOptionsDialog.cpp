// The debug options dialog, built on a plain Win32 dialog procedure.
#include "DebugOptionsDialog.h"

#include "DialogTemplate.h"

namespace skelda {
namespace {

INT_PTR CALLBACK DebugOptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* options = reinterpret_cast<QorDebugOptions*>(GetWindowLongPtrA(dialog, DWLP_USER));
            options->reportMissingBitmaps = IsDlgButtonChecked(dialog, kReportMissingBitmapsCheck) == BST_CHECKED;
            options->assertOnMissingXmlEntries =
                IsDlgButtonChecked(dialog, kAssertOnMissingEntriesCheck) == BST_CHECKED;
            options->reportLoadFailures = IsDlgButtonChecked(dialog, kReportLoadFailuresCheck) == BST_CHECKED;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

bool RunDebugOptionsDialog(HWND owner, QorDebugOptions* options)
{
    win32ui::DialogTemplate t("Graphics Debug Options", 240, 84);
    t.AddCheckBox(kReportMissingBitmapsCheck, "Display Dialog when framework can't locate bitmap file", 10, 8, 222, 12);
    t.AddCheckBox(kAssertOnMissingEntriesCheck, "Assert if entries not found in Graphics XML file", 10, 24, 222, 12);
    t.AddCheckBox(kReportLoadFailuresCheck, "Display Dialog when Engine can't load properly", 10, 40, 222, 12);
    t.AddButton(IDOK, "OK", 124, 62, 50, 15, true);
    t.AddButton(IDCANCEL, "Cancel", 182, 62, 50, 15);
    QorDebugOptions chosen;
    if (t.Run(owner, DebugOptionsProc, reinterpret_cast<LPARAM>(&chosen)) != IDOK)
        return false;
    *options = chosen;
    return true;
}

}  // namespace skelda
