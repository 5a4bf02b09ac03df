// The player on Wine's filter graph with real files made by ffmpeg: play, loop, end, seek,
// step, full screen, stills, damaged input, and closing that lets go of the file.
#include "PlayerTestWindow.h"
#include "TestSupport.h"

#include <win/Handle.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

using namespace media;
using playertest::MediaFile;

namespace {

constexpr std::int64_t kSecond = 10000000;

PlayerOptions DefaultOptions()
{
    PlayerOptions o;
    o.mpeg2Decoders = {{"{145BC783-FC0C-11CF-BE4B-00AA003F29A1}", "DVD Express Video Decoder"},
                       {"{731B8600-4001-46D4-B1A5-33EC792B4501}", "Elecard MPEG 2 Video Decoder"},
                       {"{505D5817-AA65-424D-B64B-CB5405FB841D}", "Corvale MPEG 1 n 2 Decoder"},
                       {"", ""},
                       {"", ""}};
    o.mpeg1Decoders = {{"{FEB50740-7BEF-11CE-9BD9-0000E202599C}", "MPEG Video Decoder"},
                       {"{731B8600-4001-46D4-B1A5-33EC792B4501}", "Elecard MPEG 2 Video Decoder"},
                       {"{505D5817-AA65-424D-B64B-CB5405FB841D}", "Corvale MPEG 1 n 2 Decoder"}};
    return o;
}

std::string Title(HWND window)
{
    char text[300] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::wstring SourceFileOf(IGraphBuilder* graph)
{
    win::ComPtr<IBaseFilter> source;
    win::ComPtr<IFileSourceFilter> file;
    LPOLESTR name = nullptr;
    if (!graph || FAILED(graph->FindFilterByName(L"Source Filter", source.Put())) || FAILED(source.As(file)) ||
        FAILED(file->GetCurFile(&name, nullptr)) || !name)
        return {};
    std::wstring result(name);
    CoTaskMemFree(name);
    return result;
}

int SourceFilterCount(IGraphBuilder* graph)
{
    win::ComPtr<IEnumFilters> e;
    if (!graph || FAILED(graph->EnumFilters(e.Put())))
        return -1;
    int n = 0;
    win::ComPtr<IBaseFilter> f;
    while (e->Next(1, f.Put(), nullptr) == S_OK) {
        win::ComPtr<IFileSourceFilter> file;
        n += SUCCEEDED(f.As(file)) ? 1 : 0;
    }
    return n;
}

// Whether the file can be opened with no sharing at all: not while anything else holds it.
bool OpenAlone(const std::string& path)
{
    win::Handle h(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return static_cast<bool>(h);
}

class Player : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(testsupport::RegisterTestBedFilters());
    }

    void SetUp() override
    {
        window_.Attach(&player_);
        player_.Options() = DefaultOptions();
    }

    void TearDown() override { player_.CloseFile(); }

    // Pumps until the position has passed `position` (100-ns units) or the time is up.
    bool PlayPast(std::int64_t position, DWORD ms)
    {
        return testsupport::PumpMessages(ms, [&] {
            const std::int64_t p = player_.Position();
            return p > position; });
    }

    playertest::RecordingHost host_;
    playertest::TestWindow window_;
    MediaPlayer player_{host_, window_.Window()};
};

TEST_F(Player, Mpeg2FilePlaysInTheVideoAreaAndLoopsAtTheEnd)
{
    ASSERT_EQ(player_.OpenFile(MediaFile("mpeg2-4s.mpg")), 1) << (host_.failures.empty() ? "" : host_.failures[0]);
    EXPECT_TRUE(host_.failures.empty());
    EXPECT_EQ(player_.PlayState(), MediaPlayer::kRunning);
    EXPECT_FALSE(player_.AudioOnly());
    EXPECT_NEAR(static_cast<double>(player_.Duration()), 4.0 * kSecond, 0.3 * kSecond);
    EXPECT_EQ(player_.PictureWidth(), 720);
    EXPECT_EQ(player_.PictureHeight(), 576);
    const RECT placed = player_.VideoRect();
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.top, 0);
    EXPECT_EQ(placed.right - placed.left, 352);
    EXPECT_EQ(placed.bottom - placed.top, 288);
    EXPECT_EQ(Title(window_.Window()), "mpeg2-4s.mpg [Video] ");
    std::printf("MPEG-2 flag %d, frame time %lld, decoded %ldx%ld\n", player_.IsMpeg2() ? 1 : 0,
                static_cast<long long>(player_.UnitsPerFrame()), player_.VideoWidth(), player_.VideoHeight());

