#pragma once
// When a recording stops by itself, and what the writer's events do to it.
//
// How it is driven (all on the window's thread):
// - The window's one start path calls OnStarted() after the engine has begun recording, with
//   the file name and the encoder block it applied, and shows the countdown and slider range
//   it returns.
// - The window's one stop path (whoever asked for the stop) calls OnStopped() after the
//   engine has stopped: it gives back the recording as it started (its file, for the recent
//   list even when a dialog has changed the window's current name since, its format details
//   and the stop rule to restore into the settings). A start that does not happen (declined,
//   no file name) calls OnStartFailed().
// - Every main-window timer tick goes to OnTimer(id), which also shows the recorded time and
//   applies the duration rule; it answers whether the timer was one of the rules' own.
// - The capture engine acts on the writer's events (message 1038) only while it records, and
//   stops the recording through the window's record command.
// - Choosing another input calls OnInputChanged(), which allows one more automatic start.
// The rules never stop or start a recording themselves: they ask the host, whose StopRecording
// and StartRecording are the window's record command, so every stop runs the same path.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "CaptureSettings.h"
#include "RecentDetails.h"

namespace recording {

// The window's timers the rules own; the engine and the device event thread arm 10017 and
// 10001 as one-shot requests.
constexpr UINT_PTR kCopyProtectionTimer = 10001;
constexpr UINT_PTR kAutoRecordTimer = 10017;
constexpr UINT_PTR kVideoWatchTimer = 10018;
constexpr UINT_PTR kNoVideoTimeoutTimer = 10019;
constexpr UINT kVideoWatchMs = 100;
// In a duration's last second a one-shot tick of its own lands on the end, so the recording
// does not run on until the next refresh tick (or later, when the window is busy).
constexpr UINT_PTR kDurationEndTimer = 10021;

enum StopRuleKind { kStopAfterDuration = 0, kStopManually = 1, kStopWithoutVideo = 2 };

// "StopTime", "SetTimeHour", "SetTimeMin", "SetTimeSec" as one value.
struct StopRule {
    int rule = kStopManually;
    int hours = 0;
    int minutes = 10;
    int seconds = 0;

    static StopRule From(const settings::CaptureSettings& s);
    void WriteTo(settings::CaptureSettings& s) const;
    // The duration in seconds (negative fields count as 0).
    std::int64_t DurationSeconds() const;
    // Rule 0 with a duration; a duration of 00:00:00 means "stop manually".
    bool StopsAfterDuration() const { return rule == kStopAfterDuration && DurationSeconds() > 0; }
    // The position slider's range while recording, in hundredths of a second.
    std::int64_t SliderMaximum() const { return DurationSeconds() * 100; }
};

// The stop-after countdown of the status display: the duration under rule 0, else zeros.
struct Countdown {
    unsigned hours = 0;
    unsigned minutes = 0;
    unsigned seconds = 0;
};
Countdown CountdownFor(const StopRule& rule);

// Why the rules ask for a stop; the window shows the matching message after stopping.
enum class StopReason {
    kDuration,         // silent
    kNoVideo,          // silent; the window then waits for video
    kCopyProtection,   // text 1003, system-modal
    kWriteError,       // text 231
    kDiskFull,         // text 232
    kVolumeSizeLimit,  // text 233
    kSizeLimit,        // silent; the next recording takes the next clip number
};

// What the rules read from the capture engine.
class RecordingEngine {
public:
    virtual bool Running() const = 0;
    virtual bool Recording() const = 0;
    // Recorded time of the current recording, 100-ns units, by the engine's clock.
    virtual std::int64_t RecordedTime() const = 0;
    // Whether the decoder is horizontally locked on the input: read, never probed, so the
    // recording graph keeps running.
    virtual bool HorizontallyLocked() const = 0;
    virtual bool CopyProtected() const = 0;

protected:
    ~RecordingEngine() = default;
};

// What the rules ask of the window.
class RecordingHost {
public:
    virtual void StartTimer(UINT_PTR id, UINT periodMs) = 0;
    virtual void StopTimer(UINT_PTR id) = 0;
    virtual bool InCaptureMode() const = 0;
    // The window's record command: starts a recording with every window update.
    virtual void StartRecording() = 0;
    // The window's one stop path (it calls OnStopped), then the message of the reason.
    virtual void StopRecording(StopReason reason) = 0;
    // The no-video timeout stopped the recording: wait for the signal in the worker.
    virtual void WaitForVideo() = 0;
    virtual void ShowRecordedTime(std::int64_t time100ns) = 0;
    virtual void ShowWrittenSize(const std::string& text) = 0;

protected:
    ~RecordingHost() = default;
};

// "%.2f MB" of a byte count.
std::string WrittenSizeText(std::uint64_t bytes);

class StopRules {
public:
    // `settings` is the window's record: "AutoRecord", "Source" and the stop rule are read
    // from it when needed.
    StopRules(RecordingEngine& engine, RecordingHost& host, const settings::CaptureSettings& settings)
        : m_engine(engine), m_host(host), m_settings(settings)
    {
    }
    StopRules(const StopRules&) = delete;
    StopRules& operator=(const StopRules&) = delete;

    struct Started {
        Countdown countdown;
        std::int64_t sliderMaximum = 0;
    };
    // A recording of `path` started with the encoder block `applied`: keeps both and the stop
    // rule as it is now, and arms the no-video watch for rule 2.
    Started OnStarted(const std::string& path, const AppliedFormat& applied);

    // The recording that ended, as it was at its start.
    struct Finished {
        std::string path;
        AppliedFormat format;
        StopRule rule;
    };
    // A recording stopped, by any path: kills the no-video watch and its timeout, marks the
    // automatic start done, and returns the recording (nothing when none had started).
    std::optional<Finished> OnStopped();
    // A start that did not happen also ends the automatic start for this input.
    void OnStartFailed() { m_autoRecordDone = true; }
    // Another input was chosen: one more automatic start is allowed.
    void OnInputChanged() { m_autoRecordDone = false; }

    // Every main-window timer tick; true when `id` is one of the rules' timers.
    bool OnTimer(UINT_PTR id);

    bool AutoRecordDone() const { return m_autoRecordDone; }
    bool NoVideoTimeoutArmed() const { return m_timeoutArmed; }
    bool Watching() const { return m_watching; }
    // True while the no-video watch asks the engine; a stop meanwhile keeps it from re-arming.
    bool InWatchTick() const { return m_inWatchTick; }
    const StopRule& RuleOfRecording() const { return m_rule; }

private:
    void OnTick();
    void OnVideoWatch();
    void OnNoVideoTimeout();
    void OnAutoRecord();
    void OnCopyProtection();
    void KillWatch();
    UINT TimeoutMs() const;

    RecordingEngine& m_engine;
    RecordingHost& m_host;
    const settings::CaptureSettings& m_settings;
    StopRule m_rule;
    std::string m_path;
    AppliedFormat m_format;
    int m_noVideoSeconds = 10;
    bool m_recording = false;
    bool m_watching = false;
    bool m_durationEndArmed = false;
    bool m_inWatchTick = false;
    bool m_timeoutArmed = false;
    bool m_autoRecordDone = false;
};

}  // namespace recording
