#pragma once
// The running engine over the test skin, the test dialogs and small measuring helpers shared
// by the skinned dialog tests.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "EQorButton.h"
#include "EQorDialog.h"
#include "EQorStretchDlg.h"
#include "EQorTransparentStatic.h"
#include "EngineTestSupport.h"
#include "GdiObjectCount.h"
#include "TestControls.h"
#include "TestDialogIds.h"
#include "TestSupport.h"

namespace dialogtest {

// Starts the engine once over the test skin (laid out next to the test program) with the
// debug option for load failures on, and shuts it down at the end.
class EngineEnvironment : public enginetest::SharedEngine {
public:
    static void Start();
    // Restarts the engine with the debug option for load failures on or off.
    static void Restart(bool reportLoadFailures);
    // Restarts the engine with graphics editing allowed or not (the load failure option on).
    static void AllowGraphicsEditing(bool allow);
    // Restarts the engine with graphics and text editing allowed or not.
    static void AllowEditing(bool graphics, bool text);
};

// The test template with skinned test controls bound to its items.
class SkinTestDialog : public EQorDialog {
public:
    explicit SkinTestDialog(std::string skinName = "TestDialog") : EQorDialog(IDD_SKIN_TEST), skinName_(std::move(skinName)) {}
    TestButton first{eQorButton}, second{eQorButton}, hidden{eQorButton}, unknown{eQorButton};
    EQorTransparentStatic label;
    bool initialised = false;
    bool bindUnknown = false;
    std::vector<int> shownHidden;
    std::vector<WPARAM> commands;  // WM_COMMAND that reached the dialog, hidden-dialog ones aside

    bool ShowHiddenDlg(int dialogId) override
    {
        shownHidden.push_back(dialogId);
        return true;
    }
    CToolTipCtrl& ToolTip() { return m_toolTip; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        const size_t shown = shownHidden.size();
        const BOOL handled = EQorDialog::OnCommand(wParam, lParam);
        if (shownHidden.size() == shown)
            commands.push_back(wParam);
        return handled;
    }

private:
    std::string skinName_;
};

class StretchTestDialog : public EQorStretchDlg {
public:
    explicit StretchTestDialog(std::string skinName = "StretchDialog")
        : EQorStretchDlg(IDD_STRETCH_TEST), skinName_(std::move(skinName))
    {
    }
    TestButton first{eQorButton}, second{eQorButton};
    bool initialised = false;

protected:
    BOOL OnInitDialog() override;

private:
    std::string skinName_;
};

// Transparent radio buttons over the face: two radios, a check box and a menu radio button
// (item id below 50, so, as in the menu, it shares element 50).
class RadioTestDialog : public EQorDialog {
public:
    RadioTestDialog() : EQorDialog(IDD_RADIO_TEST) { m_sharedEntryMode = 2; }
    EQorTransparentRadio one, two, check, menu{true};
    bool initialised = false;

protected:
    BOOL OnInitDialog() override;
};

// A stretch dialog with real skinned buttons that follow its edges by their tracking data.
class TrackingTestDialog : public EQorStretchDlg {
public:
    TrackingTestDialog() : EQorStretchDlg(IDD_TRACKING_TEST) {}
    EQorButton right, corner, still, bottom;
    EQorGrabberButton grabber;
    bool initialised = false;

protected:
    BOOL OnInitDialog() override;
};

// A modeless skinned dialog, shown without activation, destroyed at the end.
template <class Dialog>
struct Shown {
    template <class... Args>
    explicit Shown(Args&&... args) : dialog(std::forward<Args>(args)...)
    {
        created = dialog.Create(dialog.GetTemplateID());
        if (created) {
            dialog.ShowWindow(SW_SHOWNOACTIVATE);
            testsupport::PumpMessages(150);
        }
    }
    ~Shown()
    {
        if (dialog.GetSafeHwnd())
            dialog.DestroyWindow();
        testsupport::PumpMessages(20);
    }
    Dialog dialog;
    bool created = false;
};

// Presses the left button at `from` (screen), drags to `to` in steps and releases, with the
// real mouse from a second thread while this one pumps messages.
void DragWithMouse(POINT from, POINT to);

// Each test starts over the running engine with no message shown yet; questions are answered No.
class RunningEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(EngineEnvironment::Running()) << "engine did not start";
        EngineEnvironment::Ui().messages.clear();
        EngineEnvironment::Ui().messageAnswer = IDNO;
    }
};

using testsupport::GdiObjectCount;

}  // namespace dialogtest
