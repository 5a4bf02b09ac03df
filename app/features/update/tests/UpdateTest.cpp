// The update check's rules, and the whole check against a loopback HTTP server: the file
// downloaded, its "Update" value judged, and the file deleted every time.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "LoopbackServer.h"
#include "TestSupport.h"
#include "UpdateCheck.h"
#include "UpdateRules.h"

using namespace update;

namespace {

constexpr UINT kDoneMessage = WM_APP + 7;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Runs one download to completion and returns whether it succeeded; `error` gets its text.
bool Download(const std::string& address, const std::string& file, std::string* error = nullptr)
{
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    UpdateDownload download;
    bool done = false, ok = false;
    if (!download.Start(address, file, window, kDoneMessage)) {
        DestroyWindow(window);
        return false;
    }
    const DWORD start = GetTickCount();
    while (!done && GetTickCount() - start < 30000) {
        MSG msg;
        while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
            if (msg.message == kDoneMessage) {
                done = true;
                ok = msg.wParam == 1;
            }
        }
        if (!done)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    if (error)
        *error = download.Error();
    DestroyWindow(window);
    EXPECT_TRUE(done) << "the worker reports";
    return ok;
}

}  // namespace

TEST(UpdateRules, SectionNamesJoinFolderAndVersion)
{
    EXPECT_EQ(UpdateSectionName("Video Tools", "2.1.45"), "Video_Tools2_1_45");
    EXPECT_EQ(UpdateSectionName("Marovin", "1.0 beta.3"), "Marovin1_0_beta_3");
    EXPECT_EQ(UpdateSectionName("A.B", "1.0.0"), "A.B1_0_0") << "dots of the folder stay";
    EXPECT_EQ(ProgramFolderName("C:\\Program Files\\Video Tools\\Marovin.exe"), "Video Tools");
    EXPECT_EQ(ProgramFolderName("C:\\Marovin.exe"), "") << "a program at the drive's root has no folder";
    EXPECT_EQ(ProgramFolderName("Marovin.exe"), "");
}

TEST(UpdateRules, OnlyWebAddressesAreOffered)
{
    struct Case {
        std::string value;
        UpdateValue expected;
    } cases[] = {
        {"", UpdateValue::None},
        {"https://example.com/marovin/setup.exe", UpdateValue::Address},
        {"HTTP://example.com/x", UpdateValue::Address},
        {"C:\\Windows\\System32\\cmd.exe", UpdateValue::Refused},
        {"\\\\server\\share\\setup.exe", UpdateValue::Refused},
        {"file:///C:/Windows/System32/cmd.exe", UpdateValue::Refused},
        {"ftp://example.com/x", UpdateValue::Refused},
        {"http://", UpdateValue::Refused},
        {"https:///etc", UpdateValue::Refused},
        {"http://example.com/a b", UpdateValue::Refused},
        {"https://example.com/" + std::string(238, 'a'), UpdateValue::Address},
        // A value that fills the 260-character room may have been cut.
        {"https://example.com/" + std::string(239, 'a'), UpdateValue::Refused},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyUpdateValue(c.value), c.expected) << c.value.substr(0, 60) << " (" << c.value.size() << ")";
}

TEST(UpdateRules, UpdateServiceAgentAndItsArguments)
{
    EXPECT_EQ(UpdateServiceAgent("C:\\Program Files\\Common Files"),
              "C:\\Program Files\\Common Files\\InstallShield\\UpdateService\\Agent.exe");
    EXPECT_EQ(UpdateServiceArguments("{0A1B2C3D-0000-4000-8000-000000000001}"),
              "/au{0A1B2C3D-0000-4000-8000-000000000001} /AppMenu");
}

TEST(UpdateRules, AboutLinesSplitAtTheSecondDot)
{
    const AboutLines lines = MakeAboutLines("2.1.45", "Version", "Build");
    EXPECT_EQ(lines.version, "Version 2.1");
    EXPECT_EQ(lines.build, "Build: 45");
    EXPECT_EQ(MakeAboutLines("", "Version", "Build").version, "Version 1.0");
    EXPECT_EQ(MakeAboutLines("", "Version", "Build").build, "Build: 0");
    EXPECT_EQ(MakeAboutLines("3.2.1.7", "V", "B").build, "B: 1.7");
    EXPECT_EQ(MakeAboutLines("3", "V", "B").version, "V 3");
}

TEST(UpdateRules, WindowsGoBesideTheVideoArea)
{
    const Box video{100, 100, 500, 400};
    const Box main{80, 60, 900, 700};
    int x = 0, y = 0;
    PlaceBesideVideo(video, main, 300, 1280, &x, &y);
    EXPECT_EQ(x, 520);
    EXPECT_EQ(y, 150);
    PlaceBesideVideo({700, 100, 1100, 400}, {680, 60, 1200, 700}, 300, 1280, &x, &y);
    EXPECT_EQ(x, 380) << "left of the video area when the right side has no room";
    PlaceBesideVideo({100, 100, 1100, 400}, {80, 60, 1200, 700}, 300, 1280, &x, &y);
    EXPECT_EQ(x, 980) << "at the right screen edge";
    PlaceBesideVideo({100, 100, 1100, 400}, {80, 60, 1400, 700}, 300, 1280, &x, &y);
    EXPECT_EQ(x, 0) << "the main window reaches past the screen";
}

