// Engine set-up and test dialogs for the skinned dialog tests.
#include "DialogTestSupport.h"

#include <algorithm>
#include <thread>

#include "QorGraphicsEngineAPI.h"
#include "TestSkin.h"

namespace dialogtest {

void EngineEnvironment::Start()
{
    auto& env = Slot();
    env = std::make_unique<enginetest::RunningEngine>("SkinnedDialogTests");
    WriteTestSkin(env->folder.Path());
    env->app.SetDword("ShowGraphicsErrorDialogs", 1);
    env->ui.debugAnswer = true;
    env->ui.debugChoice.reportLoadFailures = true;
    env->Start();
}

void EngineEnvironment::Restart(bool reportLoadFailures)
{
    auto& env = Slot();
    // Shut down even after a failed start, which may have left part of the engine behind.
    env->api.ShutdownCleanup();
    env->ui.debugChoice.reportLoadFailures = reportLoadFailures;
    env->Start();
}

void EngineEnvironment::AllowGraphicsEditing(bool allow)
{
    Slot()->app.SetDword("AllowEditingOfGraphicsSettings", allow ? 1 : 0);
    Restart(true);
}

void EngineEnvironment::AllowEditing(bool graphics, bool text)
{
    Slot()->app.SetDword("AllowEditingOfGraphicsSettings", graphics ? 1 : 0);
    Slot()->app.SetDword("AllowEditingOfTextSettings", text ? 1 : 0);
    Restart(true);
}

BOOL SkinTestDialog::OnInitDialog()
{
    first.Bind(this, IDC_FIRST);
    second.Bind(this, IDC_SECOND);
    label.SubclassDlgItem(IDC_LABEL, this);
    hidden.Bind(this, IDC_HIDDEN);
    if (bindUnknown)
        unknown.Bind(this, IDC_UNKNOWN);
    EQorDialog::OnInitDialog();
    initialised = InitializeQorDialog(skinName_, kTransparent);
    return TRUE;
}

BOOL StretchTestDialog::OnInitDialog()
{
    first.Bind(this, IDC_FIRST);
    second.Bind(this, IDC_SECOND);
    EQorStretchDlg::OnInitDialog();
    initialised = InitializeQorDialog(skinName_, kTransparent);
    return TRUE;
}

BOOL RadioTestDialog::OnInitDialog()
{
    one.SubclassDlgItem(IDC_RADIO_ONE, this);
    two.SubclassDlgItem(IDC_RADIO_TWO, this);
    check.SubclassDlgItem(IDC_CHECK, this);
    menu.SubclassDlgItem(IDC_MENU_RADIO, this);
    EQorDialog::OnInitDialog();
    initialised = InitializeQorDialog("RadioDialog", kTransparent);
    return TRUE;
}

BOOL TrackingTestDialog::OnInitDialog()
{
    right.SubclassDlgItem(IDC_FIRST, this);
    corner.SubclassDlgItem(IDC_SECOND, this);
    still.SubclassDlgItem(IDC_HIDDEN, this);
    bottom.SubclassDlgItem(IDC_BOTTOM, this);
    grabber.SubclassDlgItem(IDC_GRABBER, this);
    EQorStretchDlg::OnInitDialog();
    initialised = InitializeQorDialog("TrackingDialog", kTransparent);
    return TRUE;
}

void DragWithMouse(POINT from, POINT to)
{
    bool finished = false;
    std::thread hand([&] {
        SetCursorPos(from.x, from.y);
        Sleep(150);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        Sleep(300);
        for (int step = 1; step <= 8; ++step) {
            SetCursorPos(from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8);
            Sleep(60);
        }
        Sleep(150);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        Sleep(200);
        finished = true;
    });
    testsupport::PumpMessages(10000, [&] { return finished; });
    hand.join();
    testsupport::PumpMessages(100);
}

}  // namespace dialogtest
