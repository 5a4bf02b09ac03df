#pragma once
// The editing-mode tests' common ground over the test skin: the test template with real
// skinned controls bound as a program binds them, a modal run driven from a second thread, and
// a fixture that allows editing and puts the skin and text files back afterwards.
#include <functional>
#include <string>

#include "DialogTestSupport.h"
#include "EditDriver.h"
#include "QorGraphicsEngineAPI.h"

namespace dialogtest {

class EditableTestDialog : public EQorDialog {
public:
    EditableTestDialog() : EQorDialog(IDD_SKIN_TEST) {}
    EQorButton first, second;
    EQorTransparentStatic label;
    bool initialised = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};

// Runs `dialog` modally while `drive` acts on it from a second thread once it shows; whatever
// the drive leaves open (a menu, another dialog, the dialog itself) is closed afterwards.
INT_PTR RunModal(EQorDialog& dialog, const std::function<void(HWND)>& drive);

// Graphics and text editing allowed; questions answered No; both files restored at the end.
class EditingSession : public RunningEngineTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string graphicsPath, textPath, originalGraphics, originalText;
    QorGraphicsEngineAPI engine;
};

}  // namespace dialogtest
