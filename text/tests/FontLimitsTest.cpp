// Font sizes read from a damaged or hand-edited text file: values beyond what a skin needs
// read as the default 0, values within it are kept, and every font read can be drawn with.
#include <gtest/gtest.h>

#include <string>

#include "EngineTestSupport.h"
#include "QorText_API.h"

using namespace enginetest;

namespace {

// A font sized within the limit never measures much beyond it.
constexpr LONG kMaxExpectedPixels = 512;

struct FontCase {
    const char* height;
    const char* width;
    const char* weight;
    LONG expectedHeight, expectedWidth, expectedWeight;
};

const FontCase kCases[] = {
    {"-13", "0", "700", -13, 0, 700},
    {"-512", "512", "1000", -512, 512, 1000},
    {"512", "-512", "0", 512, -512, 0},
    {"-513", "513", "1001", 0, 0, 0},
    {"2147483647", "2147483647", "2147483647", 0, 0, 0},
    {"-2147483648", "-2147483648", "-2147483648", 0, 0, 0},
    {"2147483000", "-7", "-1", 0, -7, 0},
    {"99999999999", "x", "400", 0, 0, 400},
};

}  // namespace

TEST(FontLimits, OutOfRangeSizesReadAsTheDefaultAndDrawSafely)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    RecordingUi ui;
    std::string xml = "<QorAppText><QorDlg DlgName=\"Fonts\" DlgIdValue=\"100\">";
    int id = 2000;
    for (const FontCase& c : kCases)
        xml += "<QorBtnControl ControlId=\"" + std::to_string(id++) + "\" Caption=\"Wg\"><QorFontInfo FontHeight=\"" +
               c.height + "\" FontWidth=\"" + c.width + "\" FontWeight=\"" + c.weight +
               "\" FaceName=\"Tahoma\"/></QorBtnControl>";
    xml += "</QorDlg></QorAppText>";
    const std::string path = OutputDirFile("fonts.xml");
    ASSERT_TRUE(WriteFile(path, xml));

    QorText_API text;
    ASSERT_TRUE(text.OpenTextFile("FontLimitsNoKey", path, 1033));
    HDC dc = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 64, 64);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previousBitmap = SelectObject(dc, canvas);
    id = 2000;
    for (const FontCase& c : kCases) {
        SCOPED_TRACE(std::string(c.height) + " / " + c.width + " / " + c.weight);
        LOGFONTA font;
        ASSERT_TRUE(text.GetFontInfo(100, id++, &font));
        EXPECT_EQ(font.lfHeight, c.expectedHeight);
        EXPECT_EQ(font.lfWidth, c.expectedWidth);
        EXPECT_EQ(font.lfWeight, c.expectedWeight);
        EXPECT_STREQ(font.lfFaceName, "Tahoma");
        // The way the controls use it: a font made from the structure, text measured and drawn.
        HFONT made = CreateFontIndirectA(&font);
        ASSERT_NE(made, nullptr);
        HGDIOBJ previousFont = SelectObject(dc, made);
        SIZE size{};
        EXPECT_TRUE(GetTextExtentPoint32A(dc, "Wg", 2, &size));
        EXPECT_LE(size.cy, 2 * kMaxExpectedPixels);
        RECT rect{0, 0, 64, 64};
        DrawTextA(dc, "Wg", 2, &rect, DT_LEFT | DT_TOP | DT_SINGLELINE);
        SelectObject(dc, previousFont);
        DeleteObject(made);
    }
    SelectObject(dc, previousBitmap);
    DeleteObject(canvas);
    DeleteDC(dc);
    text.ReleaseAllNodes();
    CoUninitialize();
}
