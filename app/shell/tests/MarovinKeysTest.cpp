// Marovin driven from the keyboard, with keys typed through the system's input queue into the
// real window on a virtual card: every key of both tables reaches its command in the modes it
// belongs to and does nothing in the others (one table drives it all); the recording keys go
// the record control's way (settings locked, the no-video rule, nothing while no picture);
// text typed into the folder edit arrives whole; help without a help file of the program's own
// shows the about box; the playback command and X.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "CardControl.h"
#include "ControlIds.h"
#include "MarovinDialogs.h"
#include "MarovinInput.h"
#include "RecordingFixture.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

constexpr BYTE kCsa = FCONTROL | FSHIFT | FALT;
constexpr DWORD kKeyWaitMs = 10000;
constexpr char kColorKey[] = "Software\\Halvark\\Marovin\\Color";

// What the window's output says a command did, as it words it.
constexpr const char* kNothing = "nothing";
constexpr const char* kSkip = nullptr;  // not pressed in this mode (tested on its own)

struct KeyRow {
    const char* name;
    WORD key;  // a virtual key, or the character for a character key
    BYTE modifiers;
    bool character;
    WORD command;
    const char* capture;
    const char* recording;
    const char* playing;
    const char* paused;
    bool toggles = false;  // pressed twice, so the mode stays as it was
};