    ASSERT_TRUE(PlayPast(kSecond, 8000)) << "position " << player_.Position();
    testsupport::PumpMessages(300);
    const testsupport::ScreenImage shot = testsupport::CaptureWindow(window_.VideoArea());
    shot.SaveBmp(testsupport::OutputDir() + "mpeg2-playing.bmp");
    EXPECT_GT(shot.DistinctColours(), 8u) << "the test picture's colour bars show in the video area";

    // Past the end the file starts again from the beginning, without closing.
    ASSERT_TRUE(PlayPast(3 * kSecond, 8000));
    const bool wrapped = testsupport::PumpMessages(6000, [&] {
        const std::int64_t p = player_.Position();
        return p >= 0 && p < 2 * kSecond;
    });
    EXPECT_TRUE(wrapped) << "position " << player_.Position();
    EXPECT_EQ(host_.closed, 0);
    EXPECT_TRUE(player_.IsOpen());
    EXPECT_EQ(player_.PlayState(), MediaPlayer::kRunning);
}

TEST_F(Player, WithoutLoopTheEndClosesAndSpaceAfterwardsDoesNothing)
{
    player_.Options().playLoop = false;
    ASSERT_EQ(player_.OpenFile(MediaFile("mpeg1-3s.mpg")), 1);
    // 352 x 240 sits 24 lines down in the video area.
    EXPECT_EQ(player_.VideoRect().top, 24);
    EXPECT_EQ(player_.VideoRect().bottom - player_.VideoRect().top, 240);
    ASSERT_TRUE(testsupport::PumpMessages(10000, [&] { return host_.closed > 0; }));
    EXPECT_EQ(host_.closedAtEnd, 1);
    EXPECT_EQ(player_.PlayState(), MediaPlayer::kClosed);
    EXPECT_EQ(player_.Graph(), nullptr);
    EXPECT_EQ(Title(window_.Window()), "Marovin");
    player_.PauseResume();  // Space after the end: the graph is gone, nothing to call
    EXPECT_EQ(player_.PlayState(), MediaPlayer::kClosed);
    EXPECT_EQ(player_.Step(3), E_FAIL);
    EXPECT_EQ(player_.ToggleFullScreen(), 0);
}

TEST_F(Player, SeekSkipAndStepWhilePaused)
{
    ASSERT_EQ(player_.OpenFile(MediaFile("mpeg2-4s.mpg")), 1);
    ASSERT_TRUE(PlayPast(kSecond / 2, 8000));
    player_.PauseResume();
    EXPECT_EQ(player_.PlayState(), MediaPlayer::kPaused);
    EXPECT_EQ(Title(window_.Window()), "mpeg2-4s.mpg [Video] (Paused)");

    // The middle: 20 tenths of a second.
    ASSERT_HRESULT_SUCCEEDED(player_.SeekTo(20));
    testsupport::PumpMessages(200);
    EXPECT_NEAR(static_cast<double>(player_.Position()), 2.0 * kSecond, 0.05 * kSecond);

    // A quarter of the duration on.
    const std::int64_t quarter = player_.Duration() / 4;
    ASSERT_HRESULT_SUCCEEDED(player_.SeekToTime(player_.Position() + quarter));
    testsupport::PumpMessages(200);
    EXPECT_NEAR(static_cast<double>(player_.Position()), 2.0 * kSecond + quarter, 0.05 * kSecond);

    // One frame forward and three back, still paused.
    const std::int64_t before = player_.Position();
    ASSERT_HRESULT_SUCCEEDED(player_.Step(1));
    testsupport::PumpMessages(200);
    EXPECT_EQ(player_.Position() - before, player_.UnitsPerFrame());
    EXPECT_EQ(player_.UnitsPerFrame(), 400000) << "25 frames a second";
    ASSERT_HRESULT_SUCCEEDED(player_.Step(-3));
    testsupport::PumpMessages(200);
    EXPECT_EQ(player_.Position() - before, -2 * player_.UnitsPerFrame());
    EXPECT_EQ(player_.PlayState(), MediaPlayer::kPaused);

    player_.PauseResume();
    EXPECT_EQ(player_.PlayState(), MediaPlayer::kRunning);
}

