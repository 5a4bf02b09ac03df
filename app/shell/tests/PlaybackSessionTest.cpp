// The playback session with real files in a real window: the screen's keep-awake claim is
// taken while a file plays and given back however playback ends (closed, failed, at the end),
// the user's timeouts survive a second file opened over the first, and commands without a file
// do nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "PlaybackSession.h"
#include "SessionHost.h"
#include "TestSupport.h"

namespace {

constexpr UINT kGraphNotify = media::MediaPlayer::WM_GRAPHNOTIFY;

class FakeParameters : public shell::PowerSuppression::Parameters {
public:
    std::map<UINT, int> values{{SPI_GETSCREENSAVETIMEOUT, 600}, {SPI_GETLOWPOWERTIMEOUT, 300},
                               {SPI_GETPOWEROFFTIMEOUT, 1200}};
    int Get(UINT action) override { return values[action]; }
    void Set(UINT action, int value) override
    {
        values[action == SPI_SETSCREENSAVETIMEOUT  ? SPI_GETSCREENSAVETIMEOUT
               : action == SPI_SETLOWPOWERTIMEOUT ? SPI_GETLOWPOWERTIMEOUT
                                                  : SPI_GETPOWEROFFTIMEOUT] = value;
    }
    bool UsersValues() const
    {
        return values.at(SPI_GETSCREENSAVETIMEOUT) == 600 && values.at(SPI_GETLOWPOWERTIMEOUT) == 300 &&
               values.at(SPI_GETPOWEROFFTIMEOUT) == 1200;
    }
    bool AllZero() const
    {
        for (const auto& v : values)
            if (v.second != 0)
                return false;
        return true;
    }
};

shell::PlaybackSession* g_session = nullptr;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kGraphNotify && g_session) {
        g_session->OnGraphNotify();
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class Host : public shell::SessionHost {
public:
    Host()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PlaybackSessionTest";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, "Marovin", WS_POPUP | WS_VISIBLE, 30, 30, 400, 320, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, 354, 290, window,
                        reinterpret_cast<HMENU>(1000), wc.hInstance, nullptr);
    }
    ~Host() { DestroyWindow(window); }

    void StartTimer(UINT_PTR, UINT) override {}
    void StopTimer(UINT_PTR) override {}
    bool CaptureDevicePresent() const override { return false; }
    bool CaptureDeviceGone() const override { return false; }
    void ShowIdlePicture() override {}
    void ShowNoVideoLabel(bool) override {}
    shell::PowerSuppression& Power() override { return power; }
    void TraceLine(const std::string& line) override { calls.push_back("trace " + line); }
    HWND MainWindow() const override { return window; }
    std::string AppText(int id) override { return id == 102 ? "Marovin" : "text " + std::to_string(id); }
    void ShowMessage(const std::string& text) override { calls.push_back("message " + text); }
    void LogError(const std::string& text) override { calls.push_back("log " + text); }
    void StopCaptureForPlayback() override { calls.push_back("capture off"); }
    void PlaybackEnded() override { ++ended; }

    HWND window = nullptr;
    FakeParameters parameters;
    shell::PowerSuppression power{parameters};
    std::vector<std::string> calls;
    int ended = 0;
};

std::string Media(const char* name)
{
    return std::string(PLAYBACK_MEDIA) + name;
}

class Session : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void SetUp() override
    {
        settings.filters.mpeg2Decoders = {{"{505D5817-AA65-424D-B64B-CB5405FB841D}", "Corvale MPEG 1 n 2 Decoder"}};
        settings.decoder = settings.decoder1 = 0;
        g_session = &session;
    }
    void TearDown() override
    {
        session.Close();
        g_session = nullptr;
    }

    Host host;
    settings::CaptureSettings settings;
    shell::PlaybackSession session{host, settings};
};

TEST_F(Session, KeepsTheScreenAwakeWhilePlayingAndGivesBackTheUsersTimeouts)
{
    ASSERT_TRUE(session.Open(Media("mpeg2-4s.mpg")));
    EXPECT_TRUE(host.power.Active());
    EXPECT_TRUE(host.parameters.AllZero());
    // A second file over the first: the zeroed values never become the "saved" ones.
    ASSERT_TRUE(session.Open(Media("mpeg1-3s.mpg")));
    EXPECT_TRUE(host.parameters.AllZero());
    session.CloseFile();
    EXPECT_FALSE(host.power.Active());
    EXPECT_TRUE(host.parameters.UsersValues());
    EXPECT_EQ(host.ended, 0);
}

TEST_F(Session, TheEndWithoutLoopClosesAndTellsTheWindow)
{
    settings.playLoop = 0;
    ASSERT_TRUE(session.Open(Media("mpeg1-3s.mpg")));
    ASSERT_TRUE(testsupport::PumpMessages(10000, [&] { return host.ended > 0; }));
    EXPECT_EQ(host.ended, 1);
    EXPECT_FALSE(session.Playing());
    EXPECT_TRUE(host.parameters.UsersValues());
    // Space, steps and seeks after the end find nothing to act on.
    session.PauseResume();
    session.StepFrames(3);
    session.SkipQuarter(true);
    session.SeekTenths(10);
    EXPECT_EQ(session.Position(), -1);
}

TEST_F(Session, AFileThatCannotPlayLeavesNoClaim)
{
    const std::string path = testsupport::OutputDir() + "not-media.mpg";
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, "plain text, no stream", 21, &written, nullptr);
    CloseHandle(f);
    EXPECT_FALSE(session.Open(path));
    EXPECT_FALSE(host.power.Active());
    EXPECT_TRUE(host.parameters.UsersValues());
    EXPECT_FALSE(session.Playing());
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST_F(Session, QuarterSkipsStayInsideTheFile)
{
    ASSERT_TRUE(session.Open(Media("mpeg2-4s.mpg")));
    media::MediaPlayer* player = session.Player();
    ASSERT_NE(player, nullptr);
    session.PauseResume();
    session.SkipQuarter(true);
    session.SkipQuarter(true);
    session.SkipQuarter(true);
    session.SkipQuarter(true);
    session.SkipQuarter(true);
    EXPECT_LE(session.Position(), player->Duration());
    EXPECT_GE(session.Position(), player->Duration() - 4 * player->UnitsPerFrame());
    for (int i = 0; i < 6; ++i)
        session.SkipQuarter(false);
    EXPECT_GE(session.Position(), 0);
    EXPECT_LE(session.Position(), 3 * player->UnitsPerFrame() + 1) << "back at the start, three frames on";
}

TEST_F(Session, NothingOpensAfterTheSessionClosed)
{
    session.Close();
    session.Close();
    EXPECT_TRUE(session.Closed());
    EXPECT_FALSE(session.Open(Media("mpeg2-4s.mpg")));
    EXPECT_FALSE(host.power.Active());
    int closings = 0;
    for (const std::string& call : host.calls)
        closings += call == "trace closing: playback session closed" ? 1 : 0;
    EXPECT_EQ(closings, 1);
}

}  // namespace