// Both tables, the channel keys aside (their own tests have them).
const KeyRow kKeys[] = {
    {"Enter", VK_RETURN, 0, false, 32789, kNothing, kNothing, kNothing, kNothing},
    {"Space", VK_SPACE, 0, false, 32770, kNothing, kNothing, "play or pause", "play or pause", true},
    {"Home", VK_HOME, 0, false, 32774, kNothing, kNothing, "seek to the start", "seek to the start"},
    {"End", VK_END, 0, false, 32773, kNothing, kNothing, "seek to the end", "seek to the end"},
    {"Page Up", VK_PRIOR, 0, false, 32776, kNothing, kNothing, "skip back", "skip back"},
    {"Page Down", VK_NEXT, 0, false, 32775, kNothing, kNothing, "skip forward", "skip forward"},
    {"Esc", VK_ESCAPE, 0, false, 32801, "leave full screen", "leave full screen", "leave full screen", "leave full screen"},
    {"Ctrl+B", 'B', FCONTROL, false, 32772, kNothing, kNothing, kNothing, "step back"},
    {"Ctrl+F", 'F', FCONTROL, false, 32771, kNothing, kNothing, kNothing, "step forward"},
    {"Ctrl+R", 'R', FCONTROL, false, 32800, kSkip, kSkip, kNothing, kNothing},
    {"+", '+', 0, true, 32802, "brightness up", "brightness up", kNothing, kNothing},
    {"-", '-', 0, true, 32803, "brightness down", "brightness down", kNothing, kNothing},
    {"A", 'A', 0, false, 32804, kNothing, kNothing, kNothing, kNothing},
    {"B", 'B', 0, false, 32805, kNothing, kNothing, kNothing, kNothing},
    {"C", 'C', 0, false, 32806, kNothing, kNothing, kNothing, kNothing},
    {"E", 'E', 0, false, 32807, kNothing, kNothing, kNothing, kNothing},
    {"K", 'K', 0, false, 32811, kNothing, kNothing, kNothing, kNothing},
    {"L", 'L', 0, false, 32812, kNothing, kNothing, kNothing, kNothing},
    {"N", 'N', 0, false, 32814, kNothing, kNothing, kNothing, kNothing},
    {"O", 'O', 0, false, 32815, kNothing, kNothing, kNothing, kNothing},
    {"S", 'S', 0, false, 32819, kNothing, kNothing, kNothing, kNothing},
    {"T", 'T', 0, false, 32820, kNothing, kNothing, kNothing, kNothing},
    {"Ctrl+O", 'O', FCONTROL, false, 32816, kNothing, kNothing, kNothing, kNothing},
    {"Ctrl+Alt+Up", VK_UP, FCONTROL | FALT, false, 32837, kNothing, kNothing, kNothing, kNothing},
    {"Ctrl+Alt+Down", VK_DOWN, FCONTROL | FALT, false, 32823, kNothing, kNothing, kNothing, kNothing},
    {"F12", VK_F12, 0, false, 32829, kNothing, kNothing, kNothing, kNothing},
    {"Ctrl+Shift+Alt+P", 'P', kCsa, false, 32769, kNothing, kNothing, kNothing, kNothing},
    {"P", 'P', 0, false, 32817, kNothing, kNothing, kNothing, kNothing},
    {"Ctrl+Shift+Alt+Left", VK_LEFT, kCsa, false, 32833, kNothing, kNothing, kNothing, kNothing},
    {"Ctrl+Shift+Alt+Right", VK_RIGHT, kCsa, false, 32832, kNothing, kNothing, kNothing, kNothing},
    {"H", 'H', 0, false, 32809, kSkip, kSkip, kSkip, kSkip},
    {"F1", VK_F1, 0, false, 32826, kSkip, kSkip, kSkip, kSkip},
    {"X", 'X', 0, false, 32839, kSkip, kNothing, kSkip, kSkip},
    {"Ctrl+Shift+Alt+A", 'A', kCsa, false, 32810, "input again", kNothing, "input again", "input again"},
    {"Ctrl+Shift+Alt+E", 'E', kCsa, false, 32830, kSkip, kNothing, kNothing, kNothing},
    {"Ctrl+Shift+Alt+End", VK_END, kCsa, false, 32825, kNothing, kSkip, kNothing, kNothing},
    {"Ctrl+Shift+Alt+Enter", VK_RETURN, kCsa, false, 32827, kSkip, kNothing, "play or pause", "play or pause", true},
    {"Ctrl+Shift+Alt+Space", VK_SPACE, kCsa, false, 32835, kSkip, kNothing, "play or pause", "play or pause", true},
    {"Ctrl+Shift+Alt+F4", VK_F4, kCsa, false, 32828, kSkip, kNothing, kSkip, kSkip},
    {"Ctrl+Shift+Alt+M", 'M', kCsa, false, 32813, "mute", "mute", "mute", "mute", true},
    {"Ctrl+Shift+Alt+S", 'S', kCsa, false, 32831, kNothing, kNothing, "skip back", "step back"},
    {"Ctrl+Shift+Alt+R", 'R', kCsa, false, 32834, kNothing, kNothing, "skip forward", kNothing},
    {"Ctrl+Shift+Alt+Page Up", VK_PRIOR, kCsa, false, 32818, kNothing, kNothing, "skip back", "skip back"},
    {"Ctrl+Shift+Alt+Page Down", VK_NEXT, kCsa, false, 32808, kNothing, kNothing, "skip forward", "skip forward"},
    {"Ctrl+Shift+Alt+Up", VK_UP, kCsa, false, 32836, "volume up", "volume up", "volume up", "volume up"},
    {"Shift+Up", VK_UP, FSHIFT, false, 32838, "volume up", "volume up", "volume up", "volume up"},
    {"Ctrl+Shift+Alt+Down", VK_DOWN, kCsa, false, 32822, "volume down", "volume down", "volume down", "volume down"},
    {"Shift+Down", VK_DOWN, FSHIFT, false, 32824, "volume down", "volume down", "volume down", "volume down"},
    {"Ctrl+Shift+Alt+Z", 'Z', kCsa, false, 32840, kNothing, kNothing, kSkip, kSkip},
};

enum Phase { kCapture, kRecordingPhase, kPlaying, kPaused };

const char* Expected(const KeyRow& row, Phase phase)
{
    switch (phase) {
    case kCapture: return row.capture;
    case kRecordingPhase: return row.recording;
    case kPlaying: return row.playing;
    case kPaused: return row.paused;
    }
    return kSkip;
}

std::string Prefix(WORD command)
{
    return "key command " + std::to_string(command) + ": ";
}

