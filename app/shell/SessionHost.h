#pragma once
// What the capture and playback sessions ask of the main window. A session runs on the
// window's thread and changes the window only through this interface, so its rules can be
// exercised without a window.
#include <windows.h>

#include <optional>
#include <string>

#include <framework/ProfileStore.h>

#include "CaptureGraph.h"
#include "ClipName.h"
#include "PowerSuppression.h"
#include "StopRules.h"

namespace shell {

enum MainMode { MODE_IDLE = 0, MODE_CAPTURE = 1, MODE_PLAYBACK = 2 };

class SessionHost {
public:
    // The window's timers; a session arms and kills only its own.
    virtual void StartTimer(UINT_PTR id, UINT periodMs) = 0;
    virtual void StopTimer(UINT_PTR id) = 0;

    // Whether a capture device is selected.
    virtual bool CaptureDevicePresent() const = 0;
    // True when the selected device has gone since it was chosen.
    virtual bool CaptureDeviceGone() const = 0;

    // The idle picture fills the video area; without it the area is black under the video.
    virtual void ShowIdlePicture() = 0;
    virtual void ShowVideo() {}
    // The "no video present" label.
    virtual void ShowNoVideoLabel(bool show) = 0;

    // The one owner of the screen-saver and power timeouts while preview or playback runs.
    virtual PowerSuppression& Power() = 0;

    // One diagnostic line (without prefix or line end).
    virtual void TraceLine(const std::string& line) = 0;

    // The capture side of the window (defaults for hosts that have none).
    virtual MainMode Mode() const { return MODE_IDLE; }
    virtual void SetMode(MainMode) {}
    virtual framework::ProfileStore Store() const { return framework::ProfileStore(HKEY_CURRENT_USER, "", ""); }
    virtual HWND VideoAreaHandle() const { return nullptr; }
    virtual std::optional<capture::CaptureDevice> CurrentCaptureDevice() const { return std::nullopt; }
    // The "e/d preview" switch.
    virtual bool PreviewDisplayOn() const { return true; }
    // The record control's look: 0 ready, 1 recording, 3 unavailable.
    virtual void SetRecordLook(int) {}
    // The recording's name: the next clip, or the user's choice in the save dialog.
    virtual recording::NameChoice ChooseRecordingFileName() { return {}; }
    // A recording began (the file name shown, the clocks reset, the settings locked) or ended
    // (the recent list, the settings unlocked); `finished` is empty when none had begun.
    virtual void RecordingStarted(const std::string& /*file*/, const recording::StopRules::Started&) {}
    virtual void RecordingEnded(const std::optional<recording::StopRules::Finished>& /*finished*/) {}
    virtual void ShowRecordedTime(std::int64_t /*time100ns*/) {}
    virtual void ShowWrittenSize(const std::string& /*text*/) {}
    // The capture device `name` went during a recording, which was finished: the user is told.
    virtual void TellDeviceRemovedWhileRecording(const std::string& /*name*/) {}
    // The device `name` went during a preview: waits until it is back (true, selected) or
    // the user gives up (false).
    virtual bool WaitForReconnect(const std::string& /*name*/) { return false; }
    // "hh:mm left" of a running recording; empty when it ends or is not known.
    virtual void ShowTimeLeft(const std::string& /*text*/) {}
    // A message of the text library, shown in the skinned box (system-modal when asked).
    virtual void ShowTextMessage(int /*textId*/, bool /*systemModal*/) {}
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
