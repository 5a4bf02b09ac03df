#pragma once
// The running engine over the test skin, the test dialogs and small measuring helpers shared
// by the skinned dialog tests.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "EQorDialog.h"
#include "EQorStretchDlg.h"
#include "EngineTestSupport.h"
#include "TestControls.h"
#include "TestDialogIds.h"

namespace dialogtest {

// Starts the engine once over the test skin (laid out next to the test program) with the
// debug option for load failures on, and shuts it down at the end.
class EngineEnvironment {
public:
    static void Start();
    static void Stop();
    static bool Running();
    // Restarts the engine with the debug option for load failures on or off.
    static void Restart(bool reportLoadFailures);
    static enginetest::RecordingUi& Ui();
    static std::string SkinPath();
};

// The test template with skinned test controls bound to its items.
class SkinTestDialog : public EQorDialog {
public:
    explicit SkinTestDialog(std::string skinName = "TestDialog") : EQorDialog(IDD_SKIN_TEST), skinName_(std::move(skinName)) {}
    TestButton first{eQorButton}, second{eQorButton}, hidden{eQorButton}, unknown{eQorButton};
    TestLabel label{eQorTransparentStatic};
    bool initialised = false;
    bool bindUnknown = false;
    std::vector<int> shownHidden;

    bool ShowHiddenDlg(int dialogId) override
    {
        shownHidden.push_back(dialogId);
        return true;
    }

protected:
    BOOL OnInitDialog() override;

private:
    std::string skinName_;
};

class StretchTestDialog : public EQorStretchDlg {
public:
    StretchTestDialog() : EQorStretchDlg(IDD_STRETCH_TEST) {}
    TestButton first{eQorButton}, second{eQorButton};
    bool initialised = false;

protected:
    BOOL OnInitDialog() override;
};

// Live GDI objects of this process (Wine does not answer GetGuiResources for GDI objects).
DWORD GdiObjectCount();

}  // namespace dialogtest