// What the latest output line for `command` says it did.
std::string LastAction(Running& running, WORD command)
{
    const std::string out = running.Output();
    const size_t at = out.rfind(Prefix(command));
    if (at == std::string::npos)
        return {};
    const size_t start = at + Prefix(command).size();
    return out.substr(start, out.find_first_of("\r\n", start) - start);
}

void Press(const KeyRow& row)
{
    if (row.character)
        TypeText(std::string(1, static_cast<char>(row.key)));
    else
        PressKey(row.key, row.modifiers);
}

// Presses the row's key and returns what its command did; "<no command>" when none came.
std::string PressAndRead(Running& running, HWND window, const KeyRow& row)
{
    const size_t before = Count(running, Prefix(row.command));
    BringForward(window);
    Press(row);
    if (!testsupport::PumpMessages(kKeyWaitMs, [&] { return Count(running, Prefix(row.command)) > before; })) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        char focus[64] = "none";
        if (info.hwndFocus)
            GetClassNameA(info.hwndFocus, focus, sizeof focus);
        char capture[64] = "none";
        if (info.hwndCapture)
            GetClassNameA(info.hwndCapture, capture, sizeof capture);
        return std::string("<no command; focus in ") + focus + ", capture " + capture + (IsWindowEnabled(window) ? "" : ", disabled") + (GetForegroundWindow() == window ? "" : ", not in front") + ">";
    }
    return LastAction(running, row.command);
}

void CheckPhase(Running& running, HWND window, Phase phase)
{
    for (const KeyRow& row : kKeys) {
        const char* expected = Expected(row, phase);
        if (expected == kSkip)
            continue;
        for (int times = row.toggles ? 2 : 1; times > 0; --times) {
            const std::string did = PressAndRead(running, window, row);
            // A key that reached nothing says why once; the rest would only wait in vain.
            ASSERT_EQ(did, expected) << row.name << " in phase " << phase << "\n" << Describe(running);
        }
    }
}

const KeyRow& Row(WORD command)
{
    for (const KeyRow& row : kKeys)
        if (row.command == command)
            return row;
    return kKeys[0];
}

class MarovinKeys : public MarovinRecording {
protected:
    void SetUp() override
    {
        MarovinRecording::SetUp();
        // The played file loops, so the end keys leave it playing.
        SetNumber(kCaptureKey, "PlayLoop", 1);
        media_ = testsupport::OutputDir() + "keys-60s.mpg";
        ASSERT_TRUE(CopyFileA((std::string(KEYS_MEDIA) + "mpeg2-60s.mpg").c_str(), media_.c_str(), FALSE));
        SetString(kRecentKey, "file1", media_);
    }
    std::string media_;
};

bool Enabled(HWND window, int id)
{
    return IsWindowEnabled(GetDlgItem(window, id)) != FALSE;
}