TEST_F(Player, FullScreenTwiceAndBackRestoresTheWindow)
{
    ASSERT_EQ(player_.OpenFile(MediaFile("mpeg2-4s.mpg")), 1);
    ASSERT_TRUE(PlayPast(kSecond / 2, 8000));
    RECT before{};
    GetWindowRect(window_.Window(), &before);
    win::ComPtr<IVideoWindow> vw;
    ASSERT_HRESULT_SUCCEEDED(player_.Graph()->QueryInterface(IID_IVideoWindow, vw.PutVoid()));
    OAHWND drainBefore = 1;
    vw->get_MessageDrain(&drainBefore);

    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(player_.ToggleFullScreen(), 1) << "round " << round;
        testsupport::PumpMessages(300);
        EXPECT_TRUE(player_.IsFullScreen());
        OAHWND drain = 0;
        vw->get_MessageDrain(&drain);
        EXPECT_EQ(reinterpret_cast<HWND>(drain), window_.Window()) << "keys reach the main window";
        ASSERT_EQ(player_.ToggleFullScreen(), 1);
        testsupport::PumpMessages(300);
        EXPECT_FALSE(player_.IsFullScreen());
        vw->get_MessageDrain(&drain);
        EXPECT_EQ(drain, drainBefore) << "the previous drain is back";
    }
    long left = -1, top = -1, width = 0, height = 0;
    vw->GetWindowPosition(&left, &top, &width, &height);
    EXPECT_EQ(width, 352);
    EXPECT_EQ(height, 288);
    RECT after{};
    GetWindowRect(window_.Window(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_TRUE(host_.failures.empty()) << host_.failures.front();
    vw.Reset();
}

TEST_F(Player, HeaderOnlyFileDoesNotPlayOrSpin)
{
    // One MPEG-2 pack header and the end code: a recording cut off before any picture.
    const std::string path = testsupport::OutputDir() + "header-only.mpg";
    const unsigned char bytes[] = {0x00, 0x00, 0x01, 0xBA, 0x44, 0x00, 0x04, 0x00, 0x04, 0x01,
                                   0x01, 0x89, 0xC3, 0xF8, 0x00, 0x00, 0x01, 0xB9};
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    const int opened = player_.OpenFile(path);
    if (opened == 0) {
        ASSERT_EQ(host_.cannotPlay.size(), 1u);
        EXPECT_EQ(host_.cannotPlay[0], path);
        EXPECT_EQ(player_.PlayState(), MediaPlayer::kClosed);
        EXPECT_EQ(player_.Graph(), nullptr);
    } else {
        // An empty playback: it ends by itself and is not restarted over and over.
        EXPECT_EQ(player_.Duration(), 0);
        testsupport::PumpMessages(3000, [&] { return host_.closed > 0; });
        EXPECT_LE(host_.closed, 1);
    }
    std::printf("header-only file: %s\n", opened ? "empty playback" : "text 230");
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "the file is let go";
}

TEST_F(Player, AfterCloseTheFileCanBeDeletedAndTheNextPlaysAlone)
{
    const std::string copy = testsupport::OutputDir() + "played.mpg";
    ASSERT_TRUE(CopyFileA(MediaFile("mpeg2-4s.mpg").c_str(), copy.c_str(), FALSE));
    ASSERT_EQ(player_.OpenFile(copy), 1);
    ASSERT_TRUE(PlayPast(kSecond / 2, 8000));
    EXPECT_FALSE(OpenAlone(copy)) << "the source holds the file while it plays";
    player_.CloseFile();
    EXPECT_TRUE(OpenAlone(copy)) << "nothing holds the file after close";
    EXPECT_EQ(host_.closed, 1);
    EXPECT_EQ(host_.closedAtEnd, 0);
    EXPECT_EQ(player_.PlayState(), MediaPlayer::kClosed);
    EXPECT_TRUE(DeleteFileA(copy.c_str())) << "error " << GetLastError();

    ASSERT_EQ(player_.OpenFile(MediaFile("mpeg1-3s.mpg")), 1);
    EXPECT_EQ(SourceFilterCount(player_.Graph()), 1) << "nothing of the previous graph is left";
    const std::wstring current = SourceFileOf(player_.Graph());
    EXPECT_NE(current.find(L"mpeg1-3s.mpg"), std::wstring::npos);
    ASSERT_TRUE(PlayPast(kSecond / 2, 8000));
}

TEST_F(Player, VolumeMuteAndTitle)
{
    player_.Options().mute = true;
    ASSERT_EQ(player_.OpenFile(MediaFile("mpeg1-3s.mpg")), 1);
    EXPECT_TRUE(player_.Muted());
    EXPECT_EQ(Title(window_.Window()), "mpeg1-3s.mpg [Video] (Muted)");
    win::ComPtr<IBasicAudio> audio;
    ASSERT_HRESULT_SUCCEEDED(player_.Graph()->QueryInterface(IID_IBasicAudio, audio.PutVoid()));
    long volume = 0;
    ASSERT_HRESULT_SUCCEEDED(audio->get_Volume(&volume));
    EXPECT_EQ(volume, -10000);
    player_.Options().audioLevel = 50;
    player_.SetMuted(false);
    audio->get_Volume(&volume);
    EXPECT_EQ(volume, -750);
    EXPECT_EQ(Title(window_.Window()), "mpeg1-3s.mpg [Video] ");
    player_.SetLevel(15);
    audio->get_Volume(&volume);
    EXPECT_EQ(volume, -2550);
    audio.Reset();
}

TEST_F(Player, AudioFileHasNoVideoWindowAndLoops)
{
    ASSERT_EQ(player_.OpenFile(MediaFile("tone-2s.mp3")), 1) << (host_.failures.empty() ? "" : host_.failures[0]);
    EXPECT_TRUE(player_.AudioOnly());
    EXPECT_EQ(host_.visibilityFailures, 0);
    EXPECT_EQ(Title(window_.Window()), "tone-2s.mp3 [Audio] ");
    EXPECT_EQ(player_.ToggleFullScreen(), 0) << "nothing to show full screen";
    EXPECT_TRUE(host_.failures.empty()) << "refused without a message";
    EXPECT_EQ(player_.GrabPlaybackFrame(testsupport::OutputDir(), nullptr), E_FAIL);
    ASSERT_TRUE(PlayPast(kSecond, 6000));
    EXPECT_TRUE(testsupport::PumpMessages(6000, [&] {
        const std::int64_t p = player_.Position();
        return p >= 0 && p < kSecond / 2;
    })) << "the end starts the file again";
    EXPECT_EQ(host_.closed, 0);
}

TEST_F(Player, DecoderIndexOutsideTheListIsNoPreference)
{
    for (int index : {-1, 3, 5, 7}) {
        player_.Options().decoder = index;
        player_.Options().decoder1 = index;
        ASSERT_EQ(player_.OpenFile(MediaFile("mpeg2-4s.mpg")), 1) << "index " << index;
        EXPECT_FALSE(player_.AudioOnly());
        player_.CloseFile();
    }
}

TEST_F(Player, StillOfThePausedPictureIsABitmapFile)
{
    ASSERT_EQ(player_.OpenFile(MediaFile("mpeg2-4s.mpg")), 1);
    ASSERT_TRUE(PlayPast(kSecond / 2, 8000));
    player_.PauseResume();
    testsupport::PumpMessages(200);
    std::string written;
    const HRESULT hr = player_.GrabPlaybackFrame(testsupport::OutputDir(), &written);
    ASSERT_HRESULT_SUCCEEDED(hr);
    std::ifstream in(written, std::ios::binary);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    in.read(reinterpret_cast<char*>(&file), sizeof file).read(reinterpret_cast<char*>(&info), sizeof info);
    ASSERT_TRUE(in.good());
    EXPECT_EQ(file.bfType, 0x4D42);
    EXPECT_GT(info.biWidth, 0);
    EXPECT_NE(info.biHeight, 0);
    in.seekg(0, std::ios::end);
    EXPECT_EQ(static_cast<DWORD>(in.tellg()), file.bfSize);
    player_.CloseFile();
    std::string again;
    EXPECT_EQ(player_.GrabPlaybackFrame(testsupport::OutputDir(), &again), E_FAIL) << "nothing plays";
}

}  // namespace
