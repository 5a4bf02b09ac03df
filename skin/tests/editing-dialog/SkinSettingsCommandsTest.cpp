// The dialog menu's stretch, grabber, message box and menu commands end to end: each editing
// dialog opened from the real context menu of a running skinned dialog, bad values refused,
// Cancel keeping everything, OK changing the in-memory skin and the live window, and a save
// read back after a restart.
#include <gtest/gtest.h>

#include "EQorMessageDlg.h"
#include "EditMenus.h"
#include "EditingSession.h"
#include "QorText_API.h"
#include "QorXmlDom.h"
#include "TestSkin.h"
#include "TestSupport.h"

using namespace dialogtest;
using namespace enginetest;
namespace editing = skelda::editing;

namespace {

// Items of the stretch and menu settings dialogs.
constexpr int kLeft = 3010, kTop = 3012;
constexpr int kBeginWidth = 3022, kMinWidth = 3024;
constexpr int kSpaceBetween = 3034;
constexpr int kMessageColour = 1088, kCaptionColour = 1089;  // the box's rows of "Set Dialog Text Values"
constexpr COLORREF kMark = RGB(0xBC, 0xFC, 0x27);  // the editing mode's highlight

using SkinSettings = EditingSession;

// A pixel of the dialog's face as it paints it (a stretch dialog's composite).
COLORREF FacePixel(EQorDialog& dialog, int x, int y)
{
    COLORREF colour = CLR_INVALID;
    HDC screen = GetDC(nullptr);
    HBITMAP part = nullptr;
    if (dialog.GetPartialBitmap(screen, {x, y, x + 1, y + 1}, &part)) {
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ previous = SelectObject(memory, part);
        colour = GetPixel(memory, 0, 0);
        SelectObject(memory, previous);
        DeleteDC(memory);
        DeleteObject(part);
    }
    ReleaseDC(nullptr, screen);
    return colour;
}

POINT ClientPoint(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    return client;
}

void Snapshot(HWND window, const std::string& name)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testsupport::CaptureWindow(window).SaveBmp(testsupport::OutputDir() + name + ".bmp");
}

int ReddishPixels(HWND window)
{
    const testsupport::ScreenImage shot = testsupport::CaptureWindow(window);
    int count = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            const COLORREF c = shot.Pixel(x, y);
            count += GetRValue(c) > 200 && GetGValue(c) < 70 && GetBValue(c) < 70;
        }
    return count;
}

// The text of the saved skin's element `tag` (first one), empty when missing.
std::string SavedElement(const std::string& path, const std::string& tag)
{
    const std::string all = ReadFile(path);
    const size_t start = all.find("<" + tag);
    const size_t end = all.find("</" + tag + ">", start);
    return start == std::string::npos || end == std::string::npos ? std::string() : all.substr(start, end - start);
}

}  // namespace

