// "Text Settings" as a real dialog over the test text file, answered from a second thread:
// every state's values in their fields, edits through the real controls (the colour button's
// "Set Colors By RGB", the font fields and the system's font chooser), refusals that keep the
// dialog open, and an OK without edits that leaves the saved document byte for byte as it was.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "EditDriver.h"
#include "EngineTestSupport.h"
#include "QorText_API.h"
#include "TextDocumentTest.h"
#include "TestSupport.h"

using namespace enginetest;

namespace {

constexpr int kMainDialog = 100;
constexpr int kRecord = 1001, kPlay = 1003, kStatus = 1002, kProgress = 1006, kChannels = 1007, kBroken = 1008;

// Items of "Text Settings": offsets and colours of a state row, the font's.
int OffsetItem(int row, int column) { return row == 0 ? 1052 + column : 1100 + 2 * row + column; }
int ColourItem(int row, int column) { return row == 0 ? 1058 + column : 1110 + 3 * row + column; }
int SwatchItem(int row, int column) { return 1130 + 3 * row + column; }
int PickItem(int row, int column) { return 1150 + 3 * row + column; }
constexpr int kDown = 1, kFocus = 2, kDisabled = 3, kBackground = 4;
constexpr int kFace = 1180, kHeight = 1181, kWeight = 1185, kItalic = 1186, kSample = 1194, kChooseFont = 1195;
constexpr int kRed = 1022, kGreen = 1023, kBlue = 1024;  // "Set Colors By RGB"

bool Visible(HWND dialog, int item)
{
    return IsWindowVisible(GetDlgItem(dialog, item)) != FALSE;
}

COLORREF Centre(HWND window)
{
    const testsupport::ScreenImage shot = testsupport::CaptureWindow(window);
    return shot.width > 0 ? shot.Pixel(shot.width / 2, shot.height / 2) : CLR_INVALID;
}

// The dark pixels of the sample's text on its white face; -1 while the face is not painted.
int DarkPixels(HWND window)
{
    const testsupport::ScreenImage shot = testsupport::CaptureWindow(window);
    int dark = 0, white = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            const COLORREF c = shot.Pixel(x, y);
            dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 384;
            white += c == RGB(255, 255, 255);
        }
    return white * 2 > shot.width * shot.height ? dark : -1;
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TextSettingsDialog : public TextDocumentTest {
protected:
    TextSettingsDialog() : TextDocumentTest("TextSettingsNoKey") {}
};

}  // namespace

TEST_F(TextSettingsDialog, AButtonShowsEveryStateAndOkWritesTheDownOffsetAndFocusColourTyped)
{
    std::map<int, std::string> shown;
    bool italic = false;
    SIZE size{};
    COLORREF swatch = CLR_INVALID;
    bool changed = false;
    {
        DialogAnswer driver("Set Button Control Values", [&](HWND d) {
            for (int row = 0; row < 4; ++row)
                for (int column = 0; column < 3; ++column) {
                    if (column < 2)
                        shown[OffsetItem(row, column)] = FieldText(d, OffsetItem(row, column));
                    shown[ColourItem(row, column)] = FieldText(d, ColourItem(row, column));
                }
            for (int item : {kFace, kHeight, kWeight})
                shown[item] = FieldText(d, item);
            italic = IsDlgButtonChecked(d, kItalic) == BST_CHECKED;
            size = WindowSize(d);
            Type(d, OffsetItem(kDown, 1), "9");
            // The focus text colour through its button and "Set Colors By RGB".
            Click(d, PickItem(kFocus, 0));
            if (HWND rgb = WaitForDialog("Set Colors By RGB")) {
                Type(rgb, kRed, "10");
                Type(rgb, kGreen, "20");
                Type(rgb, kBlue, "30");
                Ok(rgb);
                WaitGone(rgb);
            }
            WaitFor([&] { return Centre(GetDlgItem(d, SwatchItem(kFocus, 0))) == RGB(10, 20, 30); });
            swatch = Centre(GetDlgItem(d, SwatchItem(kFocus, 0)));
            Ok(d);
        });
        changed = text.ShowSetTextValuesDialog(kMainDialog, kRecord, true);
        ASSERT_TRUE(driver.shown);
    }
    const std::map<int, std::string> expected = {
        {1052, "1"},     {1053, "2"},         {1102, "3"},        {1103, "4"},        {1104, "5"},
        {1105, "6"},     {1106, "7"},         {1107, "8"},        {1058, "255"},      {1059, "65280"},
        {1060, "16711680"}, {1113, "1"},      {1114, "2"},        {1115, "3"},        {1116, "4"},
        {1117, "5"},     {1118, "6"},         {1119, "8421504"},  {1120, "0"},        {1121, "16777215"},
        {kFace, "Tahoma"}, {kHeight, "-13"},  {kWeight, "700"}};
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(italic);
    EXPECT_LE(size.cx, 640);
    EXPECT_LE(size.cy, 480);
    EXPECT_EQ(swatch, RGB(10, 20, 30)) << "the swatch shows the colour picked";
    EXPECT_TRUE(changed);
    QorButtonTextSettings s;
    ASSERT_TRUE(text.GetButtonCtrlInfo(kMainDialog, kRecord, &s));
    EXPECT_EQ(s.yOffsetDown, 9);
    EXPECT_EQ(s.xOffsetDown, 3) << "what was not touched stays";
    EXPECT_EQ(s.yOffsetDisabled, 8);
    QorTextColors c;
    ASSERT_TRUE(text.GetCtrlTextColors(kMainDialog, kRecord, &c));
    EXPECT_EQ(c.focus[0], RGB(10, 20, 30));
    EXPECT_EQ(c.focus[1], 5u);
    EXPECT_EQ(c.down[0], 1u);
    LOGFONTA font{};
    ASSERT_TRUE(text.GetFontInfo(kMainDialog, kRecord, &font));
    EXPECT_STREQ(font.lfFaceName, "Tahoma");
    EXPECT_TRUE(text.TextChanged());
}