TEST_F(MarovinKeys, EveryKeyReachesItsCommandOnlyInItsModes)
{
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    ASSERT_TRUE(BringForward(window));
    ASSERT_NO_FATAL_FAILURE(CheckPhase(running, window, kCapture));

    // Ctrl+R records through the record control: the settings lock, X is ignored, and the
    // recording keys of the remote stop and start.
    ASSERT_EQ(PressAndRead(running, window, Row(32800)), "record control");
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg", 15000)) << running.Output();
    EXPECT_FALSE(Enabled(window, IDC_TAB_RECORDING)) << "settings locked";
    ASSERT_NO_FATAL_FAILURE(CheckPhase(running, window, kRecordingPhase));
    EXPECT_TRUE(IsWindow(window)) << "X during a recording is ignored";
    EXPECT_EQ(PressAndRead(running, window, Row(32825)), "record control");
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg finished", 15000)) << running.Output();
    EXPECT_TRUE(Enabled(window, IDC_TAB_RECORDING)) << "settings unlocked";
    EXPECT_EQ(PressAndRead(running, window, Row(32830)), "record control");
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip2.mpg", 15000)) << running.Output();
    EXPECT_EQ(PressAndRead(running, window, Row(32800)), "record control");
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip2.mpg finished", 15000)) << running.Output();

    // The long file plays from the recent list, below the two recordings: the playback keys,
    // playing and paused.
    ASSERT_EQ(GetString(kRecentKey, "file3"), media_);
    PostMessageA(window, WM_COMMAND, IDC_RECENT_3, 0);
    ASSERT_TRUE(testsupport::PumpMessages(20000, [&] { return Enabled(window, IDC_POSITION_SLIDER); })) << running.Output();
    ASSERT_NO_FATAL_FAILURE(CheckPhase(running, window, kPlaying));
    PostMessageA(window, WM_COMMAND, IDC_PLAY, 0);
    testsupport::PumpMessages(1000);
    ASSERT_NO_FATAL_FAILURE(CheckPhase(running, window, kPaused));

    // Ctrl+Shift+Alt+F4 in playback is the capture control: the preview comes back.
    const size_t previews = Count(running, "preview of source");
    EXPECT_EQ(PressAndRead(running, window, Row(32828)), "capture control");
    EXPECT_TRUE(testsupport::PumpMessages(20000, [&] { return Count(running, "preview of source") > previews; }))
        << running.Output();
    EXPECT_FALSE(Enabled(window, IDC_POSITION_SLIDER)) << "playback closed";

    // X ends the program through the close path.
    EXPECT_EQ(PressAndRead(running, window, Row(32839)), "exit");
    EXPECT_TRUE(WaitForExit(running, 20000, nullptr)) << Describe(running);
    EXPECT_NE(running.Output().find("closing: capture and playback released"), std::string::npos);
    EXPECT_TRUE(Exists(folder_ + "clip2.mpg"));
}

TEST_F(MarovinKeys, BrightnessVolumeAndTheRemotesKeysReachTheDeviceAndTheSlider)
{
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    ASSERT_TRUE(BringForward(window));
    const DWORD brightness = GetNumber(std::string(kColorKey), "Brightness");
    ASSERT_EQ(PressAndRead(running, window, Row(32802)), "brightness up");
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return GetNumber(std::string(kColorKey), "Brightness") > brightness; }))
        << "kept for the next preview";
    ASSERT_EQ(PressAndRead(running, window, Row(32803)), "brightness down");
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return GetNumber(std::string(kColorKey), "Brightness") == brightness; }));

    // Volume up while muted unmutes first, as the volume slider does.
    PostMessageA(window, WM_COMMAND, IDC_MUTE, 0);
    ASSERT_TRUE(testsupport::PumpMessages(5000, [&] { return GetNumber(std::string(kCaptureKey), "Mute") == 1; }));
    const DWORD level = GetNumber(std::string(kCaptureKey), "AudioLevel");
    ASSERT_LE(level, 100u);
    const bool lower = level > 0;
    ASSERT_EQ(PressAndRead(running, window, Row(lower ? 32824 : 32838)), lower ? "volume down" : "volume up");
    const DWORD now = lower ? level - 1 : level + 1;
    // The command names itself before it acts: its own line says it is done.
    ASSERT_TRUE(WaitForOutput(running, "volume " + std::to_string(now), 5000)) << running.Output();
    EXPECT_EQ(GetNumber(std::string(kCaptureKey), "Mute"), 0u);
    EXPECT_EQ(IsDlgButtonChecked(window, IDC_MUTE), static_cast<UINT>(BST_UNCHECKED)) << "the button shows what is heard";
    EXPECT_EQ(GetNumber(std::string(kCaptureKey), "AudioLevel"), now);
    EXPECT_EQ(SendMessageA(GetDlgItem(window, IDC_VOLUME_SLIDER), TBM_GETPOS, 0, 0), static_cast<LRESULT>(now));
    EXPECT_TRUE(WaitForOutput(running, "volume " + std::to_string(now) + " on the preview's sound", 5000))
        << running.Output();

    // The slider reaches the preview's sound too.
    const HWND slider = GetDlgItem(window, IDC_VOLUME_SLIDER);
    const LRESULT moved = now >= 50 ? 20 : 80;
    SendMessageA(slider, TBM_SETPOS, TRUE, moved);
    PostMessageA(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, moved), reinterpret_cast<LPARAM>(slider));
    EXPECT_TRUE(WaitForOutput(running, "volume " + std::to_string(moved) + " on the preview's sound", 5000))
        << running.Output();
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return GetNumber(std::string(kCaptureKey), "AudioLevel") == static_cast<DWORD>(moved); }));

    // The remote's receiver reports Ctrl+Shift+Alt+M: the same mute command (no remote is
    // configured, so any address is taken).
    constexpr UINT kRemoteKeyMessage = WM_APP + 0x140;
    const size_t mutes = Count(running, "key command 32813: mute");
    PostMessageA(window, kRemoteKeyMessage, MAKELONG('M', kCsa), 0xFE);
    EXPECT_TRUE(testsupport::PumpMessages(kKeyWaitMs, [&] { return Count(running, "key command 32813: mute") > mutes; }))
        << running.Output();
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return GetNumber(std::string(kCaptureKey), "Mute") == 1; }));
    CloseMarovin(running, window);
}

