// The suspend rules as sequences of power events and paints: what stops, what comes back, and
// that each happens once.
#include <gtest/gtest.h>

#include <vector>

#include "SuspendState.h"

namespace {

using shell::SuspendState;
using Step = SuspendState::Step;

constexpr unsigned kQuerySuspend = 0, kQueryFailed = 2, kSuspend = 4, kStandby = 5, kResume = 7,
                   kResumeAutomatic = 18, kPowerStatus = 10;
constexpr int kPaint = -1;  // a frame or owner-draw paint instead of a power event

struct Event {
    int code;
    Step expected;
};

struct Sequence {
    const char* name;
    shell::MainMode mode;
    bool running;  // the preview runs, or the file plays
    std::vector<Event> events;
};

TEST(SuspendState, Sequences)
{
    const Sequence sequences[] = {
        {"a suspend stops the capture; the first paint after the resume brings it back, once",
         shell::MODE_CAPTURE, true,
         {{kPaint, Step::kNothing}, {kSuspend, Step::kStopCapture}, {kPaint, Step::kNothing},
          {kResume, Step::kNothing}, {kPaint, Step::kRestartCapture}, {kPaint, Step::kNothing}}},
        {"two queries stop once", shell::MODE_CAPTURE, true,
         {{kQuerySuspend, Step::kStopCapture}, {kQuerySuspend, Step::kNothing}, {kSuspend, Step::kNothing},
          {kResumeAutomatic, Step::kNothing}, {kPaint, Step::kRestartCapture}}},
        {"a refused query brings the capture back at once, and a later suspend stops it again",
         shell::MODE_CAPTURE, true,
         {{kQuerySuspend, Step::kStopCapture}, {kQueryFailed, Step::kRestartCapture}, {kPaint, Step::kNothing},
          {kSuspend, Step::kStopCapture}}},
        {"standby counts as a suspend; other power news changes nothing", shell::MODE_CAPTURE, true,
         {{kPowerStatus, Step::kNothing}, {kStandby, Step::kStopCapture}, {kPowerStatus, Step::kNothing},
          {kResume, Step::kNothing}, {kPaint, Step::kRestartCapture}}},
        {"nothing running, nothing to bring back", shell::MODE_CAPTURE, false,
         {{kSuspend, Step::kNothing}, {kResume, Step::kNothing}, {kPaint, Step::kNothing}}},
        {"a playing file pauses on the suspend itself and plays on after the resume", shell::MODE_PLAYBACK, true,
         {{kSuspend, Step::kPausePlayback}, {kQuerySuspend, Step::kNothing}, {kResume, Step::kNothing},
          {kPaint, Step::kResumePlayback}, {kPaint, Step::kNothing}}},
        {"a paused file is left alone", shell::MODE_PLAYBACK, false,
         {{kSuspend, Step::kNothing}, {kResume, Step::kNothing}, {kPaint, Step::kNothing}}},
        {"idle: no capture and no playback", shell::MODE_IDLE, true,
         {{kSuspend, Step::kNothing}, {kResume, Step::kNothing}, {kPaint, Step::kNothing}}},
    };
    for (const Sequence& s : sequences) {
        SCOPED_TRACE(s.name);
        SuspendState state;
        int index = 0;
        for (const Event& e : s.events) {
            const Step step = e.code == kPaint ? state.OnPaint()
                                               : state.OnPower(static_cast<unsigned>(e.code), s.mode,
                                                               s.running && s.mode == shell::MODE_CAPTURE,
                                                               s.running && s.mode == shell::MODE_PLAYBACK);
            EXPECT_EQ(static_cast<int>(step), static_cast<int>(e.expected)) << "event " << index << " code " << e.code;
            ++index;
        }
    }
}

}  // namespace