TEST_F(TextSettingsDialog, RefusedEntriesAreToldAndKeepTheDialogOpenAndTheDocumentUntouched)
{
    bool openAfterRefusals = false;
    {
        DialogAnswer driver("Set Button Control Values", [&](HWND d) {
            const struct {
                int item;
                const char *bad, *good;
            } attempts[] = {
                {OffsetItem(kDown, 0), "-40000", "3"},
                {OffsetItem(kDisabled, 1), "4294967296", "8"},
                {OffsetItem(kFocus, 1), "abc", "6"},
                {ColourItem(kFocus, 1), "16777216", "5"},
                {ColourItem(kDown, 2), "-1", "3"},
                {kHeight, "100000", "-13"},
                {kFace, "A face name far longer than thirty-one characters", "Tahoma"},
            };
            for (const auto& a : attempts) {
                Type(d, a.item, a.bad);
                Ok(d);
                Type(d, a.item, a.good);
            }
            openAfterRefusals = IsWindowVisible(d) != FALSE;
            Cancel(d);
        });
        EXPECT_FALSE(text.ShowSetTextValuesDialog(kMainDialog, kRecord, true));
        ASSERT_TRUE(driver.shown);
    }
    EXPECT_TRUE(openAfterRefusals);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Offset out of range", "Offset out of range", "Please enter a number",
                                                    "Color out of range", "Color out of range",
                                                    "Font value out of range", "Font face"}));
    EXPECT_FALSE(text.TextChanged());
}

TEST_F(TextSettingsDialog, OkWithoutAnEditLeavesTheSavedDocumentByteForByteAsItWas)
{
    const std::string before = OutputDirFile("text-settings-before.xml"), after = OutputDirFile("text-settings-after.xml");
    ui.saveAnswer = before;
    ASSERT_TRUE(text.SaveCurrentWork());
    ui.messages.clear();  // the note that the work was saved
    // A full button, one on a template with few values, a static, both generic kinds, and a
    // button whose values are not numbers at all.
    const std::pair<int, const char*> controls[] = {{kRecord, "Set Button Control Values"},
                                                    {kPlay, "Set Button Control Values"},
                                                    {kStatus, "Set Static Control Values"},
                                                    {kProgress, "Set Generic Control Values"},
                                                    {kChannels, "Set Generic Control Values"},
                                                    {kBroken, "Set Button Control Values"}};
    for (const auto& [control, title] : controls) {
        SCOPED_TRACE(control);
        DialogAnswer driver(title, [](HWND d) { Ok(d); });
        EXPECT_FALSE(text.ShowSetTextValuesDialog(kMainDialog, control, false)) << "nothing changed";
    }
    {
        DialogAnswer driver("Edit Button Control Template", [](HWND d) { Ok(d); });
        EXPECT_FALSE(text.ShowEditTemplateDialog(QorButtonTemplateKind, "Shiny"));
        EXPECT_TRUE(driver.shown);
    }
    EXPECT_FALSE(text.TextChanged());
    EXPECT_TRUE(ui.messages.empty()) << "nothing refused";
    ui.saveAnswer = after;
    ASSERT_TRUE(text.SaveCurrentWork());
    const std::string saved = FileBytes(before);
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(FileBytes(after), saved);
}

