// The text library's editing dialogs as real windows, answered from a second thread: colours
// by numbers, a new template's name and the naming of a new control from a header file.
#include <gtest/gtest.h>

#include <fstream>

#include "EngineTestSupport.h"
#include "QorText_API.h"
#include "TextDocumentTest.h"
#include "QorUtils_API.h"

using namespace enginetest;

namespace {

void Type(HWND dialog, int id, const char* text)
{
    SetDlgItemTextA(dialog, id, text);
}

void Press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    Sleep(150);
}

std::string Read(HWND dialog, int id)
{
    char text[128] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

// Item ids of the dialogs' templates.
constexpr int kRed = 1022, kGreen = 1023, kBlue = 1024, kCombined = 1025, kByCombined = 1021;
constexpr int kName = 1031, kHeaderPath = 1032, kFindNext = 1034, kRestart = 1035, kResult = 1036, kValue = 1030;
constexpr int kTemplateName = 1040;

class EditingDialogs : public TextDocumentTest {
protected:
    EditingDialogs() : TextDocumentTest("EditingDialogsNoKey") {}
};

}  // namespace

TEST_F(EditingDialogs, ColoursByNumbersRefuseOutOfRangeValuesAndCombineTheRest)
{
    COLORREF colour = RGB(1, 2, 3);
    bool ok = false;
    {
        DialogAnswer driver("Set Colors By RGB", [](HWND d) {
            Type(d, kRed, "256");
            Press(d, IDOK);  // refused: the dialog stays
            Type(d, kRed, "abc");
            Press(d, IDOK);
            Type(d, kRed, "255");
            Type(d, kGreen, "0");
            Type(d, kBlue, "128");
            Press(d, IDOK);
        });
        ok = text.ShowSetRGBByNumbersDialog(&colour);
    }
    EXPECT_TRUE(ok);
    EXPECT_EQ(colour, 8388863u);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Red, Green, and Blue must be between 0 and 255");
    EXPECT_EQ(ui.messages[0].caption, "Color out of range");
    EXPECT_EQ(ui.messages[1].caption, "Please enter a number");
}

TEST_F(EditingDialogs, TheCombinedFieldStartsWithTheColourAndRefusesWhatWouldWrap)
{
    COLORREF colour = 8388863;
    std::string shownCombined, shownRed;
    bool ok = false;
    {
        DialogAnswer driver("Set Colors By RGB", [&](HWND d) {
            shownCombined = Read(d, kCombined);
            shownRed = Read(d, kRed);
            PostMessageA(GetDlgItem(d, kByCombined), BM_CLICK, 0, 0);
            Sleep(150);
            for (const char* wraps : {"4294967296", "16777216", "-1"}) {
                Type(d, kCombined, wraps);
                Press(d, IDOK);
            }
            Type(d, kCombined, "65280");
            Press(d, IDOK);
        });
        ok = text.ShowSetRGBByNumbersDialog(&colour);
    }
    EXPECT_EQ(shownCombined, "8388863");
    EXPECT_EQ(shownRed, "255");
    EXPECT_TRUE(ok);
    EXPECT_EQ(colour, 65280u);
    ASSERT_EQ(ui.messages.size(), 3u);
    for (const auto& m : ui.messages)
        EXPECT_EQ(m.text, "The combined color is invalid (out of range)");
}

TEST_F(EditingDialogs, ANewControlIsNamedFromTheHeaderSearchOccurrenceByOccurrence)
{
    const std::string header = OutputDirFile("resource.h");
    std::ofstream(header, std::ios::binary) << "// ids\r\n#define IDC_A 1001\r\n#define IDC_B 100\r\n";
    std::vector<std::string> results;
    std::string value;
    std::string name = "Unnamed";
    bool ok = false;
    {
        DialogAnswer driver("Assign Name to New Control", [&](HWND d) {
            value = Read(d, kValue);
            Type(d, kHeaderPath, header.c_str());
            for (int id : {kFindNext, kFindNext, kFindNext, kRestart, kFindNext}) {
                Press(d, id);
                if (id == kFindNext)
                    results.push_back(Read(d, kResult));
            }
            Press(d, IDOK);
        });
        ok = QorUtils_API::GetNameResourceID(&name, 100);
    }
    EXPECT_EQ(value, "100");
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results[0], "IDC_A") << "1001 holds the digits of 100";
    EXPECT_EQ(results[1], "IDC_B");
    EXPECT_EQ(results[2], "   <at end of file - value not found>");
    EXPECT_EQ(results[3], "IDC_A") << "from the top again";
    EXPECT_TRUE(ok);
    EXPECT_EQ(name, "IDC_A") << "the name found last";
}

TEST_F(EditingDialogs, ANewTemplateNameMustBeGivenWithoutBlanksAndUnique)
{
    std::string name;
    bool ok = false;
    {
        DialogAnswer driver("Choose New Template Name", [](HWND d) {
            for (const char* typed : {"", "Two words", "Shiny", "Fresh"}) {
                Type(d, kTemplateName, typed);
                Press(d, IDOK);
            }
        });
        ok = text.ChooseNewTemplateName(QorButtonTemplateKind, &name);
    }
    EXPECT_TRUE(ok);
    EXPECT_EQ(name, "Fresh");
    EXPECT_EQ(Captions(),
              (std::vector<std::string>{"No Name Entered", "Name has Blanks", "Template Name Already Exists"}));
}
