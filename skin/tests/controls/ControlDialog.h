#pragma once
// The skinned control dialog tests' engine and dialog: the engine runs over the control test
// skin laid out next to the test program, and the dialog binds one control of every kind to
// its items through data exchange.
#include <windows.h>

#include <utility>
#include <vector>

#include "EQorButton.h"
#include "EQorDialog.h"
#include "EQorEdit.h"
#include "EQorGenericControls.h"
#include "EQorSlider.h"
#include "EngineTestSupport.h"

namespace controltest {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

class EngineEnvironment {
public:
    static void Start();
    static void Stop();
    static bool Running();
    static enginetest::RecordingUi& Ui();
};

class ControlsDialog : public EQorDialog {
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
    bool initialised = false;

    // The control table: id and kind of each registered control, in registration order.
    std::vector<std::pair<int, eControlType>> Registered() const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};

}  // namespace controltest
