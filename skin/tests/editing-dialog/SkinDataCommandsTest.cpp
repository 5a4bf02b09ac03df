// The dialog menu's parent folder and whole-dialog text values, and the first skin entry of a
// control that has none, end to end from the real context menus of a skinned dialog; with them
// the plain button face's text colours.
#include <gtest/gtest.h>

#include <functional>

#include "DlgSkinDataIds.h"
#include "EGERegistryMgr_API.h"
#include "EditMenus.h"
#include "EditingSession.h"
#include "QorText_API.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"
#include "TestSkin.h"
#include "framework/DataExchange.h"

using namespace dialogtest;
using namespace enginetest;
namespace editing = skelda::editing;

namespace {

// Items of the text library's "Set Dialog Text Values".
constexpr int kDialogName = 1080, kSetColour = 1081, kColour = 1082, kSetFont = 1083, kFaceName = 1084, kSize = 1085,
              kMessageBoxColour = 1088;
constexpr COLORREF kRed = RGB(255, 0, 0);

class SkinData : public EditingSession {
protected:
    template <class Dialog>
    void Run(Dialog& dialog, const std::function<void(HWND)>& drive)
    {
        dialogtest::RunModal(dialog, drive);
    }
    static POINT Face(HWND window)
    {
        POINT face{225, 80};  // on the face, clear of every control
        ClientToScreen(window, &face);
        return face;
    }
    static bool Shown(const std::string& fragment) { return EngineEnvironment::Ui().Shown(fragment); }
    static void Snapshot(HWND dialog, const char* name)
    {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Sleep(300);  // the dialog's thread paints it; only the picture waits for that
        testsupport::CaptureWindow(dialog).SaveBmp(testsupport::OutputDir() + name);
    }
    QorText_API text;
};

// Pixels inside the frame of `window` that `match` accepts.
int CountPixels(HWND window, const std::function<bool(COLORREF)>& match)
{
    const testsupport::ScreenImage shot = testsupport::CaptureWindow(window);
    int count = 0;
    for (int y = 2; y < shot.height - 2; ++y)
        for (int x = 2; x < shot.width - 2; ++x)
            count += match(shot.Pixel(x, y)) ? 1 : 0;
    return count;
}

bool Reddish(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 70 && GetBValue(c) < 70; }
bool Yellowish(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) < 70; }
bool Greyish(COLORREF c)
{
    return GetRValue(c) > 100 && GetRValue(c) < 160 && GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c);
}

// The test dialog with its "Unknown" button bound as well: the skin has no entry for it.
class WithUnknownDialog : public EditableTestDialog {
public:
    EQorButton unknown;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        EditableTestDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_UNKNOWN, unknown);
    }
};

// The same item bound as a transparent static: the mouse passes through it to the face.
class WithUnknownStaticDialog : public EditableTestDialog {
public:
    EQorTransparentStatic unknown;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        EditableTestDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_UNKNOWN, unknown);
    }
};

POINT PlaceOf(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top};
}

std::string GraphicsAttribute(const EQorDialog& dialog, int controlId, const char* name)
{
    win::ComPtr<IXMLDOMNode> element;
    std::string value = "<absent>";
    if (skelda::skinfile::FindControlById(dialog.GetDlgRootNode(), controlId, &element))
        qorxml::GetAttribute(element.Get(), name, &value);
    return value;
}

std::string StoredParentFolder()
{
    std::string value;
    bool found = false;
    EGERegistryMgr_API::GetQorParentFolder(EngineEnvironment::Slot()->app.Name(), &value, &found);
    return value;
}

}  // namespace

