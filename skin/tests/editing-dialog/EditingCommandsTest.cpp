// The text template and dialog menu commands end to end: a skinned dialog run modally, its real
// context menus driven from a second thread, the editing dialogs answered there, and the
// documents, the live controls and saved and reloaded files checked.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "EditingSession.h"
#include "EditMenus.h"
#include "QorGraphicsEngineAPI.h"
#include "QorText_API.h"
#include "TestSkin.h"

using namespace dialogtest;
using namespace enginetest;
namespace editing = skelda::editing;

namespace {

class Environment : public ::testing::Environment {
    void SetUp() override { EngineEnvironment::Start(); }
    void TearDown() override { EngineEnvironment::Stop(); }
};
[[maybe_unused]] auto* const g_environment = ::testing::AddGlobalTestEnvironment(new Environment);

// Items of the text library's dialogs.
constexpr int kTemplateName = 1040, kXOffset = 1052, kTextColour = 1058;
constexpr int kAuxFile = 2802;
constexpr int kList = 1070, kDelete = 1071, kAdd = 1072, kCopy = 1073, kStop = 1074, kCurrent = 1075;
constexpr COLORREF kYellow = RGB(255, 255, 0), kRed = RGB(255, 0, 0);

void SelectTemplate(HWND chooser, const char* name)
{
    HWND list = GetDlgItem(chooser, kList);
    SendMessageA(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(kList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// Types each name into "Choose New Template Name" and presses OK; the last is accepted.
bool AnswerNewName(std::initializer_list<const char*> names)
{
    HWND ask = WaitForDialog("Choose New Template Name");
    if (!ask)
        return false;
    for (const char* name : names) {
        SetDlgItemTextA(ask, kTemplateName, name);
        Press(ask, IDOK);
    }
    return WaitGone(ask);
}

// Types each colour into the text values dialog titled `title` and presses OK (or Cancel for
// an empty list); the last colour is accepted.
bool AnswerValues(const char* title, std::initializer_list<const char*> colours)
{
    HWND values = WaitForDialog(title);
    if (!values)
        return false;
    for (const char* colour : colours) {
        SetDlgItemTextA(values, kTextColour, colour);
        Press(values, IDOK);
    }
    if (colours.size() == 0)
        Press(values, IDCANCEL);
    return WaitGone(values);
}

COLORREF LiveTextColour(const EQorButton& button)
{
    return button.TextColors().text[0];
}

std::vector<std::string> Captions()
{
    std::vector<std::string> captions;
    for (const auto& m : EngineEnvironment::Ui().messages)
        captions.push_back(m.caption);
    return captions;
}

std::string TemplateOf(int controlId)
{
    bool uses = false;
    std::string name;
    QorText_API().IsControlUsingTemplate(IDD_SKIN_TEST, controlId, &uses, &name);
    return name;
}

class TextTemplates : public EditingSession {
protected:
    void RunModal(const std::function<void(HWND)>& drive) { dialogtest::RunModal(dialog, drive); }

    EditableTestDialog dialog;
    QorText_API text;
};

}  // namespace

TEST_F(TextTemplates, UseTextTemplateRefusesBadNamesAndUsedDeletesCancelsWholeAndThenAppliesTheChoice)
{
    std::string currentAtStart, currentAfterAdd;
    bool stopEnabled = false;
    COLORREF before = 1, after = 1;
    RunModal([&](HWND window) {
        HWND first = GetDlgItem(window, IDC_FIRST);
        before = LiveTextColour(dialog.first);
        HWND chooser = OpenFromControlMenu(first, editing::kChooseTextTemplate, "Choose Template");
        ASSERT_TRUE(chooser);
        currentAtStart = FieldText(chooser, kCurrent);
        stopEnabled = IsWindowEnabled(GetDlgItem(chooser, kStop));
        Click(chooser, kAdd);
        ASSERT_TRUE(AnswerNewName({"", "Yellow", "Two words", "Blue"}));
        currentAfterAdd = FieldText(chooser, kCurrent);
        RedrawWindow(chooser, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        testsupport::CaptureWindow(chooser).SaveBmp(testsupport::OutputDir() + "choose-template.bmp");
        SelectTemplate(chooser, "Yellow");
        Press(chooser, kDelete);  // the second button uses it
        Press(chooser, IDCANCEL);
        ASSERT_TRUE(WaitGone(chooser));

        chooser = OpenFromControlMenu(first, editing::kChooseTextTemplate, "Choose Template");
        ASSERT_TRUE(chooser);
        SelectTemplate(chooser, "Yellow");
        Press(chooser, IDOK);
        ASSERT_TRUE(WaitGone(chooser));
        WaitFor([&] { return (after = LiveTextColour(dialog.first)) == kYellow; }, 5000);
    });
    EXPECT_EQ(currentAtStart, "<none defined>");
    EXPECT_TRUE(stopEnabled);
    EXPECT_EQ(currentAfterAdd, "Blue") << "a new template becomes the choice";
    EXPECT_EQ(Captions(), (std::vector<std::string>{"No Name Entered", "Template Name Already Exists",
                                                     "Name has Blanks", "Delete Template"}));
    EXPECT_FALSE(text.ButtonTemplateExists("Blue")) << "Cancel drops the templates added";
    EXPECT_TRUE(text.ButtonTemplateExists("Yellow"));
    EXPECT_EQ(TemplateOf(IDC_FIRST), "Yellow");
    EXPECT_TRUE(engine.GetTextChanged());
    EXPECT_EQ(before, 0u);
    EXPECT_EQ(after, kYellow) << "the button takes the template's colour";
    EXPECT_EQ(enginetest::ReadFile(textPath), originalText) << "nothing reaches the disk before a save";
}

TEST_F(TextTemplates, EditingAButtonsTemplateSavesToItOrToANewOneRedrawsAndSurvivesASaveAndRestart)
{
    auto& ui = EngineEnvironment::Ui();
    COLORREF afterYes = 1;
    RunModal([&](HWND window) {
        HWND second = GetDlgItem(window, IDC_SECOND);
        ASSERT_TRUE(ChooseFromControlMenu(second, editing::kEditButtonTextTemplates));
        ASSERT_TRUE(AnswerValues("Edit Button Control Template", {}));  // Cancel

        ui.messageAnswer = IDYES;  // save to the current template
        ASSERT_TRUE(ChooseFromControlMenu(second, editing::kEditButtonTextTemplates));
        ASSERT_TRUE(AnswerValues("Edit Button Control Template", {"red", "255"}));
        WaitFor([&] { return (afterYes = LiveTextColour(dialog.second)) == kRed; }, 5000);

        ui.messageAnswer = IDNO;  // create a new template
        ASSERT_TRUE(ChooseFromControlMenu(second, editing::kEditButtonTextTemplates));
        ASSERT_TRUE(AnswerValues("Edit Button Control Template", {"16711680"}));
        ASSERT_TRUE(AnswerNewName({"Blue"}));
        WaitFor([&] { return LiveTextColour(dialog.second) == 16711680u; }, 5000);
    });
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Please enter a number", "Save Current or Create New",
                                                     "Save Current or Create New"}));
    EXPECT_EQ(afterYes, kRed) << "the button redraws with the template's new values";
    EXPECT_EQ(LiveTextColour(dialog.second), 16711680u);
    QorButtonTextSettings yellow, blue;
    ASSERT_TRUE(text.GetButtonTemplateInfo("Yellow", &yellow));
    EXPECT_EQ(yellow.textColor[0], kRed);
    ASSERT_TRUE(text.GetButtonTemplateInfo("Blue", &blue));
    EXPECT_EQ(blue.textColor[0], 16711680u);
    EXPECT_EQ(blue.xOffsetDown, 1) << "the new template starts as a copy of the old";
    EXPECT_EQ(TemplateOf(IDC_SECOND), "Blue");

    ui.saveAnswer = textPath;
    ASSERT_TRUE(engine.SaveTextWork());
    EngineEnvironment::Restart(true);
    ASSERT_TRUE(EngineEnvironment::Running());
    EXPECT_EQ(TemplateOf(IDC_SECOND), "Blue");
    ASSERT_TRUE(text.GetButtonTemplateInfo("Yellow", &yellow));
    EXPECT_EQ(yellow.textColor[0], kRed);
    Shown<EditableTestDialog> again;
    ASSERT_TRUE(again.created);
    EXPECT_EQ(LiveTextColour(again.dialog.second), 16711680u) << "the reloaded button takes the new template";
}

TEST_F(TextTemplates, AStaticChoosesAndEditsATemplateOfItsOwnKind)
{
    auto& ui = EngineEnvironment::Ui();
    COLORREF afterChoice = 1, afterEdit = 1;
    std::string stopped;
    RunModal([&](HWND window) {
        HWND label = GetDlgItem(window, IDC_LABEL);
        // Transparent statics let the mouse through: the click lands on the face above them.
        HWND chooser = OpenFromMenu(window, ScreenCentre(label), editing::kChooseTextTemplate, "Choose Template");
        ASSERT_TRUE(chooser);
        Press(chooser, kCopy);  // nothing to copy yet
        Click(chooser, kAdd);
        ASSERT_TRUE(AnswerNewName({"Spare"}));
        Click(chooser, kAdd);
        ASSERT_TRUE(AnswerNewName({"Plain"}));
        SelectTemplate(chooser, "Spare");
        SelectTemplate(chooser, "Plain");
        Press(chooser, kStop);
        stopped = FieldText(chooser, kCurrent);
        SelectTemplate(chooser, "Spare");
        Press(chooser, kDelete);
        SelectTemplate(chooser, "Plain");
        Press(chooser, IDOK);
        ASSERT_TRUE(WaitGone(chooser));
        WaitFor([&] { return (afterChoice = dialog.label.TextSettings().textColor[0]) == 0; }, 5000);

        ui.messageAnswer = IDYES;
        ASSERT_TRUE(ChooseCommand(window, ScreenCentre(label), editing::kEditButtonTextTemplates));
        ASSERT_TRUE(AnswerValues("Edit Static Control Template", {"255"}));
        WaitFor([&] { return dialog.label.TextSettings().textColor[0] == kRed; }, 5000);
        afterEdit = dialog.label.TextSettings().textColor[0];
    });
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Copy To New Template", "Save Current or Create New"}));
    EXPECT_EQ(TemplateOf(IDC_LABEL), "Plain");
    EXPECT_TRUE(text.TransStaticTemplateExists("Plain"));
    EXPECT_FALSE(text.TransStaticTemplateExists("Spare")) << "added and deleted again";
    EXPECT_EQ(stopped, "<none defined>");
    EXPECT_FALSE(text.ButtonTemplateExists("Plain"));
    EXPECT_EQ(afterChoice, 0u) << "the new template's black, not the label's own white";
    EXPECT_EQ(afterEdit, kRed);
}

TEST_F(TextTemplates, CreateCopyIntoAndCopyFromButtonTemplates)
{
    QorButtonTextSettings own;
    own.xOffsetUp = 4;
    own.textColor[0] = kRed;
    ASSERT_TRUE(text.SetButtonCtrlInfo(IDD_SKIN_TEST, IDC_FIRST, own));
    bool stopEnabled = true;
    COLORREF live = 1;
    RunModal([&](HWND window) {
        HWND first = GetDlgItem(window, IDC_FIRST);
        ASSERT_TRUE(ChooseFromControlMenu(first, editing::kCreateTextTemplate));
        ASSERT_TRUE(AnswerNewName({"", "Yellow", "Green"}));
        HWND values = WaitForDialog("Edit Button Control Template");
        ASSERT_TRUE(values);
        SetDlgItemTextA(values, kXOffset, "3");
        Press(values, IDOK);
        ASSERT_TRUE(WaitGone(values));

        HWND chooser = OpenFromControlMenu(first, editing::kCopyTextToTemplate, "Choose Template");
        ASSERT_TRUE(chooser);
        stopEnabled = IsWindowEnabled(GetDlgItem(chooser, kStop));
        Press(chooser, IDOK);  // nothing picked
        SelectTemplate(chooser, "Green");
        Press(chooser, IDOK);
        ASSERT_TRUE(WaitGone(chooser));

        chooser = OpenFromControlMenu(first, editing::kCopyTextTemplate, "Choose Template");
        ASSERT_TRUE(chooser);
        SelectTemplate(chooser, "Yellow");
        Press(chooser, IDOK);
        ASSERT_TRUE(WaitGone(chooser));
        WaitFor([&] { return (live = LiveTextColour(dialog.first)) == kYellow; }, 5000);
    });
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Name is Empty", "New Template Name Not Unique", "Choose Template"}));
    EXPECT_FALSE(stopEnabled) << "picking a template to work on cannot choose none";
    QorButtonTextSettings green, first;
    ASSERT_TRUE(text.GetButtonTemplateInfo("Green", &green));
    EXPECT_EQ(green.xOffsetUp, 4) << "the button's values replaced the 3 typed at creation";
    EXPECT_EQ(green.textColor[0], kRed);
    ASSERT_TRUE(text.GetButtonCtrlInfo(IDD_SKIN_TEST, IDC_FIRST, &first));
    EXPECT_EQ(first.textColor[0], kYellow) << "the template's values became the button's own";
    EXPECT_EQ(TemplateOf(IDC_FIRST), "") << "copying values does not make it use the template";
    EXPECT_EQ(live, kYellow);
}

using DialogCommands = TextTemplates;

TEST_F(DialogCommands, AuxiliaryFilenamesRefuseAFileThatDoesNotLoadAndWaitForARestartPlacementToggles)
{
    const std::string skin = EngineEnvironment::SkinPath() + "\\";
    std::string shownAtStart;
    char placementText[64] = {};
    RunModal([&](HWND window) {
        POINT face{225, 80};  // on the face, clear of every control
        ClientToScreen(window, &face);
        HWND aux = OpenFromMenu(window, face, editing::kChangeAuxBitmaps, "Set Auxiliary Bitmap Filenames");
        ASSERT_TRUE(aux);
        shownAtStart = FieldText(aux, kAuxFile);
        RedrawWindow(aux, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        testsupport::CaptureWindow(aux).SaveBmp(testsupport::OutputDir() + "aux-bitmaps.bmp");
        SetDlgItemTextA(aux, kAuxFile, (skin + "garbage.bmp").c_str());
        Press(aux, IDOK);
        SetDlgItemTextA(aux, kAuxFile, (skin + "tab.bmp").c_str());
        Press(aux, IDOK);
        ASSERT_TRUE(WaitGone(aux));

        aux = OpenFromMenu(window, face, editing::kChangeAuxBitmaps, "Set Auxiliary Bitmap Filenames");
        ASSERT_TRUE(aux);
        SetDlgItemTextA(aux, kAuxFile, (skin + "markon.bmp").c_str());
        Press(aux, IDCANCEL);
        ASSERT_TRUE(WaitGone(aux));

        ASSERT_TRUE(ChooseCommand(window, face, editing::kTogglePlacementControls));
        WaitFor([&] {
            HMENU menu = dialog.CreateDialogEditMenu();
            GetMenuStringA(menu, editing::kTogglePlacementControls, placementText, sizeof(placementText), MF_BYCOMMAND);
            DestroyMenu(menu);
            return std::string(placementText) == "Disable and Hide Placement Controls";
        }, 5000);
    });
    EXPECT_EQ(shownAtStart, skin + "extra.bmp");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Set Auxiliary Bitmap Filenames", "Exit and Re-run to See Changes"}));
    EXPECT_TRUE(EngineEnvironment::Ui().Shown("The bitmap file could not be loaded:  " + skin + "garbage.bmp"));
    EXPECT_TRUE(engine.GetGraphicsChanged());
    EXPECT_EQ(std::string(placementText), "Disable and Hide Placement Controls");
    EXPECT_EQ(enginetest::ReadFile(graphicsPath), originalGraphics) << "nothing reaches the disk before a save";

    EngineEnvironment::Ui().saveAnswer = graphicsPath;
    ASSERT_TRUE(engine.SaveGraphicsWork());
    const std::string saved = enginetest::DialogElementText(graphicsPath, "TestDialog");
    EXPECT_NE(saved.find("BitmapFile=\"tab.bmp\" EntryId=\"7\""), std::string::npos) << saved;
    EngineEnvironment::Restart(true);
    Shown<EditableTestDialog> again;
    ASSERT_TRUE(again.created);
    std::string path;
    ASSERT_TRUE(again.dialog.GetAuxBitmapFilename(7, &path));
    EXPECT_EQ(path, skin + "tab.bmp") << "the new file after a restart";
}