// The skin's quality radios draw their mark within their first 20 columns.
constexpr int kRadioMarkWidth = 20;

TEST_F(MarovinKeys, CtrlRWithTheNoVideoRuleLocksTheSettingsAndTheRuleStillStops)
{
    SetNumber(kCaptureKey, "StopTime", 2);
    SetNumber(kCaptureKey, "StopNoVideoSec", 2);
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    ASSERT_TRUE(BringForward(window));
    testsupport::PumpMessages(300);
    const testsupport::ScreenImage chosenTab = testsupport::CaptureWindow(GetDlgItem(window, IDC_TAB_CAPTURE));
    const testsupport::ScreenImage otherTab = testsupport::CaptureWindow(GetDlgItem(window, IDC_TAB_TV));
    ASSERT_EQ(IsDlgButtonChecked(window, IDC_MODE_DVD), static_cast<UINT>(BST_CHECKED));
    // Taken once two captures agree, so that a loaded machine's late painting is not kept.
    testsupport::ScreenImage chosenQuality = testsupport::CaptureWindow(GetDlgItem(window, IDC_MODE_DVD));
    testsupport::PumpMessages(5000, [&] {
        testsupport::ScreenImage again = testsupport::CaptureWindow(GetDlgItem(window, IDC_MODE_DVD));
        const bool settled = again.bgr == chosenQuality.bgr;
        chosenQuality = std::move(again);
        return settled;
    });
    ASSERT_EQ(PressAndRead(running, window, Row(32800)), "record control");
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg", 15000)) << running.Output();
    for (int tab : {IDC_TAB_CAPTURE, IDC_TAB_RECORDING, IDC_TAB_TV, IDC_TAB_COLOR})
        EXPECT_FALSE(Enabled(window, tab)) << "tab " << tab;
    // The disabled tabs still show which page is up: the chosen one keeps its look, the
    // others take their disabled look.
    testsupport::PumpMessages(300);
    EXPECT_EQ(testsupport::CaptureWindow(GetDlgItem(window, IDC_TAB_CAPTURE)).bgr, chosenTab.bgr);
    EXPECT_NE(testsupport::CaptureWindow(GetDlgItem(window, IDC_TAB_TV)).bgr, otherTab.bgr);
    // So does the locked quality radio: its mark (the picture's left end) stays checked, once
    // the locked look has painted (a loaded machine may still be painting it).
    ASSERT_GE(chosenQuality.width, kRadioMarkWidth);
    size_t differentMarkPixels = 0;
    testsupport::PumpMessages(5000, [&] {
        const testsupport::ScreenImage locked = testsupport::CaptureWindow(GetDlgItem(window, IDC_MODE_DVD));
        differentMarkPixels = locked.width == chosenQuality.width && locked.height == chosenQuality.height ? 0 : 1;
        for (int y = 0; y < locked.height && !differentMarkPixels; ++y)
            for (int x = 0; x < kRadioMarkWidth; ++x)
                differentMarkPixels += locked.Pixel(x, y) != chosenQuality.Pixel(x, y);
        return differentMarkPixels == 0;
    });
    EXPECT_EQ(differentMarkPixels, 0u);
    testsupport::PumpMessages(1000);
    vcap::SetSignal(1, false);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + "clip1.mpg finished", 15000)) << running.Output();
    ASSERT_TRUE(testsupport::PumpMessages(10000, [&] { return IsWindowVisible(GetDlgItem(window, IDC_NO_VIDEO_LABEL)) != FALSE; }));
    EXPECT_TRUE(Enabled(window, IDC_TAB_RECORDING)) << "unlocked after the rule stopped";
    // No recording starts while the input has no picture.
    EXPECT_EQ(PressAndRead(running, window, Row(32800)), kNothing);
    testsupport::PumpMessages(1000);
    EXPECT_EQ(Count(running, "recording " + folder_ + "clip2.mpg"), 0u);
    vcap::SetSignal(1, true);
    CloseMarovin(running, window);
}

