// The recording and colour pages in Marovin's main window on a virtual card: a folder that
// does not exist yet, a custom size limit that ends a recording, and the picture adjustments.
#include "SettingsFixture.h"

using namespace settingstest;

namespace {

constexpr char kCreateQuestion[] = "Path does not exist.  Create new folder?";

TEST_F(SettingsFixture, ApplyOffersToCreateAMissingFolder)
{
    marovintest::Running running;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running));
    ASSERT_TRUE(controls_.ShowPage(IDC_TAB_RECORDING, IDC_RECORDING_FOLDER));

    // Yes: the folder is made and the next recording lands in it.
    const std::string created = folder_ + "created";
    for (int n = 1; n <= 4; ++n)
        DeleteFileA((created + "\\clip" + std::to_string(n) + ".mpg").c_str());
    RemoveDirectoryA(created.c_str());
    ASSERT_FALSE(Exists(created));
    controls_.Type(IDC_RECORDING_FOLDER, created);
    controls_.Press(IDC_APPLY);
    EXPECT_EQ(AnswerMessageBox(controls_.window, IDYES), kCreateQuestion);
    ASSERT_TRUE(WaitFor([&] { return GetString(kCaptureKey, "RecordingFolder") == created; }));
    EXPECT_TRUE(Exists(created));
    ASSERT_NO_FATAL_FAILURE(Record(running, created + "\\", "clip1.mpg", 2000));
    EXPECT_TRUE(Exists(created + "\\clip1.mpg"));
    Manifest("created/clip1.mpg", "mpeg2video", 720, 576, 4000000);

    // No: nothing is made, the edit shows the stored folder again and nothing is stored.
    const std::string declined = folder_ + "declined";
    RemoveDirectoryA(declined.c_str());
    controls_.Type(IDC_RECORDING_FOLDER, declined);
    controls_.Press(IDC_APPLY);
    EXPECT_EQ(AnswerMessageBox(controls_.window, IDNO), kCreateQuestion);
    ASSERT_TRUE(WaitFor([&] { return controls_.Text(IDC_RECORDING_FOLDER) == created; }));
    EXPECT_FALSE(Exists(declined));
    EXPECT_EQ(GetString(kCaptureKey, "RecordingFolder"), created);

    // No parent to make it in: no question, the edit is put back at once.
    controls_.Type(IDC_RECORDING_FOLDER, folder_ + "nowhere\\deeper");
    controls_.Press(IDC_APPLY);
    ASSERT_TRUE(WaitFor([&] { return controls_.Text(IDC_RECORDING_FOLDER) == created; }));
    EXPECT_FALSE(Exists(folder_ + "nowhere"));
    EXPECT_EQ(GetString(kCaptureKey, "RecordingFolder"), created);
    ASSERT_NO_FATAL_FAILURE(Close(running));
}

