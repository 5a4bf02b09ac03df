#pragma once
// What the capture and playback sessions ask of the main window. A session runs on the
// window's thread and changes the window only through this interface, so its rules can be
// exercised without a window.
#include <windows.h>

#include <string>

#include "PowerSuppression.h"

namespace shell {

class SessionHost {
public:
    // The window's timers; a session arms and kills only its own.
    virtual void StartTimer(UINT_PTR id, UINT periodMs) = 0;
    virtual void StopTimer(UINT_PTR id) = 0;

    // Whether a capture device is selected.
    virtual bool CaptureDevicePresent() const = 0;
    // True when the selected device has gone since it was chosen.
    virtual bool CaptureDeviceGone() const = 0;

    // The idle picture fills the video area.
    virtual void ShowIdlePicture() = 0;
    // The "no video present" label.
    virtual void ShowNoVideoLabel(bool show) = 0;

    // The one owner of the screen-saver and power timeouts while preview or playback runs.
    virtual PowerSuppression& Power() = 0;

    // One diagnostic line (without prefix or line end).
    virtual void TraceLine(const std::string& line) = 0;

    // Playback.
    // The main window: owner of the video area (control 1000) and of the player's notifications.
    virtual HWND MainWindow() const = 0;
    // A numbered text of the text file.
    virtual std::string AppText(int id) = 0;
    // A message box with the application title as caption.
    virtual void ShowMessage(const std::string& text) = 0;
    // A line for the log file with the tag "ERR".
    virtual void LogError(const std::string& text) = 0;
    // Switches the preview off, stopping and finishing a recording first, so that a file can play.
    virtual void StopCaptureForPlayback() = 0;
    // The file ended and playback closed by itself: the window returns to idle.
    virtual void PlaybackEnded() = 0;

protected:
    ~SessionHost() = default;
};

}  // namespace shell