TEST_F(TextSettingsDialog, TheFontSampleIsDrawnAgainInTheFontTyped)
{
    int darkBefore = 0, darkAfter = 0;
    {
        DialogAnswer driver("Set Button Control Values", [&](HWND d) {
            HWND sample = GetDlgItem(d, kSample);
            WaitFor([&] { return (darkBefore = DarkPixels(sample)) > 0; });
            Type(d, kHeight, "-30");
            WaitFor([&] { return (darkAfter = DarkPixels(sample)) > darkBefore * 2; });
            testsupport::CaptureWindow(d).SaveBmp(testsupport::OutputDir() + "text-settings-font.bmp");
            Cancel(d);
        });
        EXPECT_FALSE(text.ShowSetTextValuesDialog(kMainDialog, kRecord, true));
        ASSERT_TRUE(driver.shown);
    }
    EXPECT_GT(darkBefore, 0) << "\"Sample Text\" is drawn";
    EXPECT_GT(darkAfter, darkBefore * 2) << "a taller font covers more of the sample";
}

TEST_F(TextSettingsDialog, GenericControlsOfferTheirColoursAndOnlyThoseWithTextInfoTheirFont)
{
    std::string text1, background;
    bool shadowShown = true, offsetShown = true, fontShown = false;
    {
        DialogAnswer driver("Set Generic Control Values", [&](HWND d) {
            text1 = FieldText(d, ColourItem(0, 0));
            background = FieldText(d, ColourItem(kBackground, 0));
            shadowShown = Visible(d, ColourItem(0, 1));
            offsetShown = Visible(d, OffsetItem(0, 0));
            fontShown = Visible(d, kSample) && Visible(d, kFace);
            Type(d, ColourItem(kBackground, 0), "65280");
            Ok(d);
        });
        EXPECT_TRUE(text.ShowSetTextValuesDialog(kMainDialog, kChannels, false));
        ASSERT_TRUE(driver.shown);
    }
    EXPECT_EQ(text1, "123");
    EXPECT_EQ(background, "456");
    EXPECT_FALSE(shadowShown);
    EXPECT_FALSE(offsetShown);
    EXPECT_TRUE(fontShown);
    COLORREF colour = 0;
    ASSERT_TRUE(text.GetBackgroundColor(kMainDialog, kChannels, &colour));
    EXPECT_EQ(colour, 65280u);
    ASSERT_TRUE(text.GetMainTextColor(kMainDialog, kChannels, &colour));
    EXPECT_EQ(colour, 123u);

    bool simpleFontShown = true, backgroundShown = true;
    {
        DialogAnswer driver("Set Generic Control Values", [&](HWND d) {
            simpleFontShown = Visible(d, kSample) || Visible(d, kFace);
            backgroundShown = Visible(d, ColourItem(kBackground, 0));
            Type(d, ColourItem(0, 0), "255");
            Ok(d);
        });
        EXPECT_TRUE(text.ShowSetTextValuesDialog(kMainDialog, kProgress, false));
        ASSERT_TRUE(driver.shown);
    }
    EXPECT_FALSE(simpleFontShown) << "a simple generic control keeps no font";
    EXPECT_FALSE(backgroundShown);
    ASSERT_TRUE(text.GetMainTextColor(kMainDialog, kProgress, &colour));
    EXPECT_EQ(colour, 255u);
}

TEST_F(TextSettingsDialog, TheSystemFontChooserFillsTheFontFields)
{
    bool chooserShown = false;
    std::string weightAfter, faceAfter;
    {
        DialogAnswer driver("Set Generic Control Values", [&](HWND d) {
            // A weight no style of the chooser has: what comes back is the chooser's.
            Type(d, kWeight, "123");
            Click(d, kChooseFont);
            if (HWND chooser = WaitForDialog("Font")) {
                chooserShown = true;
                Ok(chooser);
                WaitGone(chooser);
            }
            WaitFor([&] { return FieldText(d, kWeight) != "123"; }, 5000);
            weightAfter = FieldText(d, kWeight);
            faceAfter = FieldText(d, kFace);
            Cancel(d);
        });
        EXPECT_FALSE(text.ShowSetTextValuesDialog(kMainDialog, kChannels, false));
        ASSERT_TRUE(driver.shown);
    }
    EXPECT_TRUE(chooserShown);
    EXPECT_TRUE(weightAfter == "400" || weightAfter == "700") << weightAfter;
    EXPECT_FALSE(faceAfter.empty());
}

