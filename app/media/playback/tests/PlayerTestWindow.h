#pragma once
// A stand-in for the main window in player tests: a top-level window with a video area
// (control 1000) that hands the graph notification to the player, and a host that records what
// the player tells the user instead of showing message boxes.
#include "MediaPlayer.h"

#include <windows.h>

#include <string>
#include <vector>

namespace playertest {

struct RecordingHost : media::PlayerHost {
    std::vector<std::string> failures;
    std::vector<std::string> cannotPlay;
    int visibilityFailures = 0;
    int closed = 0;
    int closedAtEnd = 0;
    std::vector<std::string> log;

    std::string AppTitle() override { return "Marovin"; }
    void ShowFailure(const std::string& text) override { failures.push_back(text); }
    void ShowText(media::PlayerText text, const std::string& argument) override
    {
        if (text == media::PlayerText::kCannotPlay)
            cannotPlay.push_back(argument);
        else
            ++visibilityFailures;
    }
    void LogError(const std::string& text) override { log.push_back(text); }
    void PlaybackClosed(bool atEnd) override
    {
        ++closed;
        closedAtEnd += atEnd ? 1 : 0;
    }
};

class TestWindow {
public:
    TestWindow();
    ~TestWindow();
    HWND Window() const { return window_; }
    HWND VideoArea() const { return GetDlgItem(window_, media::MediaPlayer::IDC_VIDEO); }
    void Attach(media::MediaPlayer* player) { player_ = player; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND window_ = nullptr;
    media::MediaPlayer* player_ = nullptr;
};

// The Wine path of a file made by the test set-up.
std::string MediaFile(const char* name);

}  // namespace playertest