TEST_F(SkinSettings, StretchRegionsAndSizingRefuseBadValuesApplyLiveAndSurviveASave)
{
    // With the skin's top offset of 40, face row 119 is a tile of the middle band; with 75 it
    // repeats the stripe that starts the band.
    {
        Shown<TrackingTestDialog> original;
        ASSERT_TRUE(original.created);
        EXPECT_EQ(FacePixel(original.dialog, 120, 119), kFace);
    }
    TrackingTestDialog dialog;
    std::string shownTop;
    SIZE size{};
    int rightMoved = 0;
    RunModal(dialog, [&](HWND window) {
        const POINT face = ClientPoint(window, {120, 75});
        HWND regions = OpenFromMenu(window, face, editing::kStretchRegions, "Set Stretch Regions");
        ASSERT_TRUE(regions);
        shownTop = FieldText(regions, kTop);
        Snapshot(regions, "stretch-regions");
        Type(regions, kLeft, "-1");
        Press(regions, IDOK);
        Type(regions, kLeft, "40");
        Type(regions, kTop, "200");
        Press(regions, IDOK);
        Type(regions, kTop, "75");
        Press(regions, IDOK);
        ASSERT_TRUE(WaitGone(regions));

        regions = OpenFromMenu(window, face, editing::kStretchRegions, "Set Stretch Regions");
        ASSERT_TRUE(regions);
        Type(regions, kTop, "10");
        Press(regions, IDCANCEL);
        ASSERT_TRUE(WaitGone(regions));

        const int rightBefore = PlaceInParent(GetDlgItem(window, IDC_FIRST)).x;
        HWND sizing = OpenFromMenu(window, face, editing::kStretchSizing, "Set Stretch Sizing");
        ASSERT_TRUE(sizing);
        Snapshot(sizing, "stretch-sizing");
        Type(sizing, kMinWidth, "350");  // the beginning width 260 lies below it
        Press(sizing, IDOK);
        Type(sizing, kMinWidth, "60");  // below the left and right borders (40 + 40)
        Press(sizing, IDOK);
        Type(sizing, kMinWidth, "300");
        Type(sizing, kBeginWidth, "300");
        Press(sizing, IDOK);
        ASSERT_TRUE(WaitGone(sizing));
        // The dialog's OK ends it first; the new limits are taken right after.
        HWND right = GetDlgItem(window, IDC_FIRST);
        WaitFor([&] { return WindowSize(window).cx != 260 && PlaceInParent(right).x != rightBefore; }, 5000);
        size = WindowSize(window);
        rightMoved = PlaceInParent(right).x - rightBefore;
    });
    const auto& ui = EngineEnvironment::Ui();
    EXPECT_EQ(shownTop, "40");
    EXPECT_TRUE(ui.Shown("Region offsets cannot be negative."));
    EXPECT_TRUE(ui.Shown("The top and bottom region offsets (200 + 40) leave no middle band"));
    EXPECT_TRUE(ui.Shown("There is an error with the values.  Please verify that all values make sense."));
    EXPECT_TRUE(ui.Shown("The minimum width must be at least 81 pixels"));
    int refusals = 0;
    for (const auto& message : ui.messages)
        refusals += message.caption == "Bad Region Offsets" || message.caption == "Bad Values";
    EXPECT_EQ(refusals, 4) << "each refused once, nothing else";

    EXPECT_EQ(size.cx, 300) << "the dialog grew into its new minimum";
    EXPECT_EQ(rightMoved, 40) << "a button on the right edge followed it";
    EXPECT_EQ(FacePixel(dialog, 120, 119), kStripe) << "the face was cut again with the new top offset";
    const skelda::QorStretchSettings live = dialog.GetStretchSettings();
    EXPECT_EQ(live.top, 75);
    EXPECT_EQ(live.left, 40);
    EXPECT_EQ(live.minWidth, 300);
    EXPECT_TRUE(engine.GetGraphicsChanged());
    EXPECT_EQ(ReadFile(graphicsPath), originalGraphics) << "nothing reaches the disk before a save";

    EngineEnvironment::Ui().saveAnswer = graphicsPath;
    ASSERT_TRUE(engine.SaveGraphicsWork());
    const std::string saved = DialogElementText(graphicsPath, "TrackingDialog");
    EXPECT_NE(saved.find("TopRegionOffset=\"75\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("MinimumWidth=\"300\""), std::string::npos) << saved;
    EngineEnvironment::Restart(true);
    Shown<TrackingTestDialog> again;
    ASSERT_TRUE(again.created);
    EXPECT_EQ(again.dialog.GetStretchSettings().top, 75);
    EXPECT_EQ(WindowSize(again.dialog.GetSafeHwnd()).cx, 300) << "the new beginning width after a restart";
    EXPECT_EQ(FacePixel(again.dialog, 120, 119), kStripe);
}

