#pragma once
// The keyboard's and the remote control's commands: the two accelerator tables, which keys
// reach them at all, and what each command does in each mode of the main window. Kept apart
// from the window so the tables and the rules are tested as data.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include <win/Owned.h>

#include "SessionHost.h"

namespace shell::keys {

// The keyboard's table and the table of the remote receiver's key combinations; the remote's
// is tried first.
constexpr int kKeyboardTable = 247;
constexpr int kRemoteTable = 248;
const std::vector<ACCEL>& Table(int table);

// What a command does; kNone for the commands that exist only to swallow their key.
enum class Action {
    kNone,
    kTuner,  // channel digits and keys, handled by the television side
    kPlayPause,
    kSeekStart,
    kSeekEnd,
    kSkipBack,
    kSkipForward,
    kStepBack,
    kStepForward,
    kLeaveFullScreen,
    kFullScreen,
    kRecord,  // through the record control, with its preconditions
    kBrightnessUp,
    kBrightnessDown,
    kHelp,
    kExit,
    kReapplyInput,
    kPlaybackCommand,
    kCaptureButton,
    kMute,
    kVolumeUp,
    kVolumeDown,
};
const char* ActionName(Action action);

// The window's state as the commands see it.
struct KeyState {
    MainMode mode = MODE_IDLE;
    bool recording = false;
    bool paused = false;  // a file is open and paused
};

// What `command` does in `state`; kNone when nothing in this mode (or no such command).
Action ActionFor(WORD command, const KeyState& state);
// Whether `command` belongs to one of the two tables.
bool IsKeyCommand(WORD command);

// Message filtering before the tables. `message` is a keyboard message (WM_KEYDOWN,
// WM_CHAR, ...), `key` its wParam. Returns false when the message must reach its window
// untranslated: while the focus is in an edit every key goes to the edit (a "+" or "-" typed
// into a folder name would otherwise change the brightness and be lost), and while settings
// page 1 or 3 is shown every key-down does. Esc and Enter are translated even then: an edit
// has no use for them, and untranslated the dialog manager would turn them into closing the
// program.
bool TranslateKey(UINT message, WPARAM key, bool focusInEdit, int shownPage);

// The remote control's receiver reports a key as a virtual-key code (low word, '0' to '9'
// for the digits) with the table modifier bits FSHIFT, FCONTROL and FALT in the high word;
// the key maps through the tables as the same combination typed on the keyboard would.
std::optional<WORD> CommandForRemoteKey(WPARAM code);
// Whether a key that came with `address` is for this program: once a remote is configured
// (a valid address), keys from other remotes in the room are ignored.
bool RemoteKeyAccepted(int configuredAddress, int keyAddress);

// One step of a slider-like value within [minimum, maximum]; empty when the step would leave
// the range (the command is then ignored). `step` is the device's granularity, at least 1.
std::optional<long> StepWithin(long value, long minimum, long maximum, long step, int direction);

// The help files of the program's folder in the order they are tried: its first "*.chm",
// then its first "*.hlp", from `names` (the folder's file names).
struct HelpFile {
    enum Kind { kHtmlHelp, kWinHelp } kind = kHtmlHelp;
    std::string path;
};
std::vector<HelpFile> HelpFilesToTry(const std::string& folder, const std::vector<std::string>& names);

// The window's copies of the two tables.
struct AcceleratorTraits {
    using Raw = HACCEL;
    static Raw Empty() { return nullptr; }
    static bool IsValid(Raw h) { return h != nullptr; }
    static void Free(Raw h) { ::DestroyAcceleratorTable(h); }
};
using AcceleratorTable = win::Owned<AcceleratorTraits>;
AcceleratorTable CreateTable(int table);

}  // namespace shell::keys