TEST_F(SkinData, DialogTextValuesColourEveryControlWithoutATemplateAndPlainFacesShowIt)
{
    EditableTestDialog dialog;
    std::string shownName;
    bool boxRows = true;
    int red = 0, yellow = 0, greyDisabled = 0, redDisabled = -1;
    Run(dialog, [&](HWND window) {
        HWND values = OpenFromMenu(window, Face(window), editing::kDialogTextValues, "Set Dialog Text Values");
        ASSERT_TRUE(values);
        shownName = FieldText(values, kDialogName);
        boxRows = IsWindowVisible(GetDlgItem(values, kMessageBoxColour)) != FALSE;
        Tick(values, kSetColour, true);
        Type(values, kColour, "255");
        Cancel(values);
        ASSERT_TRUE(WaitGone(values));

        values = OpenFromMenu(window, Face(window), editing::kDialogTextValues, "Set Dialog Text Values");
        ASSERT_TRUE(values);
        Snapshot(values, "dialog-text-values.bmp");
        Tick(values, kSetColour, true);
        Type(values, kColour, "16777216");
        Press(values, IDOK);
        Type(values, kColour, "255");
        Tick(values, kSetFont, true);
        Type(values, kFaceName, "Arial");
        Type(values, kSize, "abc");
        Press(values, IDOK);
        Type(values, kSize, "14");
        Press(values, IDOK);
        ASSERT_TRUE(WaitGone(values));

        // Both buttons have no bitmaps and draw the plain face: the first now in the dialog's
        // red, the second in its template's yellow (a template keeps its own values).
        HWND first = dialog.first.GetSafeHwnd(), second = dialog.second.GetSafeHwnd();
        WaitFor([&] { return (red = CountPixels(first, Reddish)) > 0; }, 5000);
        yellow = CountPixels(second, Yellowish);
        EnableWindow(first, FALSE);
        WaitFor([&] { return (greyDisabled = CountPixels(first, Greyish)) > 0; }, 5000);
        redDisabled = CountPixels(first, Reddish);
        testsupport::CaptureWindow(window).SaveBmp(testsupport::OutputDir() + "plain-faces-coloured.bmp");
    });
    EXPECT_EQ(shownName, "TestDialog");
    EXPECT_FALSE(boxRows) << "only the message box has colours of its own";
    EXPECT_TRUE(Shown("The combined color is invalid (out of range)"));
    EXPECT_TRUE(Shown("Please enter a number (no non-numeric chars)"));
    EXPECT_GT(red, 0) << "a plain face draws its caption in its text colour";
    EXPECT_GT(yellow, 0) << "a template's colour shows on a plain face";
    EXPECT_GT(greyDisabled, 0) << "a disabled plain face uses the disabled colour";
    EXPECT_EQ(redDisabled, 0);
    COLORREF colour = 0;
    ASSERT_TRUE(text.GetMainTextColor(IDD_SKIN_TEST, IDC_FIRST, &colour));
    EXPECT_EQ(colour, kRed);
    ASSERT_TRUE(text.GetMainTextColor(IDD_SKIN_TEST, IDC_LABEL, &colour));
    EXPECT_EQ(colour, kRed);
    LOGFONTA font{};
    ASSERT_TRUE(text.GetFontInfo(IDD_SKIN_TEST, IDC_FIRST, &font));
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(font.lfHeight, -14);
    EXPECT_EQ(text.GetFontInfo(IDD_SKIN_TEST, IDC_SECOND, &font), false) << "the templated button is left alone";
    EXPECT_TRUE(engine.GetTextChanged());
    EXPECT_EQ(ReadFile(textPath), originalText) << "nothing reaches the disk before a save";

    EngineEnvironment::Ui().saveAnswer = textPath;
    ASSERT_TRUE(engine.SaveTextWork());
    EngineEnvironment::Restart(true);
    dialogtest::Shown<EditableTestDialog> again;
    ASSERT_TRUE(again.created);
    EXPECT_EQ(again.dialog.first.TextColors().text[0], kRed) << "the colour after a restart";
}

