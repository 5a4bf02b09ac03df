// Marovin on the virtual card's tuner, in the real window: the channel page behind the TV
// tab scans while the window stays responsive, a cancelled scan keeps the names it did not
// reach, the channel keys tune typed numbers at once or after the entry timer, channel up
// wraps to the lowest named channel, the fine-tune slider stops at +50, the sound dialog sets
// the TV sound, and the preview shows the tuned channel.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CardControl.h"
#include "CardInstaller.h"
#include "ControlIds.h"
#include "MarovinProcess.h"
#include "TestSupport.h"
#include "TunerModel.h"
#include "TunerState.h"

using namespace marovintest;

namespace {

constexpr char kProgramKey[] = "Software\\Halvark\\Marovin";
constexpr char kCaptureKey[] = "Software\\Halvark\\Marovin\\Capture";
constexpr char kTunerKey[] = "Software\\Halvark\\Marovin\\Tuner";
constexpr char kAntennaKey[] = "Software\\Halvark\\Marovin\\Tuner\\Channels\\Antenna";
constexpr int kCard = 1;
constexpr UINT kDigitZero = 32788;
constexpr UINT kDigitOne = 32779;
constexpr UINT kChannelUp = 32777;

void RemoveAllCards()
{
    std::wstring error;
    for (const vcap::CardRecord& card : vcap::LoadAllCards())
        vcap::UninstallCard(card.number, error);
}

void SetValue(const char* key, const char* name, DWORD value)
{
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(k);
}

void SetValue(const char* key, const char* name, const std::string& value)
{
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
}

// The named channels of the stored antenna list, in slot order.
std::vector<std::pair<int, std::string>> StoredAntennaChannels()
{
    std::vector<std::pair<int, std::string>> channels;
    for (int slot = 0; slot < 200; ++slot) {
        DWORD number = 0, size = sizeof number;
        if (RegGetValueA(HKEY_CURRENT_USER, kAntennaKey, ("ChNum" + std::to_string(slot)).c_str(), RRF_RT_REG_DWORD,
                         nullptr, &number, &size) != ERROR_SUCCESS ||
            number == 0)
            break;
        char name[256] = "";
        size = sizeof name;
        RegGetValueA(HKEY_CURRENT_USER, kAntennaKey, ("ChName" + std::to_string(slot)).c_str(), RRF_RT_REG_SZ, nullptr,
                     name, &size);
        channels.emplace_back(static_cast<int>(number), name);
    }
    return channels;
}

vcap::TunerRecord CardTuner()
{
    vcap::TunerRecord t;
    vcap::LoadTuner(kCard, t);
    return t;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs)
{
    return testsupport::PumpMessages(timeoutMs, done);
}

std::string ControlText(HWND window, int id)
{
    char text[128] = "";
    SendMessageTimeoutA(GetDlgItem(window, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

void Click(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

void Key(HWND window, UINT command)
{
    PostMessageA(window, WM_COMMAND, command, 0);
}

void Digit(HWND window, int digit)
{
    Key(window, digit == 0 ? kDigitZero : kDigitOne + static_cast<UINT>(digit - 1));
}

// The topmost dialog of the program that holds control `id`.
HWND FindDialogWith(HWND main, int id, DWORD timeoutMs)
{
    struct Search {
        HWND main;
        int id;
        HWND found = nullptr;
    } search{main, id};
    WaitFor(
        [&] {
            EnumWindows(
                [](HWND w, LPARAM p) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(p);
                    if (w != s->main && IsWindowVisible(w) && GetDlgItem(w, s->id)) {
                        s->found = w;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

class MarovinTuner : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(testsupport::RegisterTestBedFilters()); }

    void SetUp() override
    {
        RemoveAllCards();
        vcap::CardRecord card;
        std::wstring error;
        ASSERT_TRUE(vcap::InstallCard(kCard, vcap::Personality{}, card, error));
        for (long channel : vcap::ReadStations(kCard))
            vcap::SetStation(kCard, channel, false);
        for (long channel : {4L, 9L, 33L})
            vcap::SetStation(kCard, channel, true);
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
        SetValue(kCaptureKey, "Source", 3);
        SetValue(kTunerKey, "Country", std::string("USA"));
        SetValue(kTunerKey, "LastChannel", 2);
    }
    void TearDown() override
    {
        RemoveAllCards();
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    }

    // Starts Marovin on the tuner and shows the channel page.
    void OpenChannelPage(Running& running, HWND* window)
    {
        ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", running));
        *window = WaitForMainWindow(20000);
        ASSERT_NE(*window, nullptr);
        ASSERT_TRUE(WaitForOutput(running, "preview of source 3 running", 30000)) << running.Output();
        Click(*window, IDC_TAB_TV);
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(*window, IDC_CHANNEL_DISPLAY)) != FALSE; }, 10000));
    }

    void Close(Running& running, HWND window)
    {
        PostMessageA(window, WM_CLOSE, 0, 0);
        DWORD code = 1;
        ASSERT_TRUE(WaitForExit(running, 30000, &code));
        EXPECT_EQ(code, 0u);
    }
};

TEST_F(MarovinTuner, ScanNamesTheStationsWhileTheWindowStaysResponsive)
{
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenChannelPage(running, &window));
    EXPECT_EQ(ControlText(window, IDC_COUNTRY), "USA");
    EXPECT_EQ(ControlText(window, IDC_STANDARD), "NTSC M");
    Click(window, IDC_CHANNEL_SCAN);
    const HWND progress = GetDlgItem(window, IDC_SCAN_PROGRESS);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel >= 10; }, 20000)) << "the scan began";
    // Mid-scan the window answers and paints, and the bar moves.
    DWORD_PTR first = 0, second = 0;
    ASSERT_NE(SendMessageTimeoutA(progress, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &first), 0);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel >= 20; }, 20000));
    ASSERT_NE(SendMessageTimeoutA(progress, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &second), 0);
    EXPECT_GT(second, first);
    EXPECT_GE(first, 9u);
    RECT whole{};
    GetClientRect(window, &whole);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    DWORD_PTR ignored = 0;
    EXPECT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored), 0) << "hung during the scan";
    ASSERT_TRUE(WaitForOutput(running, "channel scan done: 68 probed, 3 found", 60000)) << running.Output();
    EXPECT_EQ(CardTuner().channel, 2) << "the channel watched before the scan";
    testsupport::PumpMessages(300);
    EXPECT_TRUE(testsupport::CaptureWindow(window).SaveBmp(testsupport::OutputDir() + "channel_page_scanned.bmp"));
    ASSERT_NO_FATAL_FAILURE(Close(running, window));
    const std::vector<std::pair<int, std::string>> expected = {{4, "Channel  04"}, {9, "Channel  09"}, {33, "Channel  33"}};
    EXPECT_EQ(StoredAntennaChannels(), expected);
}

