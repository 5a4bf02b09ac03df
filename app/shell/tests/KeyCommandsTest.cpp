// The key commands' rules as tables: what each command does in each mode, which keys reach the
// tables at all, the remote's key codes, the steps of brightness and volume, and the help
// file's choice.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "KeyCommands.h"

namespace {

using namespace shell::keys;
using shell::MODE_CAPTURE;
using shell::MODE_IDLE;
using shell::MODE_PLAYBACK;

// The states a command is judged in.
const KeyState kIdle{MODE_IDLE, false, false};
const KeyState kPreview{MODE_CAPTURE, false, false};
const KeyState kRecording{MODE_CAPTURE, true, false};
const KeyState kPlaying{MODE_PLAYBACK, false, false};
const KeyState kPaused{MODE_PLAYBACK, false, true};

TEST(KeyCommands, EachCommandActsOnlyInItsModes)
{
    using A = Action;
    struct Row {
        WORD command;
        Action idle, preview, recording, playing, paused;
    } rows[] = {
        {32770, A::kNone, A::kNone, A::kNone, A::kPlayPause, A::kPlayPause},  // Space
        {32774, A::kNone, A::kNone, A::kNone, A::kSeekStart, A::kSeekStart},
        {32773, A::kNone, A::kNone, A::kNone, A::kSeekEnd, A::kSeekEnd},
        {32776, A::kNone, A::kNone, A::kNone, A::kSkipBack, A::kSkipBack},
        {32808, A::kNone, A::kNone, A::kNone, A::kSkipForward, A::kSkipForward},
        {32801, A::kNone, A::kLeaveFullScreen, A::kLeaveFullScreen, A::kLeaveFullScreen, A::kLeaveFullScreen},
        {32772, A::kNone, A::kNone, A::kNone, A::kNone, A::kStepBack},
        {32771, A::kNone, A::kNone, A::kNone, A::kNone, A::kStepForward},
        {32800, A::kNone, A::kRecord, A::kRecord, A::kNone, A::kNone},  // Ctrl+R
        {32802, A::kNone, A::kBrightnessUp, A::kBrightnessUp, A::kNone, A::kNone},
        {32826, A::kHelp, A::kHelp, A::kHelp, A::kHelp, A::kHelp},
        {32839, A::kExit, A::kExit, A::kNone, A::kExit, A::kExit},  // X
        {32810, A::kReapplyInput, A::kReapplyInput, A::kNone, A::kReapplyInput, A::kReapplyInput},
        {32830, A::kNone, A::kRecord, A::kNone, A::kNone, A::kNone},
        {32825, A::kNone, A::kNone, A::kRecord, A::kNone, A::kNone},
        {32835, A::kPlaybackCommand, A::kPlaybackCommand, A::kNone, A::kPlayPause, A::kPlayPause},
        {32828, A::kCaptureButton, A::kPlaybackCommand, A::kNone, A::kCaptureButton, A::kCaptureButton},
        {32813, A::kMute, A::kMute, A::kMute, A::kMute, A::kMute},
        {32831, A::kNone, A::kNone, A::kNone, A::kSkipBack, A::kStepBack},
        {32834, A::kNone, A::kNone, A::kNone, A::kSkipForward, A::kNone},
        {32838, A::kNone, A::kVolumeUp, A::kVolumeUp, A::kVolumeUp, A::kVolumeUp},
        {32822, A::kNone, A::kVolumeDown, A::kVolumeDown, A::kVolumeDown, A::kVolumeDown},
        {32840, A::kNone, A::kNone, A::kNone, A::kFullScreen, A::kFullScreen},
        {32789, A::kNone, A::kNone, A::kNone, A::kNone, A::kNone},  // Enter
        {32817, A::kNone, A::kNone, A::kNone, A::kNone, A::kNone},
        {32788, A::kTuner, A::kTuner, A::kTuner, A::kTuner, A::kTuner},
        {32799, A::kTuner, A::kTuner, A::kTuner, A::kTuner, A::kTuner},
        {12345, A::kNone, A::kNone, A::kNone, A::kNone, A::kNone},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.command);
        EXPECT_EQ(ActionFor(r.command, kIdle), r.idle);
        EXPECT_EQ(ActionFor(r.command, kPreview), r.preview);
        EXPECT_EQ(ActionFor(r.command, kRecording), r.recording);
        EXPECT_EQ(ActionFor(r.command, kPlaying), r.playing);
        EXPECT_EQ(ActionFor(r.command, kPaused), r.paused);
    }
}

TEST(KeyCommands, TablesHoldEveryKeyOnceAndEveryCommandIsKnown)
{
    for (int table : {kKeyboardTable, kRemoteTable}) {
        SCOPED_TRACE(table);
        std::set<std::tuple<BYTE, WORD>> keys;
        for (const ACCEL& a : Table(table)) {
            EXPECT_TRUE(keys.insert({a.fVirt, a.key}).second) << "key " << a.key << " twice";
            EXPECT_GE(a.cmd, 32769);
            EXPECT_LE(a.cmd, 32840);
        }
    }
    EXPECT_EQ(Table(kKeyboardTable).size(), 32u);
    EXPECT_EQ(Table(kRemoteTable).size(), 39u);
    EXPECT_TRUE(Table(12).empty());
    EXPECT_TRUE(IsKeyCommand(32840));
    EXPECT_FALSE(IsKeyCommand(32841));
}