TEST_F(SettingsFixture, ACustomLimitEndsTheRecordingSilently)
{
    // 100 MB: about 105 s at 8 Mbps, long enough for a quiet program to outlast any wait on
    // its output.
    constexpr std::uint64_t kLimit = 100ull << 20;
    marovintest::Running running;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running));
    // The fastest DVD rate keeps the wait short.
    controls_.Choose(IDC_DVD_BITRATE, 2);
    ASSERT_TRUE(WaitFor([] { return GetNumber(kCaptureKey, "DVDBitrate") == 8000000; }));

    ASSERT_TRUE(controls_.ShowPage(IDC_TAB_RECORDING, IDC_SIZE_CUSTOM));
    EXPECT_EQ(controls_.Find(IDC_SIZE_LIST, "DVD Disk Size (4.38GB)"), 2);
    EXPECT_EQ(controls_.Find(IDC_SIZE_LIST, "Available Space (", true), 0);
    controls_.Press(IDC_SIZE_CUSTOM);
    // The page enables and disables its controls one after the other: wait for the whole switch.
    ASSERT_TRUE(WaitFor([&] { return controls_.Enabled(IDC_SIZE_CUSTOM_EDIT) && !controls_.Enabled(IDC_SIZE_LIST); }));
    controls_.Type(IDC_SIZE_CUSTOM_EDIT, "100");
    controls_.Choose(IDC_SIZE_UNIT, 1);
    controls_.Press(IDC_APPLY);
    ASSERT_TRUE(WaitFor([] { return GetNumber(kCaptureKey, "FileSizeLimitLo") == static_cast<long long>(kLimit); }));
    EXPECT_EQ(GetNumber(kCaptureKey, "FileSizeLimitHi"), 0);
    EXPECT_EQ(GetNumber(kCaptureKey, "CustomFileSizeLimitLo"), static_cast<long long>(kLimit));
    EXPECT_EQ(controls_.Text(IDC_SIZE_CUSTOM_EDIT), "100.00");

    controls_.Press(IDC_RECORD);
    ASSERT_TRUE(marovintest::WaitForOutput(running, "recording " + folder_ + "clip1.mpg", 20000)) << running.Output();
    // The writer ends it by itself, without a message.
    ASSERT_TRUE(marovintest::WaitForOutput(running, "recording " + folder_ + "clip1.mpg finished", 240000))
        << running.Output();
    EXPECT_EQ(AnswerMessageBox(controls_.window, IDOK, 1000), "<no message box>");
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA((folder_ + "clip1.mpg").c_str(), GetFileExInfoStandard, &data));
    const std::uint64_t size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    // The writer writes up to the limit and ends the stream on the last whole picture before
    // it, closing codes included: never above the limit, and short of it by less than the
    // largest picture (an 8 Mbit/s intra picture is well under 256 KiB).
    EXPECT_LE(size, kLimit);
    EXPECT_GE(size, kLimit - 256 * 1024);
    // So the clip decodes without a fault, to its end.
    Manifest("clip1.mpg", "mpeg2video", 720, 576, 8000000);

    ASSERT_NO_FATAL_FAILURE(Record(running, folder_, "clip2.mpg", 2000));
    Manifest("clip2.mpg", "mpeg2video", 720, 576, 8000000);
    ASSERT_NO_FATAL_FAILURE(Close(running));
}

// The average luma and colour of the video area as the screen shows it.
struct AreaLook {
    double luma = 0;
    double colour = 0;  // mean distance of the pixels from grey
};
AreaLook LookOf(HWND window)
{
    RECT area{};
    GetWindowRect(GetDlgItem(window, IDC_VIDEO_AREA), &area);
    const testsupport::ScreenImage image = testsupport::CaptureScreen(area);
    AreaLook look;
    if (image.width == 0 || image.height == 0)
        return look;
    // The bars fill the top half; the caption box in the corner is left out.
    int count = 0;
    for (int y = image.height / 4; y < image.height / 2; y += 2) {
        for (int x = image.width / 2; x < image.width; x += 2) {
            const COLORREF c = image.Pixel(x, y);
            const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            look.luma += 0.299 * r + 0.587 * g + 0.114 * b;
            look.colour += (std::max({r, g, b}) - std::min({r, g, b}));
            ++count;
        }
    }
    look.luma /= count;
    look.colour /= count;
    return look;
}

