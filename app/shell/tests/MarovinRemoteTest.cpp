// The remote-control set-up in the real window: the key "0" with address 0xFE is learned and
// kept on OK, 0x7F and no key at all fail, and Cancel, Esc or the close box part way through
// leave no timer running and the next key "0" to the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "MarovinDialogs.h"
#include "MarovinProcess.h"
#include "RemoteLearning.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

constexpr char kProgramKey[] = "Software\\Halvark\\Marovin";
constexpr char kTunerKey[] = "Software\\Halvark\\Marovin\\Tuner";
constexpr int kRemoteSetup = 1616;
constexpr int kRemoteStatus = 1617;
constexpr int kDialogStatus = 1772;
constexpr DWORD kWaitMs = 20000;

class MarovinRemote : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
        SetNumber(kTunerKey, "RCAddress", 0xFB);
        ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", running_));
        window_ = WaitForMainWindow(kWaitMs);
        ASSERT_NE(window_, nullptr);
        ASSERT_TRUE(WaitForOutput(running_, "preview start", kWaitMs)) << running_.Output();
    }
    void TearDown() override
    {
        if (window_) {
            PostMessageA(window_, WM_CLOSE, 0, 0);
            EXPECT_TRUE(WaitForExit(running_, kWaitMs, nullptr));
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    }
    // Opens the set-up and waits until it asks for the key "0".
    HWND OpenWaiting()
    {
        const size_t asked = Count(running_, "remote set-up: Please press '0'");
        PostMessageA(window_, WM_COMMAND, MAKEWPARAM(kRemoteSetup, BN_CLICKED), 0);
        const HWND dialog = NewDialog(window_, {window_}, kWaitMs);
        if (!dialog || !testsupport::PumpMessages(kWaitMs, [&] { return Count(running_, "remote set-up: Please press '0'") > asked; }))
            return nullptr;
        return dialog;
    }
    void PressZero(int address)
    {
        PostMessageA(window_, remote::kRemoteKeyMessage, '0', address);
    }

    Running running_;
    HWND window_ = nullptr;
};

TEST_F(MarovinRemote, AddressFEIsLearnedAnd7FIsNot)
{
    EXPECT_EQ(ItemText(window_, kRemoteStatus), "Remote control is ready") << "0xFB is valid";

    HWND dialog = OpenWaiting();
    ASSERT_NE(dialog, nullptr) << running_.Output();
    testsupport::PumpMessages(300);
    testsupport::CaptureWindow(dialog).SaveBmp(testsupport::OutputDir() + "remote-waiting.bmp");
    PressZero(0x7F);
    ASSERT_TRUE(WaitForOutput(running_, "remote set-up: Failed configuring Remote Control", kWaitMs)) << running_.Output();
    EXPECT_EQ(ItemText(dialog, kDialogStatus), "Failed configuring Remote Control");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Gone(dialog));
    EXPECT_EQ(GetNumber(kTunerKey, "RCAddress"), 0xFBu) << "OK after a failure keeps the old address";

    dialog = OpenWaiting();
    ASSERT_NE(dialog, nullptr);
    PressZero(0xFE);
    ASSERT_TRUE(WaitForOutput(running_, "remote set-up: Successfully configured Remote Control", kWaitMs)) << running_.Output();
    testsupport::PumpMessages(300);
    testsupport::CaptureWindow(dialog).SaveBmp(testsupport::OutputDir() + "remote-learned.bmp");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Gone(dialog));
    EXPECT_TRUE(testsupport::PumpMessages(kWaitMs, [&] { return GetNumber(kTunerKey, "RCAddress") == 0xFEu; }));
    EXPECT_TRUE(WaitForOutput(running_, "remote address 0xFE", kWaitMs));
}

TEST_F(MarovinRemote, NoKeyWithinFiveSecondsFails)
{
    const HWND dialog = OpenWaiting();
    ASSERT_NE(dialog, nullptr);
    const DWORD asked = GetTickCount();
    ASSERT_TRUE(WaitForOutput(running_, "remote set-up: Failed configuring Remote Control", kWaitMs)) << running_.Output();
    EXPECT_GE(GetTickCount() - asked, 4500u) << "fifty ticks of 100 ms";
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Gone(dialog));
    EXPECT_EQ(GetNumber(kTunerKey, "RCAddress"), 0xFBu);
}

TEST_F(MarovinRemote, CancelEscOrCloseBoxStopTheTimersAndFreeTheKey)
{
    struct Way {
        const char* name;
        UINT message;
        WPARAM wParam;
    } ways[] = {{"Cancel", WM_COMMAND, IDCANCEL}, {"close box", WM_CLOSE, 0}};
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        const HWND dialog = OpenWaiting();
        ASSERT_NE(dialog, nullptr);
        testsupport::PumpMessages(2000);
        const size_t failures = Count(running_, "remote set-up: Failed");
        PostMessageA(dialog, way.message, way.wParam, 0);
        ASSERT_TRUE(Gone(dialog));
        ASSERT_TRUE(WaitForOutput(running_, "remote set-up cancelled", kWaitMs));
        // Past the five seconds a running wait would take: nothing more comes of it.
        testsupport::PumpMessages(4000);
        EXPECT_EQ(Count(running_, "remote set-up: Failed"), failures) << "no timer ran on after the close";
        const size_t passed = Count(running_, "remote key 48 from 0xFE passed on");
        PressZero(0xFE);
        EXPECT_TRUE(testsupport::PumpMessages(kWaitMs, [&] { return Count(running_, "remote key 48 from 0xFE passed on") > passed; }))
            << "the next key 0 is not swallowed\n" << running_.Output();
        EXPECT_EQ(GetNumber(kTunerKey, "RCAddress"), 0xFBu) << "cancel keeps the old address";
    }
}

}  // namespace