TEST_F(MarovinTuner, ACancelledScanKeepsTheNamesAboveWhereItStopped)
{
    SetValue(kAntennaKey, "ChName0", std::string("Mine 3"));
    SetValue(kAntennaKey, "ChNum0", 3);
    SetValue(kAntennaKey, "ChTwkVal0", 0);
    SetValue(kAntennaKey, "ChName1", std::string("Mine 25"));
    SetValue(kAntennaKey, "ChNum1", 25);
    SetValue(kAntennaKey, "ChTwkVal1", -7);
    SetValue(kAntennaKey, "ChName2", std::string("Mine 60"));
    SetValue(kAntennaKey, "ChNum2", 60);
    SetValue(kAntennaKey, "ChTwkVal2", 4);
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenChannelPage(running, &window));
    Click(window, IDC_CHANNEL_SCAN);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel >= 20; }, 30000));
    Click(window, IDC_CHANNEL_SCAN);
    ASSERT_TRUE(WaitForOutput(running, "channel scan cancelled", 10000)) << running.Output();
    ASSERT_NO_FATAL_FAILURE(Close(running, window));
    const std::vector<std::pair<int, std::string>> channels = StoredAntennaChannels();
    const std::vector<std::pair<int, std::string>> expected = {
        {4, "Channel  04"}, {9, "Channel  09"}, {25, "Mine 25"}, {60, "Mine 60"}};
    EXPECT_EQ(channels, expected);
    DWORD fine = 0, size = sizeof fine;
    RegGetValueA(HKEY_CURRENT_USER, kAntennaKey, "ChTwkVal2", RRF_RT_REG_DWORD, nullptr, &fine, &size);
    EXPECT_EQ(static_cast<int>(fine), -7) << "the fine tune of 25 is kept with its name";
}