TEST_F(TextSettingsDialog, StaticsAndTemplatesShowTheirOwnStatesAndWriteWhatWasTyped)
{
    std::map<int, std::string> shown;
    bool downShown = true;
    {
        DialogAnswer driver("Set Static Control Values", [&](HWND d) {
            for (int item : {OffsetItem(0, 0), OffsetItem(0, 1), ColourItem(0, 0), ColourItem(kDisabled, 0),
                             ColourItem(kDisabled, 2)})
                shown[item] = FieldText(d, item);
            downShown = Visible(d, OffsetItem(kDown, 0)) || Visible(d, ColourItem(kDown, 0)) ||
                        Visible(d, ColourItem(kFocus, 0));
            Type(d, ColourItem(kDisabled, 2), "70");
            Ok(d);
        });
        EXPECT_TRUE(text.ShowSetTextValuesDialog(kMainDialog, kStatus, false));
        ASSERT_TRUE(driver.shown);
    }
    EXPECT_EQ(shown, (std::map<int, std::string>{{OffsetItem(0, 0), "2"},
                                                 {OffsetItem(0, 1), "3"},
                                                 {ColourItem(0, 0), "10"},
                                                 {ColourItem(kDisabled, 0), "40"},
                                                 {ColourItem(kDisabled, 2), "60"}}));
    EXPECT_FALSE(downShown) << "a static has no down or focus look";
    QorStaticTextSettings s;
    ASSERT_TRUE(text.GetStaticCtrlInfo(kMainDialog, kStatus, &s));
    EXPECT_EQ(s.disabledTextColor[2], 70u);
    EXPECT_EQ(s.disabledTextColor[1], 50u);

    std::string templateDownX;
    {
        DialogAnswer driver("Edit Button Control Template", [&](HWND d) {
            templateDownX = FieldText(d, OffsetItem(kDown, 0));
            Type(d, OffsetItem(kDown, 0), "-2");
            Ok(d);
        });
        EXPECT_TRUE(text.ShowEditTemplateDialog(QorButtonTemplateKind, "Shiny"));
        ASSERT_TRUE(driver.shown);
    }
    EXPECT_EQ(templateDownX, "1");
    QorButtonTextSettings t;
    ASSERT_TRUE(text.GetButtonTemplateInfo("Shiny", &t));
    EXPECT_EQ(t.xOffsetDown, -2);
    EXPECT_EQ(t.yOffsetDown, 1);
    EXPECT_TRUE(text.TextChanged());
}

TEST_F(TextSettingsDialog, ATemplatedButtonsOwnValuesAreEditedApartFromItsTemplateAndCopiedIntoAChosenOne)
{
    constexpr int kTemplateList = 1070;  // "Choose Template"
    {
        DialogAnswer driver("Set Button Control Values", [&](HWND d) {
            Type(d, OffsetItem(0, 0), "21");
            Ok(d);
        });
        EXPECT_TRUE(text.InvokeSetControlNonTemplateTextValsDlg(kMainDialog, kPlay));
        ASSERT_TRUE(driver.shown);
    }
    QorButtonTextSettings own, shiny;
    text.GetButtonCtrlInfo(kMainDialog, kPlay, &own);  // stops at the first value the element lacks
    EXPECT_EQ(own.xOffsetUp, 21);
    bool uses = false;
    std::string name;
    ASSERT_TRUE(text.IsControlUsingTemplate(kMainDialog, kPlay, &uses, &name));
    EXPECT_EQ(name, "Shiny") << "the button keeps drawing with its template";
    text.GetButtonTemplateInfo("Shiny", &shiny);
    EXPECT_NE(shiny.xOffsetUp, 21) << "the template is not touched";

    for (const bool choose : {false, true}) {
        DialogAnswer driver("Choose Template", [&](HWND d) {
            if (!choose) {
                Cancel(d);
                return;
            }
            HWND list = GetDlgItem(d, kTemplateList);
            SendMessageA(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Shiny"));
            SendMessageA(d, WM_COMMAND, MAKEWPARAM(kTemplateList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
            Ok(d);
        });
        EXPECT_EQ(text.ShowCopyButtonSettingsToTemplateValsDlg(kMainDialog, kPlay), choose);
        ASSERT_TRUE(driver.shown);
        shiny = {};
        text.GetButtonTemplateInfo("Shiny", &shiny);
        EXPECT_EQ(shiny.xOffsetUp == 21, choose) << (choose ? "copied into the template chosen" : "a cancel copies nothing");
    }
    EXPECT_TRUE(Captions().empty());
}
