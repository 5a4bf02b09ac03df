// The about box and the update check in the real window, against a loopback HTTP server: an
// offered web address asks (text 3039), a local program path counts as no update, a failed
// download shows text 3040 in the update window; the downloaded file never stays behind.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "LoopbackServer.h"
#include "MarovinDialogs.h"
#include "MarovinProcess.h"
#include "TestSupport.h"
#include "UpdateRules.h"

using namespace marovintest;

namespace {

constexpr char kProgramKey[] = "Software\\Halvark\\Marovin";
constexpr char kGeneralKey[] = "Software\\Halvark\\Marovin\\General";
constexpr UINT kAboutCommand = 16;
constexpr UINT kUpdateServiceCommand = 32;
constexpr int kVersionLine = 1701;
constexpr int kBuildLine = 1702;
constexpr int kCheckForUpdates = 1705;
constexpr int kUpdateStatus = 1781;
constexpr int kVideoArea = 1000;
constexpr int kPromptText = 1791;
constexpr int kPromptAllow = 1792;
constexpr DWORD kWaitMs = 20000;

std::string TempFile()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "MarovinUpdate.ini";
}

class MarovinUpdate : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server_.Listening());
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
        SetString(kGeneralKey, "UpdateAddress", server_.Address("/marovin/update.ini"));
    }
    void Launch()
    {
        ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", running_));
        window_ = WaitForMainWindow(kWaitMs);
        ASSERT_NE(window_, nullptr);
        ASSERT_TRUE(WaitForOutput(running_, "preview start", kWaitMs)) << running_.Output();
        const std::string out = running_.Output();
        const size_t at = out.find(", version ");
        ASSERT_NE(at, std::string::npos);
        version_ = out.substr(at + 10, out.find_first_of("\r\n", at) - at - 10);
        section_ = update::UpdateSectionName(update::ProgramFolderName(testsupport::ModuleDir() + "Marovin.exe"), version_);
    }
    void TearDown() override
    {
        if (window_) {
            PostMessageA(window_, WM_CLOSE, 0, 0);
            DWORD code = 99;
            EXPECT_TRUE(WaitForExit(running_, kWaitMs, &code));
            EXPECT_EQ(code, 0u);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    }

    // Opens the about box from the system menu, presses its update button and returns the
    // update window.
    HWND StartCheck(const char* screenshot = nullptr)
    {
        PostMessageA(window_, WM_SYSCOMMAND, kAboutCommand, 0);
        const HWND about = NewDialog(window_, {window_}, kWaitMs);
        if (!about)
            return nullptr;
        if (screenshot) {
            testsupport::PumpMessages(500);
            testsupport::CaptureWindow(about).SaveBmp(testsupport::OutputDir() + screenshot);
        }
        aboutVersion_ = ItemText(about, kVersionLine);
        aboutBuild_ = ItemText(about, kBuildLine);
        PostMessageA(about, WM_COMMAND, MAKEWPARAM(kCheckForUpdates, BN_CLICKED), 0);
        if (!Gone(about))
            return nullptr;
        return NewDialog(window_, {window_}, kWaitMs);
    }

    LoopbackServer server_;
    Running running_;
    HWND window_ = nullptr;
    std::string version_, section_, aboutVersion_, aboutBuild_;
};

TEST_F(MarovinUpdate, AWebAddressIsOfferedAndTheAboutBoxShowsTheVersion)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    server_.Serve(200, "[" + section_ + "]\r\nUpdate=https://example.com/marovin-setup.exe\r\n");
    const HWND first = StartCheck("about-box.bmp");
    ASSERT_NE(first, nullptr) << running_.Output();
    EXPECT_EQ(aboutVersion_.rfind("Marovin version ", 0), 0u) << aboutVersion_;
    EXPECT_EQ(aboutBuild_.rfind("Build: ", 0), 0u) << aboutBuild_;
    // The update window flashes by or the question is already up: either way the question comes.
    HWND question = first;
    if (ItemText(first, 0xFFFF).find("newer version") == std::string::npos)
        question = NewDialog(window_, {window_, first}, kWaitMs);
    ASSERT_NE(question, nullptr) << running_.Output();
    testsupport::PumpMessages(300);
    EXPECT_NE(ItemText(question, 0xFFFF).find("A newer version of Marovin is available"), std::string::npos)
        << ItemText(question, 0xFFFF);
    testsupport::CaptureWindow(question).SaveBmp(testsupport::OutputDir() + "update-offered.bmp");
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(Gone(question));
    EXPECT_TRUE(WaitForOutput(running_, "update check: offered https://example.com/marovin-setup.exe", kWaitMs));
    EXPECT_GE(server_.Requests(), 1);
    EXPECT_EQ(GetFileAttributesA(TempFile().c_str()), INVALID_FILE_ATTRIBUTES) << "the downloaded file is deleted";
}