TEST(KeyCommands, EditsAndPagesOneAndThreeGetTheirKeysUntranslated)
{
    struct Row {
        const char* what;
        UINT message;
        WPARAM key;
        bool inEdit;
        int page;
        bool translated;
    } rows[] = {
        {"'+' typed into an edit", WM_CHAR, '+', true, 1, false},
        {"'-' typed into an edit of another page", WM_CHAR, '-', true, 0, false},
        {"a letter key into an edit", WM_KEYDOWN, 'X', true, 2, false},
        {"Ctrl+Shift+Alt+M in an edit", WM_SYSKEYDOWN, 'M', true, 0, false},
        {"Esc in an edit leaves full screen", WM_KEYDOWN, VK_ESCAPE, true, 1, true},
        {"Enter in an edit does not close the window", WM_KEYDOWN, VK_RETURN, true, 1, true},
        {"a digit on page 1", WM_KEYDOWN, '1', false, 1, false},
        {"Space on page 3", WM_KEYDOWN, VK_SPACE, false, 3, false},
        {"Esc on page 3", WM_KEYDOWN, VK_ESCAPE, false, 3, true},
        {"the remote's combinations on page 1", WM_SYSKEYDOWN, 'M', false, 1, true},
        {"'+' on page 3 outside an edit", WM_CHAR, '+', false, 3, true},
        {"a digit on page 0", WM_KEYDOWN, '1', false, 0, true},
        {"a digit on page 2", WM_KEYDOWN, '1', false, 2, true},
        {"before any page", WM_KEYDOWN, 'H', false, -1, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(TranslateKey(r.message, r.key, r.inEdit, r.page), r.translated) << r.what;
}

TEST(KeyCommands, RemoteKeysMapAsTheSameCombinationTyped)
{
    const auto code = [](WORD key, BYTE modifiers) { return static_cast<WPARAM>(MAKELONG(key, modifiers)); };
    constexpr BYTE kCsa = FCONTROL | FSHIFT | FALT;
    const std::map<WPARAM, std::optional<WORD>> expected = {
        {code('0', 0), 32788},
        {code('5', 0), 32783},
        {code(VK_NUMPAD7, 0), 32797},
        {code('M', kCsa), 32813},
        {code(VK_UP, kCsa), 32836},
        {code(VK_UP, FSHIFT), 32838},
        {code(VK_UP, FCONTROL), 32777},
        {code(VK_UP, FCONTROL | FALT), 32837},
        {code('P', 0), 32817},
        {code('P', kCsa), 32769},
        {code('+', 0), 32802},  // a character of the table
        {code('+', FSHIFT), std::nullopt},
        {code('M', 0), std::nullopt},
        {code('Q', kCsa), std::nullopt},
    };
    for (const auto& [key, command] : expected)
        EXPECT_EQ(CommandForRemoteKey(key), command) << std::hex << key;

    EXPECT_TRUE(RemoteKeyAccepted(0, 0xFE)) << "no remote configured: any";
    EXPECT_TRUE(RemoteKeyAccepted(0x7F, 0x12)) << "an address no remote has counts as none";
    EXPECT_TRUE(RemoteKeyAccepted(0xFB, 0xFB));
    EXPECT_FALSE(RemoteKeyAccepted(0xFB, 0xFE)) << "another remote in the room";
}

TEST(KeyCommands, StepsStayWithinTheRange)
{
    EXPECT_EQ(StepWithin(50, 0, 100, 1, 1), 51);
    EXPECT_EQ(StepWithin(50, 0, 100, 1, -1), 49);
    EXPECT_EQ(StepWithin(100, 0, 100, 1, 1), std::nullopt);
    EXPECT_EQ(StepWithin(0, 0, 100, 1, -1), std::nullopt);
    EXPECT_EQ(StepWithin(10, 0, 255, 5, 1), 15) << "the device's granularity";
    EXPECT_EQ(StepWithin(10, 0, 255, 0, -1), 9) << "a device without a granularity steps by one";
    EXPECT_EQ(StepWithin(-10, -10, 10, 1, -1), std::nullopt);
}

TEST(KeyCommands, HelpFilesComeFromTheGivenFolderChmFirst)
{
    const auto files = HelpFilesToTry("C:\\Program\\", {"Marovin.exe", "guide.HLP", "a.chm.txt", "Marovin.CHM", "b.chm"});
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].kind, HelpFile::kHtmlHelp);
    EXPECT_EQ(files[0].path, "C:\\Program\\Marovin.CHM");
    EXPECT_EQ(files[1].kind, HelpFile::kWinHelp);
    EXPECT_EQ(files[1].path, "C:\\Program\\guide.HLP");
    EXPECT_EQ(HelpFilesToTry("C:\\Program", {"x.hlp"}).at(0).path, "C:\\Program\\x.hlp");
    EXPECT_TRUE(HelpFilesToTry("C:\\Program\\", {".chm", "readme.txt"}).empty()) << "a bare extension is no file";
}

}  // namespace