TEST_F(SkinData, PreliminaryControlInfoGivesAControlWithoutSkinDataItsEntry)
{
    WithUnknownDialog dialog;
    std::string startX;
    bool textEntryOffered = false, lockOfferedAfter = false, cancelShown = false;
    POINT placed{};
    Run(dialog, [&](HWND window) {
        HWND unknown = GetDlgItem(window, IDC_UNKNOWN);
        const POINT at = PlaceOf(unknown);
        HWND add = OpenFromControlMenu(unknown, editing::kAddPreliminaryControlInfo, "Add Preliminary Control Info To QorDialog Script Data");
        ASSERT_TRUE(add);
        startX = FieldText(add, IDC_PRELIM_X) + "," + FieldText(add, IDC_PRELIM_Y) + " at " + std::to_string(at.x) +
                 "," + std::to_string(at.y);
        Cancel(add);
        ASSERT_TRUE(WaitGone(add));

        add = OpenFromControlMenu(unknown, editing::kAddPreliminaryControlInfo, "Add Preliminary Control Info To QorDialog Script Data");
        ASSERT_TRUE(add);
        cancelShown = IsWindowVisible(GetDlgItem(add, IDCANCEL)) != FALSE;
        Snapshot(add, "preliminary-control-info.bmp");
        textEntryOffered = IsDlgButtonChecked(add, IDC_PRELIM_TEXT_ENTRY) == BST_CHECKED &&
                           IsWindowEnabled(GetDlgItem(add, IDC_PRELIM_TEXT_ENTRY));
        Type(add, IDC_PRELIM_NAME, "  IDC_UNKNOWN ");
        Type(add, IDC_PRELIM_X, "1x");
        Press(add, IDOK);
        Type(add, IDC_PRELIM_X, "150");
        Type(add, IDC_PRELIM_Y, "120");
        Press(add, IDOK);
        ASSERT_TRUE(WaitGone(add));
        WaitFor([&] { return (placed = PlaceOf(unknown)).x == 150; }, 5000);
        HMENU menu = dialog.CreateControlEditMenu(IDC_UNKNOWN);
        char entry[64] = {};
        lockOfferedAfter = GetMenuStringA(GetSubMenu(menu, 0), editing::kToggleLock, entry, sizeof(entry),
                                          MF_BYCOMMAND) > 0;
        DestroyMenu(menu);
    });
    EXPECT_TRUE(Shown("Would you like to add an entry for this control?")) << "asked at start and answered No";
    const std::string expectStart = startX.substr(startX.find(" at ") + 4);
    EXPECT_EQ(startX.substr(0, startX.find(" at ")), expectStart) << "the position starts where the control is";
    EXPECT_TRUE(textEntryOffered);
    EXPECT_TRUE(cancelShown);
    EXPECT_TRUE(Shown("Please enter a number"));
    EXPECT_EQ(placed.x, 150);
    EXPECT_EQ(placed.y, 120);
    EXPECT_TRUE(lockOfferedAfter) << "afterwards the control has its full menu";
    EXPECT_EQ(GraphicsAttribute(dialog, IDC_UNKNOWN, "ControlName"), "IDC_UNKNOWN");
    EXPECT_EQ(GraphicsAttribute(dialog, IDC_UNKNOWN, "ControlXOffset"), "150");
    std::string caption;
    EXPECT_TRUE(text.GetControlCaptionText(IDD_SKIN_TEST, IDC_UNKNOWN, &caption)) << "a text entry as well";
    EXPECT_TRUE(engine.GetGraphicsChanged());
    EXPECT_EQ(ReadFile(graphicsPath), originalGraphics) << "nothing reaches the disk before a save";

    EngineEnvironment::Ui().saveAnswer = graphicsPath;
    ASSERT_TRUE(engine.SaveGraphicsWork());
    EngineEnvironment::Restart(true);
    EngineEnvironment::Ui().messages.clear();
    dialogtest::Shown<WithUnknownDialog> again;
    ASSERT_TRUE(again.created);
    EXPECT_FALSE(Shown("Would you like to add an entry")) << "the saved entry is found at the next start";
    const POINT reloaded = PlaceOf(again.dialog.unknown.GetSafeHwnd());
    EXPECT_EQ(reloaded.x, 150);
    EXPECT_EQ(reloaded.y, 120);
}

TEST_F(SkinData, ATransparentStaticWithoutSkinDataIsReachedThroughTheFaceAndGivenItsEntry)
{
    WithUnknownStaticDialog dialog;
    POINT at{};
    MenuOutcome lockAfter = MenuOutcome::kFailed;
    bool unlocked = false;
    Run(dialog, [&](HWND window) {
        HWND unknown = dialog.unknown.GetSafeHwnd();
        at = PlaceOf(unknown);
        // A designer's right click lands on the face, since the static lets the mouse through.
        HWND add = OpenFromMenu(window, ScreenCentre(unknown), editing::kAddPreliminaryControlInfo, "Add Preliminary Control Info To QorDialog Script Data");
        ASSERT_TRUE(add);
        Type(add, IDC_PRELIM_NAME, "IDC_UNKNOWN_TEXT");
        Press(add, IDOK);
        ASSERT_TRUE(WaitGone(add));
        lockAfter = ChooseFromMenu(window, ScreenCentre(unknown), {editing::kToggleLock, {}});
        unlocked = WaitFor([&] { return !dialog.IsControlLocked(IDC_UNKNOWN); }, 5000);
    });
    EXPECT_EQ(GraphicsAttribute(dialog, IDC_UNKNOWN, "ControlName"), "IDC_UNKNOWN_TEXT");
    EXPECT_EQ(GraphicsAttribute(dialog, IDC_UNKNOWN, "ControlXOffset"), std::to_string(at.x));
    EXPECT_EQ(lockAfter, MenuOutcome::kChosen) << "afterwards the face gives the static its full menu";
    EXPECT_TRUE(unlocked);
    std::string caption;
    EXPECT_TRUE(text.GetControlCaptionText(IDD_SKIN_TEST, IDC_UNKNOWN, &caption)) << "a text entry as well";
}