TEST_F(SettingsFixture, ColourSlidersChangeThePictureAndAreKept)
{
    marovintest::Running running;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running));
    ASSERT_TRUE(controls_.ShowPage(IDC_TAB_COLOR, IDC_BRIGHTNESS));
    EXPECT_EQ(controls_.SliderPosition(IDC_BRIGHTNESS), 128);
    EXPECT_EQ(controls_.SliderPosition(IDC_HUE), 0);
    EXPECT_EQ(controls_.Text(IDC_SATURATION_VALUE), "64");
    AreaLook before;
    ASSERT_TRUE(WaitFor([&] { before = LookOf(controls_.window); return before.colour > 60; })) << before.colour;

    controls_.Slide(IDC_BRIGHTNESS, 60);
    ASSERT_TRUE(WaitFor([] { return GetNumber(kColorKey, "Brightness") == 60; }));
    EXPECT_EQ(vcap::ReadProcAmp(1, 0), 60);
    EXPECT_EQ(controls_.Text(IDC_BRIGHTNESS_VALUE), "60");
    AreaLook darker;
    EXPECT_TRUE(WaitFor([&] { darker = LookOf(controls_.window); return darker.luma < before.luma - 10; }))
        << before.luma << " -> " << darker.luma;
    controls_.Slide(IDC_SATURATION, 0);
    ASSERT_TRUE(WaitFor([] { return GetNumber(kColorKey, "Saturation") == 0; }));
    AreaLook grey;
    EXPECT_TRUE(WaitFor([&] { grey = LookOf(controls_.window); return grey.colour < 20; })) << grey.colour;
    Shoot("colour_dark_grey");

    // The device's own values come back with "Defaults", and are kept.
    controls_.Press(IDC_COLOR_DEFAULTS);
    ASSERT_TRUE(WaitFor([] { return GetNumber(kColorKey, "Brightness") == 128 && GetNumber(kColorKey, "Saturation") == 64; }));
    EXPECT_EQ(vcap::ReadProcAmp(1, 3), 64);
    EXPECT_EQ(controls_.SliderPosition(IDC_SATURATION), 64);
    AreaLook back;
    EXPECT_TRUE(WaitFor([&] { back = LookOf(controls_.window); return back.colour > 60 && back.luma > before.luma - 10; }))
        << back.luma << " " << back.colour;
    Shoot("colour_defaults");

    // Hue to its lowest: kept across a restart and put into a device that forgot it.
    controls_.Slide(IDC_HUE, -128);
    ASSERT_TRUE(WaitFor([] { return GetNumber(kColorKey, "Hue") == -128; }));
    ASSERT_NO_FATAL_FAILURE(Close(running));
    vcap::WriteProcAmp(1, 2, 0);
    marovintest::Running again;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(again));
    EXPECT_EQ(vcap::ReadProcAmp(1, 2), -128);
    ASSERT_TRUE(controls_.ShowPage(IDC_TAB_COLOR, IDC_HUE));
    EXPECT_EQ(controls_.SliderPosition(IDC_HUE), -128);
    ASSERT_NO_FATAL_FAILURE(Close(again));
}

TEST_F(SettingsFixture, AnUnreadableSaturationIsNeitherWrittenNorApplied)
{
    vcap::SetProcAmpMissing(1, 3, true);
    marovintest::Running running;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running));
    ASSERT_TRUE(controls_.ShowPage(IDC_TAB_COLOR, IDC_SATURATION));
    EXPECT_FALSE(controls_.Enabled(IDC_SATURATION));
    EXPECT_EQ(controls_.Text(IDC_SATURATION_VALUE), "");
    EXPECT_TRUE(controls_.Enabled(IDC_BRIGHTNESS));
    controls_.Slide(IDC_BRIGHTNESS, 140);
    ASSERT_TRUE(WaitFor([] { return GetNumber(kColorKey, "Brightness") == 140; }));
    EXPECT_EQ(GetNumber(kColorKey, "Contrast"), 64);
    EXPECT_EQ(GetNumber(kColorKey, "Saturation"), -2) << "no value for a property the device would not give";
    controls_.Press(IDC_COLOR_DEFAULTS);
    ASSERT_TRUE(WaitFor([] { return GetNumber(kColorKey, "Brightness") == 128; }));
    EXPECT_EQ(GetNumber(kColorKey, "Saturation"), -2);
    ASSERT_NO_FATAL_FAILURE(Close(running));
    vcap::SetProcAmpMissing(1, 3, false);
}

}  // namespace