TEST_F(SkinSettings, DragButtonsAreMarkedAndUnmarkedAndOnlyStretchDialogsOfferIt)
{
    TrackingTestDialog dialog;
    bool marked = false, painted = false, unmarked = false;
    RunModal(dialog, [&](HWND window) {
        const POINT face = ClientPoint(window, {120, 75});
        ASSERT_TRUE(ChooseFromMenu(window, face, {0, "Highlight Drag Buttons"}) == MenuOutcome::kChosen);
        marked = WaitFor([&] { return dialog.grabber.IsHighlighted(); }, 5000);
        HWND grabber = GetDlgItem(window, IDC_GRABBER);
        painted = WaitFor([&] { return testsupport::CaptureWindow(grabber).Pixel(0, 0) == kMark; }, 5000);
        Snapshot(window, "grabber-marked");
        ASSERT_TRUE(ChooseFromMenu(window, face, {0, "Unhighlight Drag Buttons"}) == MenuOutcome::kChosen);
        unmarked = WaitFor([&] { return !dialog.grabber.IsHighlighted(); }, 5000);
    });
    EXPECT_TRUE(marked);
    EXPECT_TRUE(painted) << "the mark shows along the grabber's outline";
    EXPECT_TRUE(unmarked);
    EXPECT_FALSE(dialog.right.IsHighlighted()) << "only grabbers are marked";

    Shown<EditableTestDialog> plain;
    ASSERT_TRUE(plain.created);
    HMENU menu = plain.dialog.CreateDialogEditMenu();
    ASSERT_TRUE(menu);
    for (int command : {editing::kStretchRegions, editing::kStretchSizing, editing::kHighlightGrabbers})
        EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND), static_cast<UINT>(-1)) << command;
    EXPECT_EQ(GetMenuState(menu, editing::kMessageBoxSettings, MF_BYCOMMAND) & MF_GRAYED, 0u);
    DestroyMenu(menu);
}

TEST_F(SkinSettings, TheMessageBoxSampleEditsTheBoxSkinThroughItsOwnMenus)
{
    EditableTestDialog dialog;
    bool threeButtons = false, buttonMenu = false, sampleClosed = false;
    std::string shownColours;
    int redBefore = -1, redAfter = -1;
    RunModal(dialog, [&](HWND window) {
        HWND sample = OpenFromMenu(window, ClientPoint(window, {225, 80}), editing::kMessageBoxSettings, "QorMessageBox Sample");
        ASSERT_TRUE(sample);
        threeButtons = IsWindowVisible(GetDlgItem(sample, IDYES)) && IsWindowVisible(GetDlgItem(sample, IDNO)) &&
                       IsWindowVisible(GetDlgItem(sample, IDCANCEL));
        Snapshot(sample, "message-box-sample");
        RECT client{};
        GetClientRect(sample, &client);
        // The test skin's box has no stretch values yet: they are made on OK.
        ASSERT_TRUE(ChooseCommand(sample, ClientPoint(sample, {client.right - 15, client.bottom / 2}),
                                  editing::kStretchRegions));
        HWND regions = WaitForDialog("Set Stretch Regions");
        ASSERT_TRUE(regions);
        for (int item = kLeft; item <= kLeft + 3; ++item)
            Type(regions, item, "6");
        Press(regions, IDOK);
        ASSERT_TRUE(WaitGone(regions));
        // Unlike the program's own boxes, the sample's buttons have their editing menu.
        buttonMenu = ChooseFromControlMenu(GetDlgItem(sample, IDYES), editing::kToggleLock);

        // The box's own message and caption colours, from its dialog menu, drawn at once.
        redBefore = ReddishPixels(sample);
        GetClientRect(sample, &client);
        ASSERT_TRUE(ChooseCommand(sample, ClientPoint(sample, {client.right - 15, client.bottom / 2}),
                                  editing::kDialogTextValues));
        HWND values = WaitForDialog("Set Dialog Text Values");
        ASSERT_TRUE(values);
        shownColours = FieldText(values, kMessageColour) + "/" + FieldText(values, kCaptionColour);
        Snapshot(values, "message-box-text-values");
        Type(values, kCaptionColour, "4294967296");
        Press(values, IDOK);
        Type(values, kMessageColour, "255");
        Type(values, kCaptionColour, "65280");
        Press(values, IDOK);
        ASSERT_TRUE(WaitGone(values));
        WaitFor([&] { return (redAfter = ReddishPixels(sample)) > redBefore; }, 5000);
        PostMessageA(sample, WM_COMMAND, IDCANCEL, 0);
        sampleClosed = WaitGone(sample);
    });
    EXPECT_TRUE(threeButtons);
    EXPECT_TRUE(buttonMenu);
    EXPECT_TRUE(sampleClosed);
    EXPECT_EQ(shownColours, "0/0") << "the test skin's box colours";
    EXPECT_TRUE(EngineEnvironment::Ui().Shown("The combined color is invalid (out of range)"));
    EXPECT_GT(redAfter, redBefore) << "the message is drawn in its new colour";
    QorText_API text;
    win::ComPtr<IXMLDOMNode> boxTexts;
    ASSERT_TRUE(text.GetQorMsgDlglNode(boxTexts.Put()));
    std::string message, caption;
    qorxml::GetAttribute(boxTexts.Get(), "MessageTextColor", &message);
    qorxml::GetAttribute(boxTexts.Get(), "CaptionTextColor", &caption);
    EXPECT_EQ(message, "255");
    EXPECT_EQ(caption, "65280");
    EXPECT_TRUE(engine.GetTextChanged());
    EXPECT_TRUE(engine.GetGraphicsChanged());
    EngineEnvironment::Ui().saveAnswer = graphicsPath;
    ASSERT_TRUE(engine.SaveGraphicsWork());
    const std::string box = SavedElement(graphicsPath, "QorMessageDlg");
    for (const char* attribute : {"LeftRegionOffset=\"6\"", "BottomRegionOffset=\"6\"", "AllowHorzStretching=\"0\""})
        EXPECT_NE(box.find(attribute), std::string::npos) << attribute << " in " << box;
}