TEST_F(MarovinKeys, TextTypedIntoTheFolderEditArrivesWholeAndChangesNothingElse)
{
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_TAB_RECORDING, BN_CLICKED), 0);
    // The page's controls are created when it is first shown.
    HWND edit = nullptr;
    ASSERT_TRUE(testsupport::PumpMessages(10000, [&] {
        edit = GetDlgItem(window, IDC_RECORDING_FOLDER);
        return edit && IsWindowVisible(edit) != FALSE;
    }));
    const DWORD brightness = GetNumber(std::string(kColorKey), "Brightness");
    ASSERT_TRUE(BringForward(window));
    Click(edit);
    ASSERT_TRUE(testsupport::PumpMessages(5000, [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus == edit;
    })) << "the edit has the focus";
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    const size_t commands = Count(running, "key command ");
    TypeText("TV-Rec+1");
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return ItemText(window, IDC_RECORDING_FOLDER) == "TV-Rec+1"; }))
        << ItemText(window, IDC_RECORDING_FOLDER);
    EXPECT_EQ(Count(running, "key command "), commands) << running.Output();
    EXPECT_EQ(GetNumber(std::string(kColorKey), "Brightness"), brightness);
    EXPECT_TRUE(IsWindow(window));
    CloseMarovin(running, window);
}

TEST_F(MarovinKeys, HelpWithoutAHelpFileOfItsOwnShowsTheAboutBoxAndThePlaybackKeyOpensAFile)
{
    // A help file in the folder the program is started from is none of its own.
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    const std::string decoy = std::string(current) + "\\decoy.chm";
    ASSERT_NE(std::string(current) + "\\", testsupport::ModuleDir());
    {
        HANDLE f = CreateFileA(decoy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        CloseHandle(f);
    }
    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    for (WORD command : {32809, 32826}) {
        BringForward(window);
        Press(Row(command));
        const HWND about = NewDialog(window, {window}, kDialogWaitMs);
        ASSERT_NE(about, nullptr) << running.Output();
        EXPECT_EQ(GetWindow(about, GW_OWNER), window);
        PostMessageA(about, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(Gone(about));
    }
    EXPECT_EQ(Count(running, "help: no help file, the about box instead"), 2u) << running.Output();
    DeleteFileA(decoy.c_str());

    // The playback key in a preview: the preview goes and the open dialog asks for a file.
    const size_t stopped = Count(running, "key command 32828: playback command");
    BringForward(window);
    Press(Row(32828));
    const HWND open = NewDialog(window, {window}, kDialogWaitMs);
    ASSERT_NE(open, nullptr) << running.Output();
    EXPECT_EQ(Count(running, "key command 32828: playback command"), stopped + 1);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDC_NO_VIDEO_LABEL)));
    PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(Gone(open));
    // Idle now: the same key starts the preview again as the capture control.
    const size_t previews = Count(running, "preview of source");
    EXPECT_EQ(PressAndRead(running, window, Row(32828)), "capture control");
    EXPECT_TRUE(testsupport::PumpMessages(20000, [&] { return Count(running, "preview of source") > previews; }));
    CloseMarovin(running, window);
}

}  // namespace
