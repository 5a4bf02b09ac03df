#pragma once
// What the status display shows and when it must be redrawn: the elapsed clock fed from the
// engine's time, the stop-after countdown, the recording-time label and the information line.
// The window part (StatusDisplay) only writes the texts this model produces.
#include <cstdint>
#include <optional>
#include <string>

#include "QualityText.h"
#include "StopRules.h"
#include "StatusText.h"

namespace shell {

// The stop-after countdown, as the recording's stop rule gives it.
using CountdownTime = recording::Countdown;

// The texts of one redraw.
struct StatusFrame {
    std::string elapsedClock;
    std::string countdownClock;
    std::string recordingLabel;
    // Set when the information line has to be rebuilt (state or standard changed).
    std::optional<std::string> informationLine;
};

class StatusModel {
public:
    // Takes an engine time (recorded time or playback position, 100-ns units). Returns the
    // position in hundredths of a second for the position slider when the shown tenth of a
    // second changed; nothing when the display stays as it is.
    std::optional<unsigned> SetEngineTime(std::int64_t time100ns);

    void ClearTime();
    void SetCountdown(const CountdownTime& countdown) { m_countdown = countdown; }
    const CountdownTime& Countdown() const { return m_countdown; }
    const ClockTime& Elapsed() const { return m_elapsed; }

    void SetInformationState(int state) { m_state = state; }
    void SetStandardIndex(int index) { m_standard = index; }
    int InformationState() const { return m_state; }
    // Makes the next redraw rebuild the information line (the quality or version changed).
    void InvalidateInformation() { m_shownState = -1; }

    // The texts to show. While recording, a non-zero elapsed time becomes the recording's
    // elapsed text.
    StatusFrame Redraw(bool recording, const InformationContext& context);
    // The elapsed text of the current recording, "00:00:00" at its start.
    const std::string& RecordingElapsedText() const { return m_recordingElapsed; }
    void ResetRecordingElapsedText() { m_recordingElapsed = "00:00:00"; }

private:
    ClockTime m_elapsed;
    CountdownTime m_countdown;
    // The last displayed position in tenths; none before the first time.
    std::optional<unsigned> m_shownPosition;
    int m_state = kInfoVersion;
    int m_shownState = -1;
    int m_standard = 0;
    int m_shownStandard = -1;
    std::string m_recordingElapsed = "00:00:00";
};

}  // namespace shell
