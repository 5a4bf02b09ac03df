#pragma once
// What the player needs from the program around it: its texts, message boxes and log, and
// word that playback has closed. The player works the main window's own Win32 window directly.
#include <windows.h>

#include <string>
#include <vector>

namespace media {

enum class PlayerText {
    kCannotPlay,        // a file that cannot be played, with its name
    kVisibilityFailed,  // an unexpected error of the video visibility test
};

class PlayerHost {
public:
    // The application title, the caption of the window while nothing plays.
    virtual std::string AppTitle() = 0;
    // A failing step, its text already formatted with the result code.
    virtual void ShowFailure(const std::string& text) = 0;
    virtual void ShowText(PlayerText text, const std::string& argument) = 0;
    virtual void LogError(const std::string& text) = 0;
    // The file has been closed (also after an open failed, or at the end without looping).
    virtual void PlaybackClosed(bool atEnd) = 0;

protected:
    ~PlayerHost() = default;
};

// One entry of a decoder preference list: class identifier in registry form and name.
struct DecoderEntry {
    std::string clsid;
    std::string name;
};

// The settings the player reads (section "Capture" and the decoder lists).
struct PlayerOptions {
    int decoder = 2;   // index into mpeg2Decoders
    int decoder1 = 2;  // index into mpeg1Decoders
    std::vector<DecoderEntry> mpeg2Decoders;
    std::vector<DecoderEntry> mpeg1Decoders;
    bool overlayMixer = true;
    int audioLevel = 50;
    bool mute = false;
    bool playLoop = true;
};

}  // namespace media
