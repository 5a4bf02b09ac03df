#pragma once
// The skinned control dialog tests' engine, dialogs and fixture: the engine runs over the
// control test skin laid out next to the test program; one dialog binds a control of every
// kind to its items through data exchange, the other lets a skinned control set bind them.
#include <windows.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "EQorButton.h"
#include "EQorDialog.h"
#include "EQorEdit.h"
#include "EQorGenericControls.h"
#include "EQorSkinnedControlSet.h"
#include "EQorSlider.h"
#include "EngineTestSupport.h"
#include "TestSupport.h"

namespace controltest {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

class EngineEnvironment : public enginetest::SharedEngine {
public:
    static void Start();
};

// A skinned test dialog that shows its control table.
class TestDialog : public EQorDialog {
public:
    explicit TestDialog(UINT id) : EQorDialog(id) {}

    bool initialised = false;

    // The control table: id and kind of each registered control, in registration order.
    std::vector<std::pair<int, eControlType>> Registered() const;
};

class ControlsDialog : public TestDialog {
public:
    ControlsDialog();

    EQorButton button, brokenButton, mixedButton;
    EQorSlider slider, brokenSlider;
    EQorEdit edit;
    EQorComboBoxGeneric combo, plainCombo;
    EQorProgressBarGeneric progress;
    EQorSliderCtrlGeneric genericSlider;
    EQorListControlGeneric list;
    EQorSpinButton spin;
    EQorGenericAdjusterControl placement, placementNone;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};

// A dialog without a member per control: a skinned control set binds its items.
class ControlSetDialog : public TestDialog {
public:
    ControlSetDialog();

    EQorSkinnedControlSet controls;
    int bound = 0;

    // The object the set bound to item `id` when it is a `Control`, else null.
    template <class Control>
    Control* Bound(int id) const
    {
        return dynamic_cast<Control*>(CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, id)));
    }

protected:
    BOOL OnInitDialog() override;
};

// Each test gets the dialog created from its template and shown topmost without taking the
// focus, over the running engine; it is destroyed afterwards.
template <class Dialog>
class ShownDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(EngineEnvironment::Running()) << "engine did not start";
        EngineEnvironment::Ui().messages.clear();
        ASSERT_TRUE(dialog.Create(static_cast<UINT>(dialog.GetDlgResID())));
        ASSERT_TRUE(dialog.initialised);
        dialog.SetWindowPos(HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        testsupport::PumpMessages(200);
    }

    void TearDown() override
    {
        if (dialog.GetSafeHwnd())
            dialog.DestroyWindow();
        testsupport::PumpMessages(20);
    }

    // `control` as the screen shows it once it has painted itself again, frame included.
    static testsupport::ScreenImage Shown(HWND control)
    {
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        testsupport::PumpMessages(60);
        return testsupport::CaptureWindow(control);
    }

    Dialog dialog;
};

}  // namespace controltest
