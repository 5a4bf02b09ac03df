// The design-time editing mode end to end: a skinned dialog run modally as the program runs
// its windows, driven from a second thread by real mouse input and posted keys; edits saved to
// the skin and text files and seen again after the engine starts anew.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "EditingSession.h"
#include "EQorButton.h"
#include "EQorTransparentStatic.h"
#include "EditMenus.h"
#include "QorText_API.h"
#include "TestSkin.h"

using namespace dialogtest;
using enginetest::ScreenCentre;
using enginetest::VisibleMenuWindow;
using enginetest::WaitFor;
namespace editing = skelda::editing;

namespace {

// Answers the next "Set Control ..." dialog with `texts` in its first rows.
std::thread AnswerTextDialog(const char* title, std::vector<std::string> texts, std::atomic<bool>* answered)
{
    return std::thread([title, texts, answered] {
        HWND found = nullptr;
        WaitFor([&] { return (found = FindWindowA("#32770", title)) != nullptr; });
        if (!found)
            return;
        Sleep(100);
        for (size_t i = 0; i < texts.size(); ++i)
            SetDlgItemTextA(found, 1010 + static_cast<int>(i), texts[i].c_str());
        PostMessageA(found, WM_COMMAND, IDOK, 0);
        *answered = true;
    });
}

class EditingMode : public EditingSession {};

}  // namespace