class UpdateCheckLoopback : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server_.Listening());
        file_ = testsupport::OutputDir() + "update.ini";
        DeleteFileA(file_.c_str());
    }
    UpdateVerdict Check(int status, const std::string& body)
    {
        server_.Serve(status, body);
        const bool ok = Download(server_.Address("/marovin/update.ini"), file_, &error_);
        const UpdateVerdict verdict = JudgeUpdateFile(ok, file_, "Video_Tools2_1_45");
        EXPECT_FALSE(Exists(file_)) << "the downloaded file is deleted every time";
        return verdict;
    }
    LoopbackServer server_;
    std::string file_, error_;
};

TEST_F(UpdateCheckLoopback, AnHttpsAddressIsOffered)
{
    const UpdateVerdict v = Check(200, "[Other1_0_0]\r\nUpdate=https://wrong.example/\r\n[Video_Tools2_1_45]\r\n"
                                       "Update=https://example.com/marovin-2.2.exe\r\n");
    EXPECT_EQ(v.outcome, UpdateOutcome::Offer);
    EXPECT_EQ(v.address, "https://example.com/marovin-2.2.exe");
    EXPECT_GE(server_.Requests(), 1);
}

TEST_F(UpdateCheckLoopback, AProgramPathOrAShareCountsAsNoUpdate)
{
    for (const char* value : {"C:\\Windows\\System32\\cmd.exe", "\\\\server\\share\\setup.exe"}) {
        SCOPED_TRACE(value);
        const UpdateVerdict v = Check(200, std::string("[Video_Tools2_1_45]\r\nUpdate=") + value + "\r\n");
        EXPECT_EQ(v.outcome, UpdateOutcome::Refused);
        EXPECT_EQ(v.address, value);
    }
}

TEST_F(UpdateCheckLoopback, NoValueOrNoSectionIsNoUpdate)
{
    EXPECT_EQ(Check(200, "[Video_Tools2_1_45]\r\nUpdate=\r\n").outcome, UpdateOutcome::NoUpdate);
    EXPECT_EQ(Check(200, "[Marovin1_0_0]\r\nUpdate=https://example.com/x\r\n").outcome, UpdateOutcome::NoUpdate);
    EXPECT_EQ(Check(200, "").outcome, UpdateOutcome::NoUpdate);
}

TEST_F(UpdateCheckLoopback, DownloadErrorsAreReportedWithTheSystemsText)
{
    EXPECT_EQ(Check(404, "missing").outcome, UpdateOutcome::DownloadFailed);
    EXPECT_FALSE(error_.empty());

    // Nobody listens on this port any more.
    std::string address;
    {
        LoopbackServer gone;
        address = gone.Address("/update.ini");
    }
    const bool ok = Download(address, file_, &error_);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error_.empty());
    EXPECT_EQ(JudgeUpdateFile(ok, file_, "x").outcome, UpdateOutcome::DownloadFailed);
    EXPECT_FALSE(Exists(file_));
}

TEST_F(UpdateCheckLoopback, TheFileIsReadByItsAbsolutePath)
{
    // A relative name is read where it lies, not from the system folder the profile
    // functions use for bare names.
    server_.Serve(200, "[S]\r\nUpdate=https://example.com/rel\r\n");
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    ASSERT_TRUE(SetCurrentDirectoryA(testsupport::OutputDir().c_str()));
    const bool ok = Download(server_.Address("/u.ini"), "relative-update.ini");
    const UpdateVerdict v = JudgeUpdateFile(ok, "relative-update.ini", "S");
    EXPECT_FALSE(Exists("relative-update.ini"));
    SetCurrentDirectoryA(current);
    EXPECT_EQ(v.outcome, UpdateOutcome::Offer);
}

TEST(UpdateDownloadCancel, CancellingEndsTheWorkerInTime)
{
    // A server that accepts and never answers: the worker blocks until cancelled.
    WSADATA data{};
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/slow.ini";
    const std::string file = testsupport::OutputDir() + "slow.ini";
    {
        HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        UpdateDownload download;
        ASSERT_TRUE(download.Start(url, file, window, kDoneMessage));
        testsupport::PumpMessages(500);
        EXPECT_TRUE(download.Cancel()) << "the worker ended within 10 seconds";
        MSG msg;
        EXPECT_FALSE(PeekMessageA(&msg, window, kDoneMessage, kDoneMessage, PM_REMOVE)) << "a cancelled check reports nothing";
        DestroyWindow(window);
    }
    closesocket(listener);
    WSACleanup();
    EXPECT_FALSE(Exists(file));
}
