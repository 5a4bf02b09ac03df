// The message box's arithmetic without a window: button sets, line breaks, wrapping and the
// box's layout against the skin and the screen.
#include <gtest/gtest.h>

#include "MessageBoxLayout.h"

using namespace skelda::msgbox;

namespace {

// Seven pixels per byte: enough to check wrapping without a font.
int SevenPerChar(const std::string& text)
{
    return static_cast<int>(text.size()) * 7;
}

// The real skin's message box: region offsets 14/14/40/14, 160..900 x 100..700, caption at (16, 11).
SkinMetrics RealSkin()
{
    SkinMetrics skin;
    skin.left = 14;
    skin.right = 14;
    skin.top = 40;
    skin.bottom = 14;
    skin.minWidth = 160;
    skin.maxWidth = 900;
    skin.minHeight = 100;
    skin.maxHeight = 700;
    skin.caption = {16, 11};
    return skin;
}

LayoutInput Input(int buttons, SIZE text, SIZE caption = {0, 0})
{
    LayoutInput in;
    in.skin = RealSkin();
    in.buttonCount = buttons;
    in.button = {80, 26};
    in.text = text;
    in.caption = caption;
    in.workArea = {1280, 1024};
    return in;
}

}  // namespace

TEST(MessageBoxButtons, EachStyleHasItsWin32ButtonSet)
{
    std::vector<int> ids;
    ASSERT_TRUE(ButtonSetForStyle(MB_OK, &ids));
    EXPECT_EQ(ids, (std::vector<int>{IDOK}));
    ASSERT_TRUE(ButtonSetForStyle(MB_OKCANCEL, &ids));
    EXPECT_EQ(ids, (std::vector<int>{IDOK, IDCANCEL}));
    ASSERT_TRUE(ButtonSetForStyle(MB_ABORTRETRYIGNORE, &ids));
    EXPECT_EQ(ids, (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
    ASSERT_TRUE(ButtonSetForStyle(MB_YESNOCANCEL, &ids));
    EXPECT_EQ(ids, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
    ASSERT_TRUE(ButtonSetForStyle(MB_YESNO, &ids));
    EXPECT_EQ(ids, (std::vector<int>{IDYES, IDNO}));
    ASSERT_TRUE(ButtonSetForStyle(MB_RETRYCANCEL, &ids));
    EXPECT_EQ(ids, (std::vector<int>{IDRETRY, IDCANCEL}));
}

TEST(MessageBoxButtons, OnlyTheLowFourBitsChooseAndUnknownValuesHaveNoSet)
{
    std::vector<int> ids;
    ASSERT_TRUE(ButtonSetForStyle(MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2 | MB_TOPMOST, &ids));
    EXPECT_EQ(ids, (std::vector<int>{IDYES, IDNO}));
    for (UINT style : {6u, 7u, 15u, 0x2Fu}) {
        ids = {99};
        EXPECT_FALSE(ButtonSetForStyle(style, &ids)) << style;
        EXPECT_TRUE(ids.empty()) << style;
    }
}

TEST(MessageBoxLines, TypedAndRealBreaksSplitTheMessage)
{
    EXPECT_EQ(SplitMessageLines("first\\nsecond"), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(SplitMessageLines("first\\rsecond"), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(SplitMessageLines("a\\r\\nb"), (std::vector<std::string>{"a", "b"})) << "a typed pair is one break";
    EXPECT_EQ(SplitMessageLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitMessageLines("a\n\r\n\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitMessageLines("a\\n\\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitMessageLines(""), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitMessageLines("end\\"), (std::vector<std::string>{"end\\"})) << "a lone backslash stays";
    EXPECT_EQ(SplitMessageLines("C:\\data"), (std::vector<std::string>{"C:\\data"}));
}

TEST(MessageBoxLines, LongLinesWrapAtBlanksAndLongWordsBetweenCharacters)
{
    // 10 characters fit in 70 pixels.
    EXPECT_EQ(WrapLines({"aaa bbb ccc ddd"}, 70, SevenPerChar),
              (std::vector<std::string>{"aaa bbb", "ccc ddd"}));
    EXPECT_EQ(WrapLines({"short"}, 70, SevenPerChar), (std::vector<std::string>{"short"}));
    EXPECT_EQ(WrapLines({"abcdefghijklmnopqrstuvwxy"}, 70, SevenPerChar),
              (std::vector<std::string>{"abcdefghij", "klmnopqrst", "uvwxy"}));
    EXPECT_EQ(WrapLines({"ab abcdefghijklm"}, 70, SevenPerChar),
              (std::vector<std::string>{"ab", "abcdefghij", "klm"}));
    EXPECT_EQ(WrapLines({"", "x"}, 70, SevenPerChar), (std::vector<std::string>{"", "x"}));
    // Even a width below one character makes progress, one character per line.
    EXPECT_EQ(WrapLines({"abc"}, 3, SevenPerChar), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(MessageBoxLayout, RowOfButtonsFollowsTheFiveMarginRule)
{
    const LayoutResult r = LayOutMessageBox(Input(2, {400, 26}));
    EXPECT_EQ(r.rowWidth, (80 + 5) * 2 + 5);
    ASSERT_EQ(r.buttons.size(), 2u);
    EXPECT_EQ(r.buttons[1].x - r.buttons[0].x, 85);
    EXPECT_EQ(r.buttons[0].y, r.buttons[1].y);
    // Wider text: the row is centred under it.
    EXPECT_EQ(r.width, 14 + 400 + 10 + 14);
    const int inner = r.width - 28;
    EXPECT_EQ(r.buttons[0].x, 14 + 5 + (inner - r.rowWidth) / 2);
    // The text starts below the top region offset and the row 10 pixels below the text.
    EXPECT_EQ(r.text.top, 40 + 5);
    EXPECT_EQ(r.text.left, 14 + 5);
    EXPECT_EQ(r.buttons[0].y, r.text.bottom + 10);
    EXPECT_EQ(r.height, r.buttons[0].y + 26 + 5 + 14);
}

TEST(MessageBoxLayout, RowWiderThanTextSetsTheWidth)
{
    LayoutInput in = Input(3, {40, 13});
    in.skin.minWidth = 0;
    const LayoutResult r = LayOutMessageBox(in);
    EXPECT_EQ(r.width, 14 + (85 * 3 + 5) + 14);
    EXPECT_EQ(r.buttons[0].x, 14 + 5);
}

TEST(MessageBoxLayout, LongCaptionWidensTheBox)
{
    const LayoutResult r = LayOutMessageBox(Input(1, {50, 13}, {500, 20}));
    EXPECT_EQ(r.width, 16 + 500 + 5 + 14);
    EXPECT_EQ(r.caption.left, 16);
    EXPECT_EQ(r.caption.right, 16 + 500);
    EXPECT_LE(r.caption.right, r.width - 14);
}

TEST(MessageBoxLayout, EmptyMessageAndCaptionKeepTheSkinsSmallestBox)
{
    const LayoutResult r = LayOutMessageBox(Input(1, {0, 0}));
    EXPECT_EQ(r.width, 160);
    EXPECT_EQ(r.height, 100);
    ASSERT_EQ(r.buttons.size(), 1u);
    EXPECT_EQ(r.buttons[0].y + 26 + 5 + 14, 100) << "the row sits at the bottom";
    EXPECT_GE(r.buttons[0].y, 40);
    EXPECT_TRUE(IsRectEmpty(&r.caption));
}

TEST(MessageBoxLayout, NoButtonSetLeavesNoRow)
{
    const LayoutResult r = LayOutMessageBox(Input(0, {200, 26}));
    EXPECT_TRUE(r.buttons.empty());
    EXPECT_EQ(r.rowWidth, 0);
    EXPECT_GE(r.height, r.text.bottom + 14);
}

TEST(MessageBoxLayout, HugeTextStaysInsideTheScreenAndKeepsItsButtons)
{
    LayoutInput in = Input(2, {5000, 13 * 500});
    in.workArea = {800, 600};
    const LayoutResult r = LayOutMessageBox(in);
    EXPECT_LE(r.width, 800);
    EXPECT_LE(r.height, 600);
    ASSERT_EQ(r.buttons.size(), 2u);
    EXPECT_LE(r.buttons[1].x + 80, r.width - 14);
    EXPECT_LE(r.buttons[0].y + 26, r.height - 14);
    EXPECT_LE(r.text.bottom, r.buttons[0].y - 10) << "the text is clipped above the row";
    EXPECT_LE(r.text.right, r.width - 14);
}

TEST(MessageBoxLayout, TextWidthLimitComesFromTheSkinAndTheScreen)
{
    EXPECT_EQ(MaxTextWidth(RealSkin(), 1280), 900 - 28 - 10);
    EXPECT_EQ(MaxTextWidth(RealSkin(), 640), 640 - 28 - 10);
    SkinMetrics unlimited = RealSkin();
    unlimited.maxWidth = 0;
    EXPECT_EQ(MaxTextWidth(unlimited, 1280), 1280 - 38);
    EXPECT_EQ(MaxTextWidth(unlimited, 10), 1);
}

TEST(MessageBoxPlacement, CentredOnTheOwnerAndKeptOnTheWorkArea)
{
    const RECT work{0, 0, 1280, 994};
    EXPECT_EQ(PlaceMessageBox({200, 100}, RECT{100, 100, 500, 300}, work).x, 200);
    EXPECT_EQ(PlaceMessageBox({200, 100}, RECT{100, 100, 500, 300}, work).y, 150);
    const POINT offRight = PlaceMessageBox({400, 200}, RECT{1200, 900, 1400, 1100}, work);
    EXPECT_EQ(offRight.x, 880);
    EXPECT_EQ(offRight.y, 794);
    const POINT noOwner = PlaceMessageBox({200, 100}, RECT{}, work);
    EXPECT_EQ(noOwner.x, 540);
    EXPECT_EQ(noOwner.y, 447);
}
