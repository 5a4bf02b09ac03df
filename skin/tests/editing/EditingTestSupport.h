#pragma once
// The control graphics editing tests' engine (graphics editing allowed, over a skin written
// next to the test program), their dialogs, and a second thread that picks an entry of the
// real context menu by its text and then answers the editing dialog it opens.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "EQorButton.h"
#include "EQorDialog.h"
#include "EQorEdit.h"
#include "EQorGenericControls.h"
#include "EQorSlider.h"
#include "EQorStretchDlg.h"
#include "EQorTransparentStatic.h"
#include "EditDriver.h"
#include "EngineTestSupport.h"
#include "QorGraphicsEngineAPI.h"

namespace editingtest {

constexpr COLORREF kTransparent = RGB(255, 0, 255);
// Sizes of the skin's bitmaps: a button's own, the two templates', the picture's, a big one.
constexpr SIZE kOwnSize{60, 24}, kBlueSize{50, 20}, kGreenSize{40, 30}, kPictureSize{30, 30}, kBigSize{80, 30};

class EngineEnvironment : public enginetest::SharedEngine {
public:
    // Writes the skin (`withTemplates` false leaves the template list empty) and starts the
    // engine with graphics editing allowed.
    static void Start(bool withTemplates = true);
    // Starts the engine again over the skin as it is on disk.
    static void Restart();
};

class ControlsDialog : public EQorDialog {
public:
    ControlsDialog();
    EQorButton button, templated;
    EQorStaticBitmap picture;
    EQorSlider slider;
    EQorEdit edit;
    EQorTransparentStatic label;
    EQorTransparentRadio radio;
    EQorProgressBarGeneric progress;
    bool initialised = false;

protected:
    BOOL OnInitDialog() override;
};

class StretchDialog : public EQorStretchDlg {
public:
    StretchDialog();
    EQorButton button;
    bool initialised = false;

protected:
    BOOL OnInitDialog() override;
};

// The dialog made modeless and shown without activation; destroyed at the end.
template <class Dialog>
struct Shown {
    Shown()
    {
        created = dialog.Create(dialog.GetTemplateID()) && dialog.initialised;
        if (created)
            dialog.SetWindowPos(HWND_TOPMOST, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
    ~Shown()
    {
        if (dialog.GetSafeHwnd())
            dialog.DestroyWindow();
    }
    Dialog dialog;
    bool created = false;
};

struct MenuEdit {
    bool entryFound = false;   // the menu showed the entry
    bool entryEnabled = false;
    bool dialogShown = false;  // the dialog titled as expected appeared and was answered
    bool result = false;       // what the command reported
};

// Opens the control's editing menu, picks `entry` with the keyboard, and lets `answer` act on
// the dialog titled `title` from a second thread; `answer` must end it (Ok or Cancel).
MenuEdit EditFromMenu(EQorDialog& dialog, int controlId, const std::string& entry, const std::string& title,
                      const std::function<void(HWND)>& answer);

// Acting on the dialog from the second thread: each returns once the dialog has handled it.
using enginetest::Cancel;
using enginetest::FieldText;
using enginetest::Ok;
using enginetest::Tick;
using enginetest::Type;

// An attribute of the control's element in the dialog's in-memory document; "<absent>" when
// the element or the attribute is missing.
std::string Attribute(const EQorDialog& dialog, int controlId, const char* name);
using enginetest::PlaceInParent;
using enginetest::WindowSize;

// Each test starts with no message recorded and nothing changed.
class ControlEditing : public ::testing::Test {
protected:
    void SetUp() override;
    QorGraphicsEngineAPI engine;
};

}  // namespace editingtest