TEST_F(MarovinTuner, ChannelKeysFineTuneSoundAndTheTunedPicture)
{
    SetValue(kAntennaKey, "ChName0", std::string("Four"));
    SetValue(kAntennaKey, "ChNum0", 4);
    SetValue(kAntennaKey, "ChTwkVal0", 0);
    SetValue(kAntennaKey, "ChName1", std::string("Nine"));
    SetValue(kAntennaKey, "ChNum1", 9);
    SetValue(kAntennaKey, "ChTwkVal1", 0);
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenChannelPage(running, &window));
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel == 2; }, 5000));

    // "0","0","7": at once.
    const DWORD typed = GetTickCount();
    for (int d : {0, 0, 7})
        Digit(window, d);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel == 7; }, 5000));
    EXPECT_LT(GetTickCount() - typed, 2500u) << "a leading zero does not wait for the timer";
    EXPECT_EQ(ControlText(window, IDC_CHANNEL_DISPLAY), "7");

    // "1","2": after the entry timer.
    Digit(window, 1);
    Digit(window, 2);
    const DWORD second = GetTickCount();
    ASSERT_TRUE(WaitFor([&] { return ControlText(window, IDC_CHANNEL_DISPLAY) == "12"; }, 5000));
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel == 12; }, 15000));
    EXPECT_GE(GetTickCount() - second, 2900u) << "two digits wait for the timer";

    // "9","9","9" with maximum 69: the previous channel stays.
    for (int d : {9, 9, 9})
        Digit(window, d);
    ASSERT_TRUE(WaitFor([&] { return ControlText(window, IDC_CHANNEL_DISPLAY) == "12"; }, 5000));
    testsupport::PumpMessages(500);
    EXPECT_EQ(CardTuner().channel, 12);

    // Channel up from the maximum: the lowest named channel.
    Digit(window, 6);
    Digit(window, 9);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel == 69; }, 15000));
    Key(window, kChannelUp);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel == 4; }, 5000));
    Key(window, kChannelUp);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel == 9; }, 5000));

    // The page's own digit buttons.
    Click(window, IDC_DIGIT_0);
    Click(window, IDC_DIGIT_4);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel == 4; }, 5000));
    Click(window, IDC_DIGIT_0);
    Click(window, IDC_DIGIT_9);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel == 9; }, 5000));

    // Fine tune: the slider asks for +60, the tuner stops at +50 steps above the channel.
    const long base = vcap::ChannelFrequency(vcap::ChannelPlan::UsBroadcast, 9);
    ASSERT_EQ(CardTuner().frequency, base);
    const HWND slider = GetDlgItem(window, IDC_FINE_TUNE_SLIDER);
    DWORD_PTR lowest = 0, highest = 0, position = 1;
    SendMessageTimeoutA(slider, TBM_GETRANGEMIN, 0, 0, SMTO_ABORTIFHUNG, 2000, &lowest);
    SendMessageTimeoutA(slider, TBM_GETRANGEMAX, 0, 0, SMTO_ABORTIFHUNG, 2000, &highest);
    SendMessageTimeoutA(slider, TBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &position);
    EXPECT_EQ(static_cast<int>(lowest), -50);
    EXPECT_EQ(static_cast<int>(highest), 50);
    EXPECT_EQ(static_cast<int>(position), 0);
    SendMessageTimeoutA(slider, TBM_SETPOS, TRUE, 60, SMTO_ABORTIFHUNG, 2000, nullptr);
    PostMessageA(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 50), reinterpret_cast<LPARAM>(slider));
    ASSERT_TRUE(WaitFor([&] { return ControlText(window, IDC_FINE_TUNE_VALUE) == "50"; }, 10000))
        << ControlText(window, IDC_FINE_TUNE_VALUE);
    EXPECT_EQ(CardTuner().frequency, base + 50 * vcap::kTunerGranularityHz);

    // Sound: the dialog sets the mode at once, and shows what the card reads back.
    Click(window, IDC_TV_AUDIO);
    HWND sound = FindDialogWith(window, IDC_SAP_ENABLE, 10000);
    ASSERT_NE(sound, nullptr);
    // The card starts in stereo with the main language: the dialog shows it so.
    DWORD_PTR check = 0;
    SendMessageTimeoutA(GetDlgItem(sound, IDC_SAP_STEREO), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &check);
    EXPECT_EQ(check, static_cast<DWORD_PTR>(BST_CHECKED));
    SendMessageTimeoutA(GetDlgItem(sound, IDC_SAP_ENABLE), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &check);
    EXPECT_EQ(check, static_cast<DWORD_PTR>(BST_UNCHECKED));
    PostMessageA(GetDlgItem(sound, IDC_SAP_ENABLE), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().audioMode == 0x20; }, 5000)) << CardTuner().audioMode;
    PostMessageA(GetDlgItem(sound, IDC_SAP_LANGUAGE_B), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().audioMode == 0x40; }, 5000)) << CardTuner().audioMode;
    PostMessageA(GetDlgItem(sound, IDC_SAP_ENABLE), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().audioMode == 0x12; }, 5000)) << CardTuner().audioMode;
    PostMessageA(GetDlgItem(sound, IDC_SAP_STEREO), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().audioMode == 0x11; }, 5000)) << CardTuner().audioMode;
    PostMessageA(sound, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(sound) || !IsWindowVisible(sound); }, 5000));
    // Another program puts the second program on; the next tune reads it back.
    vcap::TunerRecord t = CardTuner();
    t.audioMode = 0x20;
    ASSERT_TRUE(vcap::SaveTuner(kCard, t));
    Click(window, IDC_DIGIT_0);
    Click(window, IDC_DIGIT_4);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel == 4; }, 5000));
    Click(window, IDC_TV_AUDIO);
    sound = FindDialogWith(window, IDC_SAP_ENABLE, 10000);
    ASSERT_NE(sound, nullptr);
    DWORD_PTR sap = 0, stereo = 0;
    SendMessageTimeoutA(GetDlgItem(sound, IDC_SAP_ENABLE), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &sap);
    SendMessageTimeoutA(GetDlgItem(sound, IDC_SAP_STEREO), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &stereo);
    EXPECT_EQ(sap, static_cast<DWORD_PTR>(BST_CHECKED));
    EXPECT_EQ(stereo, static_cast<DWORD_PTR>(BST_UNCHECKED));
    PostMessageA(sound, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(sound) || !IsWindowVisible(sound); }, 5000));

    // The preview follows the tuner: blue on channel 5, which carries no station, then
    // channel 33's picture; kept for a look.
    testsupport::ScreenImage shot;
    const auto blueShare = [&] {
        shot = testsupport::CaptureWindow(GetDlgItem(window, IDC_VIDEO_AREA));
        size_t blue = 0;
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x) {
                const COLORREF c = shot.Pixel(x, y);
                blue += GetBValue(c) > 200 && GetRValue(c) < 60 && GetGValue(c) < 60;
            }
        return shot.width * shot.height ? static_cast<double>(blue) / (shot.width * shot.height) : 1.0;
    };
    Digit(window, 0);
    Digit(window, 5);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel == 5; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return blueShare() > 0.5; }, 15000)) << "no station, no picture";
    Digit(window, 3);
    Digit(window, 3);
    ASSERT_TRUE(WaitFor([&] { return CardTuner().channel == 33; }, 15000));
    EXPECT_TRUE(WaitFor([&] { return blueShare() < 0.2; }, 15000)) << "the picture of a station";
    testsupport::PumpMessages(500);
    blueShare();
    EXPECT_TRUE(shot.SaveBmp(testsupport::OutputDir() + "tuner_channel33.bmp"));

    ASSERT_NO_FATAL_FAILURE(Close(running, window));
    DWORD last = 0, size = sizeof last;
    RegGetValueA(HKEY_CURRENT_USER, kTunerKey, "LastChannel", RRF_RT_REG_DWORD, nullptr, &last, &size);
    EXPECT_EQ(last, 33u);
    const std::vector<std::pair<int, std::string>> expected = {{4, "Four"}, {9, "Nine"}};
    EXPECT_EQ(StoredAntennaChannels(), expected);
    DWORD fine = 0;
    size = sizeof fine;
    RegGetValueA(HKEY_CURRENT_USER, kAntennaKey, "ChTwkVal1", RRF_RT_REG_DWORD, nullptr, &fine, &size);
    EXPECT_EQ(fine, 50u);
}

}  // namespace
