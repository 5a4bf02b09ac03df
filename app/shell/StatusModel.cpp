#include "StatusModel.h"

namespace shell {

std::optional<unsigned> StatusModel::SetEngineTime(std::int64_t time100ns)
{
    const ClockTime clock = ClockFromEngineTime(time100ns);
    const unsigned position = clock.Position();
    if (m_shownPosition && *m_shownPosition == position)
        return std::nullopt;
    m_elapsed = clock;
    m_shownPosition = position;
    return position * 10;
}

void StatusModel::ClearTime()
{
    m_elapsed = {};
    m_countdown = {};
    // Whatever comes next is drawn, even a time of zero.
    m_shownPosition.reset();
}

StatusFrame StatusModel::Redraw(bool recording, const InformationContext& context)
{
    StatusFrame frame;
    frame.elapsedClock = FormatClock(m_elapsed.hours, m_elapsed.minutes, m_elapsed.seconds);
    frame.countdownClock = FormatClock(m_countdown.hours, m_countdown.minutes, m_countdown.seconds);
    if (recording) {
        const bool running = m_elapsed.hours || m_elapsed.minutes || m_elapsed.seconds || m_elapsed.tenths;
        if (running)
            m_recordingElapsed = frame.elapsedClock;
        frame.recordingLabel = running ? frame.elapsedClock : std::string();
    } else {
        frame.recordingLabel = frame.countdownClock;
    }
    if (m_state != m_shownState || m_standard != m_shownStandard) {
        frame.informationLine = InformationLine(m_state, m_standard, context);
        m_shownState = m_state;
        m_shownStandard = m_standard;
    }
    return frame;
}

}  // namespace shell
