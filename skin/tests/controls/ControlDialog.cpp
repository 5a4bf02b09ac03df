// Engine set-up and the test dialog of the skinned control dialog tests.
#include "ControlDialog.h"

#include <memory>

#include "ControlTestIds.h"
#include "ControlTestSkin.h"
#include "framework/DataExchange.h"

namespace controltest {

void EngineEnvironment::Start()
{
    auto& env = Slot();
    env = std::make_unique<enginetest::RunningEngine>("SkinnedControlTests");
    WriteControlSkin(env->folder.Path());
    // Any control without an element would ask to add one; the tests answer No.
    env->ui.messageAnswer = IDNO;
    env->Start();
}

std::vector<std::pair<int, eControlType>> TestDialog::Registered() const
{
    std::vector<std::pair<int, eControlType>> table;
    for (const auto& entry : Controls())
        table.emplace_back(entry.id, entry.type);
    return table;
}

ControlsDialog::ControlsDialog() : TestDialog(IDD_CONTROLS_TEST) {}

void ControlsDialog::DoDataExchange(CDataExchange* pDX)
{
    TestDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SKIN_BUTTON, button);
    DDX_Control(pDX, IDC_BROKEN_BUTTON, brokenButton);
    DDX_Control(pDX, IDC_MIXED_BUTTON, mixedButton);
    DDX_Control(pDX, IDC_SKIN_SLIDER, slider);
    DDX_Control(pDX, IDC_BROKEN_SLIDER, brokenSlider);
    DDX_Control(pDX, IDC_SKIN_EDIT, edit);
    DDX_Control(pDX, IDC_GENERIC_COMBO, combo);
    DDX_Control(pDX, IDC_GENERIC_PROGRESS, progress);
    DDX_Control(pDX, IDC_GENERIC_SLIDER, genericSlider);
    DDX_Control(pDX, IDC_GENERIC_LIST, list);
    DDX_Control(pDX, IDC_GENERIC_SPIN, spin);
    DDX_Control(pDX, IDC_PLACEMENT, placement);
    DDX_Control(pDX, IDC_PLACEMENT_NONE, placementNone);
    DDX_Control(pDX, IDC_PLAIN_COMBO, plainCombo);
}

BOOL ControlsDialog::OnInitDialog()
{
    TestDialog::OnInitDialog();
    initialised = InitializeQorDialog("ControlsDialog", kTransparent);
    return TRUE;
}

ControlSetDialog::ControlSetDialog() : TestDialog(IDD_CONTROL_SET_TEST) {}

BOOL ControlSetDialog::OnInitDialog()
{
    TestDialog::OnInitDialog();
    bound = controls.Bind(*this, "ControlSetDialog");
    initialised = InitializeQorDialog("ControlSetDialog", kTransparent);
    return TRUE;
}

}  // namespace controltest
