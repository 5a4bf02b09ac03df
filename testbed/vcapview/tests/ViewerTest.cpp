// The test bed's viewer under Wine: a virtual card's live stream through the stand-in
// demultiplexer and decoder into Wine's GDI video renderer shows the moving test picture, from
// the encoder filter's output (type 1, MPEG-2) and the capture filter's own (type 3, MPEG-1);
// and vcapview, as the demo runs it, saves what its window shows.
#include "BitmapFont.h"
#include "CardControl.h"
#include "CardInstaller.h"
#include "EncoderState.h"
#include "TestSupport.h"
#include "ViewerGraph.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kWidth = 352, kHeight = 288;

class ViewerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(testsupport::RegisterTestBedFilters());
    }
    static void TearDownTestSuite() { CoUninitialize(); }
    void SetUp() override { RemoveAll(); }
    void TearDown() override
    {
        if (window_)
            DestroyWindow(window_);
        RemoveAll();
    }
    static void RemoveAll()
    {
        std::wstring error;
        for (const vcap::CardRecord& c : vcap::LoadAllCards())
            vcap::UninstallCard(c.number, error);
    }
    // A card of `type` whose encoder makes a CIF stream in `mode`.
    static vcap::CardRecord Install(uint32_t type, uint32_t mode, uint32_t bitRate)
    {
        vcap::Personality p;
        p.deviceType = type;
        vcap::CardRecord card;
        std::wstring error;
        EXPECT_TRUE(vcap::InstallCard(1, p, card, error));
        vcap::EncoderState s = vcap::DefaultEncoderState();
        s.captureMode = mode;
        s.params.horzResolution = kWidth;
        s.params.vertResolution = kHeight;
        s.params.bitRate = s.params.peakBitRate = bitRate;
        EXPECT_EQ(vcap::CheckParams(s.params, mode), "");
        EXPECT_TRUE(vcap::SaveEncoderState(1, s));
        return card;
    }
    HWND MakeWindow()
    {
        window_ = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "viewer", WS_POPUP | WS_VISIBLE, 40, 40, kWidth, kHeight,
                                  nullptr, nullptr, nullptr, nullptr);
        return window_;
    }

    HWND window_ = nullptr;
};

bool Near(COLORREF c, int r, int g, int b)
{
    return std::abs(GetRValue(c) - r) < 48 && std::abs(GetGValue(c) - g) < 48 && std::abs(GetBValue(c) - b) < 48;
}

// Whether two shots differ inside a rectangle of the picture.
bool Differs(const testsupport::ScreenImage& a, const testsupport::ScreenImage& b, const RECT& r)
{
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return true;
    return false;
}

// Where the test picture writes caption line `n` (0 the input, 1 the standard, 2 the frame
// counter) at this width, `chars` characters long.
RECT CaptionRect(int n, int chars)
{
    const int scale = kWidth / 176, margin = 2 * scale, line = (vcap::kGlyphHeight + 2) * scale;
    const int top = margin * 2 + n * line;
    return {margin * 2, top, margin * 2 + chars * (vcap::kGlyphWidth + 1) * scale, top + line};
}
RECT CounterRect() { return CaptionRect(2, 12); }

bool AllBlue(const testsupport::ScreenImage& shot)
{
    for (int y = 2; y < shot.height; y += 16)
        for (int x = 2; x < shot.width; x += 16)
            if (!Near(shot.Pixel(x, y), 0, 0, 255))
                return false;
    return true;
}

void ExpectTestPicture(const testsupport::ScreenImage& shot)
{
    ASSERT_EQ(shot.width, kWidth);
    ASSERT_EQ(shot.height, kHeight);
    const int barsY = kHeight / 3;
    auto bar = [&](int i) { return shot.Pixel(kWidth * (2 * i + 1) / 16, barsY); };
    EXPECT_TRUE(Near(bar(0), 255, 255, 255)) << std::hex << bar(0);
    EXPECT_TRUE(Near(bar(1), 255, 255, 0)) << std::hex << bar(1);   // yellow
    EXPECT_TRUE(Near(bar(5), 255, 0, 0)) << std::hex << bar(5);     // red
    EXPECT_TRUE(Near(bar(6), 0, 0, 255)) << std::hex << bar(6);     // blue
    EXPECT_TRUE(Near(bar(7), 0, 0, 0)) << std::hex << bar(7);       // black
    EXPECT_TRUE(Near(shot.Pixel(kWidth - 4, kHeight - 4), 51, 51, 51)) << "the grey band under the bars";
    EXPECT_GT(shot.DistinctColours(), 8u);
}

}  // namespace

