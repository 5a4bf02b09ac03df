#include "KeyCommands.h"

#include <algorithm>
#include <cctype>

namespace shell::keys {
namespace {

constexpr BYTE kCsa = FCONTROL | FSHIFT | FALT;  // what a remote receiver sends

ACCEL Key(WORD key, WORD command, BYTE modifiers = 0)
{
    return ACCEL{static_cast<BYTE>(FVIRTKEY | modifiers), key, command};
}

ACCEL Character(char c, WORD command)
{
    return ACCEL{0, static_cast<WORD>(static_cast<unsigned char>(c)), command};
}

std::vector<ACCEL> KeyboardKeys()
{
    std::vector<ACCEL> t;
    t.push_back(Key('0', 32788));
    for (WORD d = 1; d <= 9; ++d)
        t.push_back(Key(static_cast<WORD>('0' + d), static_cast<WORD>(32778 + d)));
    for (WORD d = 0; d <= 9; ++d)
        t.push_back(Key(static_cast<WORD>(VK_NUMPAD0 + d), static_cast<WORD>(32790 + d)));
    const ACCEL rest[] = {
        Key(VK_RETURN, 32789), Key(VK_SPACE, 32770), Key(VK_HOME, 32774), Key(VK_END, 32773),
        Key(VK_PRIOR, 32776), Key(VK_NEXT, 32775), Key(VK_ESCAPE, 32801),
        Key('B', 32772, FCONTROL), Key('F', 32771, FCONTROL), Key('R', 32800, FCONTROL),
        Key(VK_UP, 32777, FCONTROL), Key(VK_DOWN, 32778, FCONTROL),
    };
    t.insert(t.end(), std::begin(rest), std::end(rest));
    return t;
}

std::vector<ACCEL> RemoteKeys()
{
    return {
        Character('+', 32802), Character('-', 32803), Key('A', 32804),
        Key('B', 32805), Key('C', 32806), Key('E', 32807), Key('K', 32811), Key('L', 32812),
        Key('N', 32814), Key('O', 32815), Key('S', 32819), Key('T', 32820), Key('O', 32816, FCONTROL),
        Key(VK_UP, 32837, FCONTROL | FALT), Key(VK_DOWN, 32823, FCONTROL | FALT), Key(VK_F12, 32829),
        Key('P', 32769, kCsa),
        Key('P', 32817), Key(VK_LEFT, 32833, kCsa), Key(VK_RIGHT, 32832, kCsa),
        Key('H', 32809), Key(VK_F1, 32826),
        Key('X', 32839),
        Key('A', 32810, kCsa), Key('E', 32830, kCsa), Key(VK_END, 32825, kCsa),
        Key(VK_RETURN, 32827, kCsa), Key(VK_SPACE, 32835, kCsa), Key(VK_F4, 32828, kCsa),
        Key('M', 32813, kCsa), Key('S', 32831, kCsa), Key('R', 32834, kCsa),
        Key(VK_PRIOR, 32818, kCsa), Key(VK_NEXT, 32808, kCsa),
        Key(VK_UP, 32836, kCsa), Key(VK_UP, 32838, FSHIFT),
        Key(VK_DOWN, 32822, kCsa), Key(VK_DOWN, 32824, FSHIFT),
        Key('Z', 32840, kCsa),
    };
}

bool IsTunerCommand(WORD command)
{
    return (command >= 32777 && command <= 32788) || (command >= 32790 && command <= 32799);
}

}  // namespace

const std::vector<ACCEL>& Table(int table)
{
    static const std::vector<ACCEL> keyboard = KeyboardKeys();
    static const std::vector<ACCEL> remote = RemoteKeys();
    static const std::vector<ACCEL> none;
    return table == kKeyboardTable ? keyboard : table == kRemoteTable ? remote : none;
}

bool IsKeyCommand(WORD command)
{
    for (int table : {kRemoteTable, kKeyboardTable})
        for (const ACCEL& a : Table(table))
            if (a.cmd == command)
                return true;
    return false;
}

Action ActionFor(WORD command, const KeyState& s)
{
    const bool playback = s.mode == MODE_PLAYBACK;
    const bool capture = s.mode == MODE_CAPTURE;
    const bool recording = capture && s.recording;
    if (IsTunerCommand(command))
        return Action::kTuner;
    switch (command) {
    case 32770: return playback ? Action::kPlayPause : Action::kNone;
    case 32774: return playback ? Action::kSeekStart : Action::kNone;
    case 32773: return playback ? Action::kSeekEnd : Action::kNone;
    case 32776:
    case 32818: return playback ? Action::kSkipBack : Action::kNone;
    case 32775:
    case 32808: return playback ? Action::kSkipForward : Action::kNone;
    case 32801: return playback || capture ? Action::kLeaveFullScreen : Action::kNone;
    case 32772: return playback && s.paused ? Action::kStepBack : Action::kNone;
    case 32771: return playback && s.paused ? Action::kStepForward : Action::kNone;
    case 32800: return capture ? Action::kRecord : Action::kNone;
    case 32802: return capture ? Action::kBrightnessUp : Action::kNone;
    case 32803: return capture ? Action::kBrightnessDown : Action::kNone;
    case 32809:
    case 32826: return Action::kHelp;
    case 32839: return recording ? Action::kNone : Action::kExit;
    case 32810: return recording ? Action::kNone : Action::kReapplyInput;
    case 32830: return capture && !recording ? Action::kRecord : Action::kNone;
    case 32825: return recording ? Action::kRecord : Action::kNone;
    case 32827:
    case 32835:
        if (playback)
            return Action::kPlayPause;
        return recording ? Action::kNone : Action::kPlaybackCommand;
    // The playback command would close the preview under a running recording: like its
    // siblings it waits until the recording has ended.
    case 32828:
        if (capture)
            return recording ? Action::kNone : Action::kPlaybackCommand;
        return Action::kCaptureButton;
    case 32813: return Action::kMute;
    case 32831:
        if (!playback)
            return Action::kNone;
        return s.paused ? Action::kStepBack : Action::kSkipBack;
    case 32834: return playback && !s.paused ? Action::kSkipForward : Action::kNone;
    case 32836:
    case 32838: return playback || capture ? Action::kVolumeUp : Action::kNone;
    case 32822:
    case 32824: return playback || capture ? Action::kVolumeDown : Action::kNone;
    case 32840: return playback ? Action::kFullScreen : Action::kNone;
    default: return Action::kNone;
    }
}

const char* ActionName(Action action)
{
    switch (action) {
    case Action::kNone: return "nothing";
    case Action::kTuner: return "tuner";
    case Action::kPlayPause: return "play or pause";
    case Action::kSeekStart: return "seek to the start";
    case Action::kSeekEnd: return "seek to the end";
    case Action::kSkipBack: return "skip back";
    case Action::kSkipForward: return "skip forward";
    case Action::kStepBack: return "step back";
    case Action::kStepForward: return "step forward";
    case Action::kLeaveFullScreen: return "leave full screen";
    case Action::kFullScreen: return "full screen";
    case Action::kRecord: return "record control";
    case Action::kBrightnessUp: return "brightness up";
    case Action::kBrightnessDown: return "brightness down";
    case Action::kHelp: return "help";
    case Action::kExit: return "exit";
    case Action::kReapplyInput: return "input again";
    case Action::kPlaybackCommand: return "playback command";
    case Action::kCaptureButton: return "capture control";
    case Action::kMute: return "mute";
    case Action::kVolumeUp: return "volume up";
    case Action::kVolumeDown: return "volume down";
    }
    return "?";
}

bool TranslateKey(UINT message, WPARAM key, bool focusInEdit, int shownPage)
{
    const bool keyDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (keyDown && (key == VK_ESCAPE || key == VK_RETURN))
        return true;
    if (focusInEdit)
        return false;
    return !(message == WM_KEYDOWN && (shownPage == 1 || shownPage == 3));
}

std::optional<WORD> CommandForRemoteKey(WPARAM code)
{
    const WORD key = LOWORD(code);
    const BYTE modifiers = static_cast<BYTE>(HIWORD(code) & (FSHIFT | FCONTROL | FALT));
    for (int table : {kRemoteTable, kKeyboardTable}) {
        for (const ACCEL& a : Table(table)) {
            const bool virtualKey = (a.fVirt & FVIRTKEY) != 0;
            if (a.key != key)
                continue;
            if (virtualKey ? (a.fVirt & (FSHIFT | FCONTROL | FALT)) == modifiers : modifiers == 0)
                return a.cmd;
        }
    }
    return std::nullopt;
}

bool RemoteKeyAccepted(int configuredAddress, int keyAddress)
{
    static constexpr int kValid[] = {0xFE, 0xFF, 0xFD, 0xFB, 0xF7, 0xEF, 0xDF, 0xBF};
    const bool configured = std::find(std::begin(kValid), std::end(kValid), configuredAddress) != std::end(kValid);
    return !configured || configuredAddress == keyAddress;
}

std::optional<long> StepWithin(long value, long minimum, long maximum, long step, int direction)
{
    const long next = value + (direction < 0 ? -std::max(1L, step) : std::max(1L, step));
    if (next < minimum || next > maximum)
        return std::nullopt;
    return next;
}

std::vector<HelpFile> HelpFilesToTry(const std::string& folder, const std::vector<std::string>& names)
{
    const auto endsWith = [](const std::string& name, const char* extension) {
        const std::string ext(extension);
        if (name.size() <= ext.size())
            return false;
        return std::equal(ext.rbegin(), ext.rend(), name.rbegin(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
    };
    std::string base = folder;
    if (!base.empty() && base.back() != '\\' && base.back() != '/')
        base += '\\';
    std::vector<HelpFile> files;
    for (const auto& [extension, kind] : {std::pair{".chm", HelpFile::kHtmlHelp}, std::pair{".hlp", HelpFile::kWinHelp}}) {
        const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& n) { return endsWith(n, extension); });
        if (found != names.end())
            files.push_back(HelpFile{kind, base + *found});
    }
    return files;
}

AcceleratorTable CreateTable(int table)
{
    std::vector<ACCEL> entries = Table(table);
    if (entries.empty())
        return AcceleratorTable();
    return AcceleratorTable(::CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size())));
}

}  // namespace shell::keys