TEST_F(MarovinUpdate, ALocalProgramPathCountsAsNoUpdate)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    server_.Serve(200, "[" + section_ + "]\r\nUpdate=C:\\windows\\system32\\cmd.exe\r\n");
    const HWND first = StartCheck();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(WaitForOutput(running_, "update check: refused update value", kWaitMs)) << running_.Output();
    // The update window hides as the box comes; on a busy machine it may come and go before
    // the test sees it, and the first new dialog is then the box itself.
    constexpr char kNoUpdate[] = "There is no update available.";
    const HWND box = ItemText(first, 0xFFFF) == kNoUpdate ? first : NewDialog(window_, {window_, first}, kWaitMs);
    ASSERT_NE(box, nullptr);
    testsupport::PumpMessages(300);
    EXPECT_EQ(ItemText(box, 0xFFFF), kNoUpdate);
    testsupport::CaptureWindow(box).SaveBmp(testsupport::OutputDir() + "no-update.bmp");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Gone(box));
    EXPECT_EQ(GetFileAttributesA(TempFile().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MarovinUpdate, AFailedDownloadShowsText3040BesideTheVideoArea)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    server_.Serve(404, "gone");
    const HWND update = StartCheck();
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(testsupport::PumpMessages(kWaitMs, [&] {
        return ItemText(update, kUpdateStatus).find("could not be downloaded") != std::string::npos;
    })) << ItemText(update, kUpdateStatus) << "\n" << running_.Output();
    testsupport::PumpMessages(300);
    testsupport::CaptureWindow(update).SaveBmp(testsupport::OutputDir() + "update-failed.bmp");
    RECT video{}, main{}, own{};
    GetWindowRect(GetDlgItem(window_, kVideoArea), &video);
    GetWindowRect(window_, &main);
    GetWindowRect(update, &own);
    int x = 0, y = 0;
    update::PlaceBesideVideo({video.left, video.top, video.right, video.bottom}, {main.left, main.top, main.right, main.bottom},
                             own.right - own.left, GetSystemMetrics(SM_CXSCREEN), &x, &y);
    EXPECT_EQ(own.left, x);
    EXPECT_EQ(own.top, y);
    EXPECT_EQ(own.top, video.top + 50);
    EXPECT_EQ(GetFileAttributesA(TempFile().c_str()), INVALID_FILE_ATTRIBUTES);
    PostMessageA(update, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(Gone(update));
}

TEST_F(MarovinUpdate, AMissingUpdateServiceIsReported)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    PostMessageA(window_, WM_SYSCOMMAND, kUpdateServiceCommand, 0);
    const HWND box = NewDialog(window_, {window_}, kWaitMs);
    ASSERT_NE(box, nullptr) << running_.Output();
    testsupport::PumpMessages(300);
    EXPECT_EQ(ItemText(box, 0xFFFF), "Could not launch update service");
    EXPECT_TRUE(WaitForOutput(running_, "/au{", kWaitMs));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Gone(box));
}

TEST_F(MarovinUpdate, AllowedChecksAtStartPromptOnlyWhenThereIsAnUpdate)
{
    SetNumber(kGeneralKey, "AllowUpdate", 1);
    server_.Serve(200, "[Other]\r\nUpdate=https://example.com/x\r\n");
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_TRUE(WaitForOutput(running_, "background update check: nothing offered", kWaitMs)) << running_.Output();
    EXPECT_EQ(NewDialog(window_, {window_}, 1000), nullptr) << "a check at start with no update shows nothing";
    EXPECT_EQ(GetFileAttributesA(TempFile().c_str()), INVALID_FILE_ATTRIBUTES);
    PostMessageA(window_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running_, kWaitMs, nullptr));

    // Offered at the next start: the prompt, its box unticked, No stores the box.
    server_.Serve(200, "[" + section_ + "]\r\nUpdate=https://example.com/marovin-setup.exe\r\n");
    Running again;
    ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", again));
    window_ = WaitForMainWindow(kWaitMs);
    ASSERT_NE(window_, nullptr);
    const HWND prompt = NewDialog(window_, {window_}, kWaitMs);
    ASSERT_NE(prompt, nullptr) << again.Output();
    testsupport::PumpMessages(300);
    testsupport::CaptureWindow(prompt).SaveBmp(testsupport::OutputDir() + "update-prompt.bmp");
    EXPECT_EQ(ItemText(prompt, kPromptText), "Upadate is available. Do you want to update?");
    EXPECT_EQ(IsDlgButtonChecked(prompt, kPromptAllow), static_cast<UINT>(BST_CHECKED));
    SendDlgItemMessageA(prompt, kPromptAllow, BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageA(prompt, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    ASSERT_TRUE(Gone(prompt));
    EXPECT_TRUE(testsupport::PumpMessages(kWaitMs, [&] { return GetNumber(kGeneralKey, "AllowUpdate") == 0; }));
    EXPECT_EQ(GetFileAttributesA(TempFile().c_str()), INVALID_FILE_ATTRIBUTES);
    PostMessageA(window_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(again, kWaitMs, nullptr));
    window_ = nullptr;
}

}  // namespace