TEST_F(SkinData, ParentFolderRefusesFoldersThatLoseBitmapsKeepsTheOldOneOnAFailedSaveAndMovesOnSuccess)
{
    auto& app = EngineEnvironment::Slot()->app;
    const std::string skin = EngineEnvironment::SkinPath() + "\\";
    const std::string skins = skin.substr(0, skin.size() - 5);  // ...\Skins\ (the skin is ...\Skins\Skin\)
    const std::string moved = skins + "Moved\\", empty = skins + "Empty\\";
    CreateDirectoryA(moved.c_str(), nullptr);
    CreateDirectoryA(empty.c_str(), nullptr);
    WIN32_FIND_DATAA found{};
    HANDLE find = FindFirstFileA((skin + "*.bmp").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do
        CopyFileA((skin + found.cFileName).c_str(), (moved + found.cFileName).c_str(), FALSE);
    while (FindNextFileA(find, &found));
    FindClose(find);
    // Start-up takes the folder from the registry, as a designer's installation would.
    app.SetDword("UseDefaultGraphicsFile", 0);
    app.SetString("GraphicsDataXMLFilename", graphicsPath);
    app.SetString("GraphicsAndTextParentDirectory", skin);
    struct Defaults {
        ~Defaults() { EngineEnvironment::Slot()->app.SetDword("UseDefaultGraphicsFile", 1); }
    } restoreDefaults;
    EngineEnvironment::Restart(true);
    ASSERT_TRUE(EngineEnvironment::Running());
    ASSERT_EQ(engine.GetParentFolder(), skin);

    EditableTestDialog dialog;
    std::string shownFolder;
    Run(dialog, [&](HWND window) {
        HWND choose = OpenFromMenu(window, Face(window), editing::kSetParentFolder, "Choose Parent Directory For Files");
        ASSERT_TRUE(choose);
        shownFolder = FieldText(choose, IDC_PARENT_FOLDER);
        Snapshot(choose, "parent-folder.bmp");
        Type(choose, IDC_PARENT_FOLDER, skins + "NoSuchFolder");
        Press(choose, IDOK);
        Type(choose, IDC_PARENT_FOLDER, empty);
        Press(choose, IDOK);
        Cancel(choose);
        ASSERT_TRUE(WaitGone(choose));

        // The save fails: the old folder stays.
        SetFileAttributesA(graphicsPath.c_str(), FILE_ATTRIBUTE_READONLY);
        EngineEnvironment::Ui().saveAnswer = graphicsPath;
        choose = OpenFromMenu(window, Face(window), editing::kSetParentFolder, "Choose Parent Directory For Files");
        ASSERT_TRUE(choose);
        Type(choose, IDC_PARENT_FOLDER, moved);
        Press(choose, IDOK);
        ASSERT_TRUE(WaitGone(choose));
    });
    EXPECT_EQ(shownFolder, skin);
    EXPECT_TRUE(Shown("The folder does not exist:  " + skins + "NoSuchFolder\\"));
    EXPECT_TRUE(Shown("These bitmap files of the skin cannot be found from " + empty));
    EXPECT_TRUE(Shown("face.bmp"));
    EXPECT_TRUE(Shown("Error saving to:  " + graphicsPath));
    EXPECT_EQ(engine.GetParentFolder(), skin) << "a failed save keeps the old folder";
    EXPECT_EQ(StoredParentFolder(), skin);
    EXPECT_FALSE(engine.GetGraphicsChanged()) << "the document itself did not change";
    EXPECT_EQ(ReadFile(graphicsPath), originalGraphics);

    SetFileAttributesA(graphicsPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    EngineEnvironment::Ui().messages.clear();
    EditableTestDialog second;
    Run(second, [&](HWND window) {
        HWND choose = OpenFromMenu(window, Face(window), editing::kSetParentFolder, "Choose Parent Directory For Files");
        ASSERT_TRUE(choose);
        Type(choose, IDC_PARENT_FOLDER, moved.substr(0, moved.size() - 1));  // without the backslash
        Press(choose, IDOK);
        ASSERT_TRUE(WaitGone(choose));
    });
    EXPECT_TRUE(Shown("Work saved to " + graphicsPath));
    EXPECT_EQ(engine.GetParentFolder(), moved);
    EXPECT_EQ(StoredParentFolder(), moved) << "written once the save succeeded";
    EXPECT_FALSE(engine.GetGraphicsChanged());

    EngineEnvironment::Restart(true);
    ASSERT_TRUE(EngineEnvironment::Running());
    EXPECT_EQ(engine.GetParentFolder(), moved) << "the next start resolves the skin's bitmaps from there";
    dialogtest::Shown<EditableTestDialog> again;
    ASSERT_TRUE(again.created);
    std::string aux;
    ASSERT_TRUE(again.dialog.GetAuxBitmapFilename(7, &aux));
    EXPECT_EQ(aux, moved + "extra.bmp");
}