TEST_F(SkinSettings, TheMenuSampleShowsFiveItemsAndStaysOpenWhileItsLayoutIsEdited)
{
    EditableTestDialog dialog;
    int items = 0, gapBefore = 0, gapAfter = 0;
    bool stayedOpen = false;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(ChooseCommand(window, ClientPoint(window, {225, 80}), editing::kMenuSettings));
        HWND menu = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            menu = VisibleWindowOfClass("#32770", window);
            return menu && FindWindowExA(menu, nullptr, nullptr, "Menu Item 5");
        }));
        for (int i = 1; i <= 5; ++i)
            items += IsWindowVisible(FindWindowExA(menu, nullptr, nullptr, ("Menu Item " + std::to_string(i)).c_str()));
        const auto gap = [menu] {
            return PlaceInParent(FindWindowExA(menu, nullptr, nullptr, "Menu Item 2")).y -
                   PlaceInParent(FindWindowExA(menu, nullptr, nullptr, "Menu Item 1")).y;
        };
        gapBefore = gap();
        Snapshot(menu, "menu-sample");
        RECT client{};
        GetClientRect(menu, &client);
        const POINT margin = ClientPoint(menu, {client.right - 15, client.bottom / 2});
        HWND settings = OpenFromMenu(menu, margin, editing::kMenuSettings, "Change QorMenu Settings");
        ASSERT_TRUE(settings);
        Snapshot(settings, "menu-settings");
        Type(settings, kSpaceBetween, "abc");
        Press(settings, IDOK);
        Type(settings, kSpaceBetween, "12");
        Press(settings, IDOK);
        ASSERT_TRUE(WaitGone(settings));
        WaitFor([&] { return !IsWindow(menu) || gap() != gapBefore; }, 5000);  // laid out after OK
        stayedOpen = IsWindow(menu) && IsWindowVisible(menu);
        gapAfter = gap();

        settings = OpenFromMenu(menu, margin, editing::kMenuSettings, "Change QorMenu Settings");
        ASSERT_TRUE(settings);
        Type(settings, kSpaceBetween, "30");
        Press(settings, IDCANCEL);
        ASSERT_TRUE(WaitGone(settings));
        PostMessageA(menu, WM_COMMAND, IDCANCEL, 0);
        WaitGone(menu);
    });
    EXPECT_EQ(items, 5);
    EXPECT_TRUE(stayedOpen) << "the sample stays open over its editing dialogs";
    EXPECT_EQ(gapAfter - gapBefore, 10) << "laid out again with the new gap";
    EXPECT_TRUE(EngineEnvironment::Ui().Shown("Please enter a number"));
    EngineEnvironment::Ui().saveAnswer = graphicsPath;
    ASSERT_TRUE(engine.SaveGraphicsWork());
    const std::string saved = DialogElementText(graphicsPath, "MenuDlg");
    EXPECT_NE(saved.find("SpaceBetween=\"12\""), std::string::npos) << saved;
}