TEST_F(EditingMode, LockControlInPlaceFromTheMenuKeepsTheDialogOpenAndTogglesTheLock)
{
    EditableTestDialog dialog;
    bool openAfterUnlock = false, openAfterLock = false, unlocked = false, lockedAgain = false;
    const INT_PTR result = RunModal(dialog, [&](HWND window) {
        for (int round = 0; round < 2; ++round) {
            HWND button = GetDlgItem(window, IDC_FIRST);
            const POINT centre = ScreenCentre(button);
            SetCursorPos(centre.x, centre.y);
            PostMessageA(button, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
            HWND menu = nullptr;
            WaitFor([&] { return (menu = VisibleMenuWindow()) != nullptr; });
            if (!menu)
                break;
            Sleep(150);
            // The graphics sub-menu, then its first entry: the lock.
            for (WPARAM key : {VK_DOWN, VK_RIGHT, VK_RETURN}) {
                PostMessageA(menu, WM_KEYDOWN, key, 0);
                Sleep(150);
            }
            WaitFor([&] { return VisibleMenuWindow() == nullptr; });
            Sleep(300);
            const bool open = IsWindow(window) && IsWindowVisible(window);
            (round == 0 ? openAfterUnlock : openAfterLock) = open;
            (round == 0 ? unlocked : lockedAgain) =
                round == 0 ? !dialog.IsControlLocked(IDC_FIRST) : dialog.IsControlLocked(IDC_FIRST);
        }
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL) << "the menu's command 1 never reached the dialog as OK";
    EXPECT_TRUE(openAfterUnlock);
    EXPECT_TRUE(unlocked) << "\"Unlock Control (Allow Drag)\" unlocked it";
    EXPECT_TRUE(openAfterLock);
    EXPECT_TRUE(lockedAgain) << "\"Lock Control in Place\" locked it again";
    EXPECT_FALSE(engine.GetGraphicsChanged()) << "locking changes nothing in the skin";
}

TEST_F(EditingMode, AControlDraggedAndSavedReappearsThereAfterARestartAndNothingIsWrittenBefore)
{
    EditableTestDialog dialog;
    POINT before{}, after{};
    const INT_PTR result = RunModal(dialog, [&](HWND window) {
        HWND button = GetDlgItem(window, IDC_SECOND);
        RECT rect{};
        GetWindowRect(button, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        before = {rect.left, rect.top};
        dialog.RunControlEditCommand(IDC_SECOND, editing::kToggleLock);
        const POINT from = ScreenCentre(button);
        SetCursorPos(from.x, from.y);
        Sleep(150);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        Sleep(250);
        for (int step = 1; step <= 5; ++step) {
            SetCursorPos(from.x + 2 * step, from.y + step);
            Sleep(60);
        }
        Sleep(150);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        Sleep(300);
        GetWindowRect(button, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        after = {rect.left, rect.top};
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(after.x - before.x, 10);
    EXPECT_EQ(after.y - before.y, 5);
    EXPECT_TRUE(engine.GetGraphicsChanged());
    EXPECT_EQ(enginetest::ReadFile(graphicsPath), originalGraphics) << "nothing reaches the disk before a save";

    EngineEnvironment::Ui().saveAnswer = graphicsPath;
    ASSERT_TRUE(engine.SaveGraphicsWork());
    EXPECT_FALSE(engine.GetGraphicsChanged());
    EXPECT_TRUE(EngineEnvironment::Ui().Shown("Work saved to " + graphicsPath + " successfully"));

    EngineEnvironment::Restart(true);
    ASSERT_TRUE(EngineEnvironment::Running());
    Shown<EditableTestDialog> again;
    ASSERT_TRUE(again.created);
    RECT rect{};
    GetWindowRect(again.dialog.second.GetSafeHwnd(), &rect);
    MapWindowPoints(nullptr, again.dialog.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, before.x + 10);
    EXPECT_EQ(rect.top, before.y + 5);
}

TEST_F(EditingMode, ArrowKeysMoveOnlyAnUnlockedSelectedControl)
{
    Shown<EditableTestDialog> shown;
    ASSERT_TRUE(shown.created);
    EditableTestDialog& d = shown.dialog;
    int x = 0, y = 0;
    d.first.GetXY(&x, &y);
    MSG key{d.first.GetSafeHwnd(), WM_KEYDOWN, VK_RIGHT, 0, 0, {}};
    d.RunControlEditCommand(IDC_FIRST, editing::kToggleLock);  // unlocked and selected
    ASSERT_EQ(d.GetSelectedControlId(), IDC_FIRST);
    EXPECT_TRUE(d.PreTranslateMessage(&key));
    key.wParam = VK_DOWN;
    EXPECT_TRUE(d.PreTranslateMessage(&key));
    int nx = 0, ny = 0;
    d.first.GetXY(&nx, &ny);
    EXPECT_EQ(nx, x + 1);
    EXPECT_EQ(ny, y + 1);
    EXPECT_TRUE(engine.GetGraphicsChanged());
    d.RunControlEditCommand(IDC_FIRST, editing::kToggleLock);  // locked again
    d.PreTranslateMessage(&key);
    d.first.GetXY(&nx, &ny);
    EXPECT_EQ(ny, y + 1) << "a locked control stays";
}

TEST_F(EditingMode, ASaveToAReadOnlyFileReportsKeepsTheChangesAndLeavesTheFileWhole)
{
    engine.SetGraphicsChanged(true);
    SetFileAttributesA(graphicsPath.c_str(), FILE_ATTRIBUTE_READONLY);
    auto& ui = EngineEnvironment::Ui();
    ui.saveAnswer = graphicsPath;
    EXPECT_FALSE(engine.SaveGraphicsWork());
    EXPECT_TRUE(ui.Shown("Error saving to:  " + graphicsPath + "\r\r    Make sure the file is not write protected."));
    EXPECT_EQ(ui.messages.back().caption, "File Save Error");
    EXPECT_TRUE(engine.GetGraphicsChanged()) << "still offered at shutdown";
    EXPECT_EQ(enginetest::ReadFile(graphicsPath), originalGraphics);

    ui.saveAnswer.clear();  // the save dialog cancelled
    EXPECT_FALSE(engine.SaveGraphicsWork());
    EXPECT_TRUE(engine.GetGraphicsChanged()) << "a cancelled save keeps the changes marked";

    // A name without an extension gets ".xml"; no temporary file is left behind.
    SetFileAttributesA(graphicsPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::string copy = EngineEnvironment::SkinPath() + "\\Copy";
    ui.saveAnswer = copy;
    EXPECT_TRUE(engine.SaveGraphicsWork());
    EXPECT_FALSE(enginetest::ReadFile(copy + ".xml").empty());
    DeleteFileA((copy + ".xml").c_str());
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((EngineEnvironment::SkinPath() + "\\qsv*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "left behind: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

TEST_F(EditingMode, EditedCaptionsAndTooltipsAreSavedAndReloaded)
{
    Shown<EditableTestDialog> shown;
    ASSERT_TRUE(shown.created);
    EditableTestDialog& d = shown.dialog;
    std::atomic<bool> answered{false};
    std::thread tooltips = AnswerTextDialog("Set Control Tooltips", {"New tip", "Tip one"}, &answered);
    EXPECT_TRUE(d.RunControlEditCommand(IDC_FIRST, editing::kChangeTooltips));
    tooltips.join();
    ASSERT_TRUE(answered);
    EXPECT_EQ(d.GetToolTipText(d.first.GetSafeHwnd()), "New tip");
    answered = false;
    std::thread captions = AnswerTextDialog("Set Control Captions", {"Begin", "End"}, &answered);
    EXPECT_TRUE(d.RunControlEditCommand(IDC_FIRST, editing::kChangeCaptions));
    captions.join();
    ASSERT_TRUE(answered);
    EXPECT_EQ(d.first.CurrentCaption(), "Begin");
    EXPECT_TRUE(engine.GetTextChanged());
    EXPECT_EQ(enginetest::ReadFile(textPath), originalText) << "nothing reaches the disk before a save";

    // Shutdown offers to save the text; the answer Yes saves it over the text file.
    d.DestroyWindow();
    auto& ui = EngineEnvironment::Ui();
    ui.messageAnswer = IDYES;
    ui.saveAnswer = textPath;
    engine.ShutdownCleanup();
    EXPECT_TRUE(ui.Shown("You have made changes to the Text settings.  Do you want to save your changes?"));
    EngineEnvironment::Restart(true);
    ASSERT_TRUE(EngineEnvironment::Running());
    Shown<EditableTestDialog> again;
    ASSERT_TRUE(again.created);
    EXPECT_EQ(again.dialog.GetToolTipText(again.dialog.first.GetSafeHwnd()), "New tip");
    EXPECT_EQ(again.dialog.first.CurrentCaption(), "Begin");
    ASSERT_TRUE(again.dialog.first.SetIdentity(1));
    EXPECT_EQ(again.dialog.first.CurrentCaption(), "End");
    EXPECT_EQ(again.dialog.GetToolTipText(again.dialog.first.GetSafeHwnd()), "Tip one");
}

TEST_F(EditingMode, ShutdownOffersToSaveMovedControlsWrittenByTheOpenDialog)
{
    Shown<EditableTestDialog> shown;
    ASSERT_TRUE(shown.created);
    ASSERT_TRUE(shown.dialog.MoveControlForEditing(IDC_FIRST, 7, 3));
    auto& ui = EngineEnvironment::Ui();
    ui.messageAnswer = IDYES;
    ui.saveAnswer = graphicsPath;
    // The dialog is still open: shutdown has it write its edits before saving.
    engine.ShutdownCleanup();
    EXPECT_TRUE(ui.Shown("You have made changes to the Graphics settings.  Do you want to save your changes?"));
    const std::string saved = enginetest::DialogElementText(graphicsPath, "TestDialog");
    EXPECT_NE(saved.find("ControlXOffset=\"47\" ControlYOffset=\"33\""), std::string::npos) << saved;
}

TEST_F(EditingMode, ABitmapThatDoesNotLoadKeepsTheFaceAndItsPath)
{
    Shown<EditableTestDialog> shown;
    ASSERT_TRUE(shown.created);
    EditableTestDialog& d = shown.dialog;
    ASSERT_TRUE(d.HasBackground());
    const std::string skin = EngineEnvironment::SkinPath() + "\\";
    EXPECT_FALSE(d.ChangeBackgroundBitmap(skin + "garbage.bmp"));
    EXPECT_FALSE(d.ChangeBackgroundBitmap(skin + "nothere.bmp"));
    EXPECT_TRUE(d.HasBackground());
    EXPECT_FALSE(engine.GetGraphicsChanged());
    EXPECT_NE(enginetest::DialogElementText(graphicsPath, "TestDialog").find("DlgBitmapFile=\"face.bmp\""),
              std::string::npos);

    ASSERT_TRUE(d.ChangeBackgroundBitmap(skin + "tab.bmp"));
    EXPECT_TRUE(engine.GetGraphicsChanged());
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(d.m_hWnd, region), ERROR);
    EXPECT_TRUE(PtInRegion(region, kTabLeft + 2, 2)) << "the new face's tab";
    EXPECT_FALSE(PtInRegion(region, kTabRight + 5, 2));
    DeleteObject(region);
    EngineEnvironment::Ui().saveAnswer = graphicsPath;
    ASSERT_TRUE(engine.SaveGraphicsWork());
    EXPECT_NE(enginetest::DialogElementText(graphicsPath, "TestDialog").find("DlgBitmapFile=\"tab.bmp\""),
              std::string::npos)
        << "stored relative to the skin folder";
}

TEST_F(EditingMode, TextSettingsRefuseWhatIsNoNumberAndRepaintTheCaptionWithTheirValues)
{
    Shown<EditableTestDialog> shown;
    ASSERT_TRUE(shown.created);
    EditableTestDialog& d = shown.dialog;
    constexpr int kXOffset = 1052, kTextColour = 1058;
    std::atomic<bool> answered{false};
    std::thread driver([&answered] {
        HWND found = nullptr;
        WaitFor([&] { return (found = FindWindowA("#32770", "Set Button Control Values")) != nullptr; });
        if (!found)
            return;
        Sleep(100);
        const std::pair<const char*, const char*> attempts[] = {{"abc", "255"}, {"5", "16777216"}, {"5", "255"}};
        for (const auto& attempt : attempts) {
            SetDlgItemTextA(found, kXOffset, attempt.first);
            SetDlgItemTextA(found, kTextColour, attempt.second);
            PostMessageA(found, WM_COMMAND, IDOK, 0);
            Sleep(200);
        }
        answered = true;
    });
    EXPECT_TRUE(d.RunControlEditCommand(IDC_FIRST, editing::kChangeTextSettings));
    driver.join();
    ASSERT_TRUE(answered);
    std::vector<std::string> captions;
    for (const auto& m : EngineEnvironment::Ui().messages)
        captions.push_back(m.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Please enter a number", "Color out of range"}));
    QorButtonTextSettings settings;
    QorText_API().GetButtonCtrlInfo(IDD_SKIN_TEST, IDC_FIRST, &settings);
    EXPECT_EQ(settings.xOffsetUp, 5);
    EXPECT_EQ(settings.textColor[0], 255u);
    EXPECT_TRUE(engine.GetTextChanged());
    EXPECT_FALSE(d.RunControlEditCommand(1099, editing::kChangeTextSettings)) << "no such control";
}

TEST_F(EditingMode, StopUsingTheTextTemplateOffersTheButtonsOwnTextSettingsAgain)
{
    Shown<EditableTestDialog> shown;
    ASSERT_TRUE(shown.created);
    EditableTestDialog& d = shown.dialog;
    QorText_API text;
    bool usesTemplate = false;
    std::string name;
    ASSERT_TRUE(text.IsControlUsingTemplate(IDD_SKIN_TEST, IDC_SECOND, &usesTemplate, &name));
    ASSERT_TRUE(usesTemplate);
    EXPECT_EQ(name, "Yellow");
    HMENU menu = d.CreateControlEditMenu(IDC_SECOND);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuState(menu, editing::kStopUsingTextTemplate, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(GetMenuState(menu, editing::kChangeTextSettings, MF_BYCOMMAND), static_cast<UINT>(-1))
        << "a button on a template offers its non-template values instead";
    DestroyMenu(menu);

    EXPECT_TRUE(d.RunControlEditCommand(IDC_SECOND, editing::kStopUsingTextTemplate));
    ASSERT_TRUE(text.IsControlUsingTemplate(IDD_SKIN_TEST, IDC_SECOND, &usesTemplate, &name));
    EXPECT_FALSE(usesTemplate);
    EXPECT_TRUE(engine.GetTextChanged());
    menu = d.CreateControlEditMenu(IDC_SECOND);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuState(menu, editing::kStopUsingTextTemplate, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_EQ(GetMenuState(menu, editing::kChangeTextSettings, MF_BYCOMMAND) & MF_GRAYED, 0u);
    DestroyMenu(menu);
}