TEST_F(ViewerTest, ShowsTheMovingPictureFromEitherStreamOutput)
{
    struct Case {
        uint32_t type, mode, bitRate;
        const char* name;
    };
    for (const Case& c : {Case{1, 2, 2000000, "type1-mpeg2"}, Case{3, 1, 1150000, "type3-mpeg1"}}) {
        SCOPED_TRACE(c.name);
        RemoveAll();
        const vcap::CardRecord card = Install(c.type, c.mode, c.bitRate);
        if (window_)
            DestroyWindow(window_);
        vcap::ViewerGraph viewer;
        ASSERT_EQ(viewer.Start(card, MakeWindow()), "");
        EXPECT_EQ(viewer.PictureSize().cx, kWidth);
        // The graph runs at once (the card cannot cue while paused): pictures come in real time.
        ASSERT_TRUE(testsupport::PumpMessages(10000, [&] { return viewer.PicturesDecoded() >= 10; }))
            << viewer.PicturesDecoded() << " pictures";
        testsupport::PumpMessages(300);
        const testsupport::ScreenImage first = testsupport::CaptureWindow(window_);
        const long decodedFirst = viewer.PicturesDecoded();
        testsupport::PumpMessages(1200);
        const testsupport::ScreenImage second = testsupport::CaptureWindow(window_);
        const long decodedSecond = viewer.PicturesDecoded();
        first.SaveBmp(testsupport::OutputDir() + c.name + "-1.bmp");
        second.SaveBmp(testsupport::OutputDir() + c.name + "-2.bmp");
        viewer.Stop();

        ExpectTestPicture(first);
        ExpectTestPicture(second);
        // About 25 pictures a second keep coming, and the counter and the box move on.
        EXPECT_GE(decodedSecond - decodedFirst, 15);
        EXPECT_TRUE(Differs(first, second, CounterRect())) << "the frame counter stands still";
        EXPECT_TRUE(Differs(first, second, RECT{0, kHeight * 2 / 3, kWidth, kHeight})) << "the box stands still";
    }
}

// The picture comes from the input the crossbar routes to the decoder: its name in the
// caption, and plain blue while it has no signal, the stream flowing on as hardware's does.
TEST_F(ViewerTest, FollowsTheRoutedInputAndShowsBlueWithoutASignal)
{
    const vcap::CardRecord card = Install(1, 2, 2000000);
    vcap::ViewerGraph viewer;
    ASSERT_EQ(viewer.Start(card, MakeWindow()), "");
    ASSERT_TRUE(testsupport::PumpMessages(10000, [&] { return viewer.PicturesDecoded() >= 10; }));
    const testsupport::ScreenImage composite = testsupport::CaptureWindow(window_);

    ASSERT_TRUE(vcap::SetInputSignal(1, 1, false));  // composite 1, no longer routed
    ASSERT_TRUE(vcap::WriteRoute(1, 2, 9));          // S-Video 1 and its audio
    testsupport::PumpMessages(1000);
    const testsupport::ScreenImage svideo = testsupport::CaptureWindow(window_);
    ASSERT_TRUE(vcap::SetInputSignal(1, 2, false));
    const long before = viewer.PicturesDecoded();
    testsupport::PumpMessages(1000);
    const testsupport::ScreenImage dead = testsupport::CaptureWindow(window_);
    const long after = viewer.PicturesDecoded();
    viewer.Stop();
    composite.SaveBmp(testsupport::OutputDir() + "route-composite1.bmp");
    svideo.SaveBmp(testsupport::OutputDir() + "route-svideo1.bmp");
    dead.SaveBmp(testsupport::OutputDir() + "route-svideo1-nosignal.bmp");

    ExpectTestPicture(composite);
    ExpectTestPicture(svideo);
    EXPECT_TRUE(Differs(composite, svideo, CaptionRect(0, 11))) << "the caption names the routed input";
    EXPECT_FALSE(Differs(composite, svideo, CaptionRect(1, 5))) << "both carry PAL B";
    EXPECT_TRUE(AllBlue(dead));
    EXPECT_FALSE(AllBlue(svideo));
    EXPECT_GE(after - before, 15) << "no signal, and the stream keeps flowing";
}

TEST_F(ViewerTest, ReportsWhatIsMissing)
{
    vcap::CardRecord ghost;
    ghost.number = 7;
    ghost.personality.deviceType = 1;
    ghost.paths[static_cast<int>(vcap::FilterRole::Encoder)] = L"\\\\?\\root#media#0007#{nothing}\\encoder";
    vcap::ViewerGraph viewer;
    EXPECT_NE(viewer.Start(ghost, MakeWindow()), "") << "a card that is not installed";
    EXPECT_EQ(viewer.PicturesDecoded(), -1);
}

// vcapview as the demo runs it: the window's picture lands in the file it is given.
TEST_F(ViewerTest, VcapviewSavesTheWindow)
{
    Install(1, 2, 2000000);
    const std::string shot = testsupport::OutputDir() + "vcapview.bmp";
    DeleteFileA(shot.c_str());
    std::string output;
    const std::string cmd = "\"" + testsupport::ModuleDir() + "vcapview.exe\" --card 1 --seconds 2 --shot \"" + shot + "\"";
    ASSERT_EQ(testsupport::RunProcess(cmd, &output, 30000), 0) << output;
    EXPECT_NE(output.find("352x288"), std::string::npos) << output;
    WIN32_FILE_ATTRIBUTE_DATA a{};
    ASSERT_TRUE(GetFileAttributesExA(shot.c_str(), GetFileExInfoStandard, &a));
    EXPECT_GT(a.nFileSizeLow, static_cast<DWORD>(kWidth * kHeight * 3));
    std::string usage;
    EXPECT_EQ(testsupport::RunProcess("\"" + testsupport::ModuleDir() + "vcapview.exe\" --card", &usage, 30000), 2);
    EXPECT_EQ(testsupport::RunProcess("\"" + testsupport::ModuleDir() + "vcapview.exe\" --card 9", &usage, 30000), 1);
    EXPECT_NE(usage.find("not installed"), std::string::npos) << usage;
}
