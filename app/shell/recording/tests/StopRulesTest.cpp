// The stop rules as sequences of events: timer ticks, lock changes, engine time, writer events
// and stops from elsewhere, against the timers and stops they cause.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "StopRules.h"

namespace {

using namespace recording;

struct FakeEngine final : RecordingEngine {
    bool running = true;
    bool recording = false;
    std::int64_t time = 0;
    bool locked = true;
    bool copyProtected = false;
    std::function<void()> duringLockQuery;
    mutable int lockQueries = 0;

    bool Running() const override { return running; }
    bool Recording() const override { return recording; }
    std::int64_t RecordedTime() const override { return time; }
    bool HorizontallyLocked() const override
    {
        ++lockQueries;
        if (duringLockQuery)
            duringLockQuery();
        return locked;
    }
    bool CopyProtected() const override { return copyProtected; }
};

const char* ReasonName(StopReason r)
{
    switch (r) {
    case StopReason::kDuration: return "duration";
    case StopReason::kNoVideo: return "novideo";
    case StopReason::kCopyProtection: return "copyprotection";
    case StopReason::kWriteError: return "writeerror";
    case StopReason::kDiskFull: return "diskfull";
    case StopReason::kVolumeSizeLimit: return "volumelimit";
    case StopReason::kSizeLimit: return "sizelimit";
    }
    return "?";
}

// Plays the window: its record command starts and stops the engine and tells the rules, and
// every call is written to a log.
struct FakeWindow final : RecordingHost {
    FakeEngine& engine;
    StopRules* rules = nullptr;
    bool captureMode = true;
    std::vector<std::string> log;
    std::vector<StopRules::Finished> finished;
    int starts = 0;

    explicit FakeWindow(FakeEngine& e) : engine(e) {}
    void StartTimer(UINT_PTR id, UINT ms) override { log.push_back("set " + std::to_string(id) + " " + std::to_string(ms)); }
    void StopTimer(UINT_PTR id) override { log.push_back("kill " + std::to_string(id)); }
    bool InCaptureMode() const override { return captureMode; }
    void StartRecording() override
    {
        log.push_back("start");
        engine.recording = true;
        engine.time = 0;
        rules->OnStarted("clip" + std::to_string(++starts) + ".mpg", {});
    }
    void StopRecording(StopReason reason) override
    {
        log.push_back(std::string("stop ") + ReasonName(reason));
        UserStop();
    }
    void UserStop()
    {
        engine.recording = false;
        if (auto done = rules->OnStopped())
            finished.push_back(*done);
    }
    void WaitForVideo() override { log.push_back("wait"); }
    void ShowRecordedTime(std::int64_t) override {}
    void ShowWrittenSize(const std::string& text) override { log.push_back("size " + text); }
};

struct Bench {
    settings::CaptureSettings s;
    FakeEngine engine;
    FakeWindow window{engine};
    StopRules rules{engine, window, s};

    Bench() { window.rules = &rules; }
    void Start()
    {
        window.StartRecording();
        window.log.clear();
    }
    std::vector<std::string> Take() { return std::exchange(window.log, {}); }
};

using Log = std::vector<std::string>;

TEST(StopRules, DurationCountsTheEnginesRecordedTime)
{
    const struct {
        int rule, h, m, s;
        std::int64_t time;
        bool stops;
    } cases[] = {
        {0, 0, 0, 10, 99999999, false},
        {0, 0, 0, 10, 100000000, true},
        {0, 0, 0, 10, 100000001, true},
        {0, 1, 0, 0, 35999999999LL, false},
        {0, 1, 0, 0, 36000000000LL, true},
        {0, 0, 0, 30, 300000000, true},
        // 00:00:00 means "stop manually": no near-empty clip.
        {0, 0, 0, 0, 0, false},
        {0, 0, 0, 0, 36000000000LL, false},
        {1, 0, 0, 10, 36000000000LL, false},
        {2, 0, 0, 10, 36000000000LL, false},
    };
    for (const auto& c : cases) {
        Bench b;
        b.s.stopTime = c.rule;
        b.s.setTimeHour = c.h;
        b.s.setTimeMin = c.m;
        b.s.setTimeSec = c.s;
        b.Start();
        b.engine.time = c.time;
        b.rules.OnTimer(1);
        const Log log = b.Take();
        const bool stopped = std::find(log.begin(), log.end(), "stop duration") != log.end();
        EXPECT_EQ(stopped, c.stops) << c.rule << " " << c.h << ":" << c.m << ":" << c.s << " at " << c.time;
        EXPECT_EQ(b.engine.recording, !c.stops);
    }
}

TEST(StopRules, TheLastSecondEndsOnATickOfItsOwn)
{
    Bench b;
    b.s.stopTime = 0;
    b.s.setTimeHour = 0;
    b.s.setTimeMin = 0;
    b.s.setTimeSec = 10;
    b.Start();
    const struct {
        std::int64_t time;
        Log log;
    } steps[] = {
        {85000000, {}},                                  // 8.5 s: the refresh tick will do
        {90000000, {"set 10021 1000"}},                  // the last second
        {97654321, {"set 10021 235"}},                   // rounded up, never early
        {100000000, {"stop duration", "kill 10018", "kill 10019", "kill 10021"}},
    };
    for (const auto& step : steps) {
        b.engine.time = step.time;
        b.rules.OnTimer(step.time >= 90000000 ? recording::kDurationEndTimer : 1);
        EXPECT_EQ(b.Take(), step.log) << "at " << step.time;
    }
}

TEST(StopRules, StartKeepsTheRuleAndStopGivesItBack)
{
    Bench b;
    b.s.stopTime = 0;
    b.s.setTimeHour = 1;
    b.s.setTimeMin = 2;
    b.s.setTimeSec = 3;
    b.window.log.clear();
    b.engine.recording = true;
    AppliedFormat vcd{3, 352, 288, false, 1150000, 44100, 224};
    const StopRules::Started started = b.rules.OnStarted("D:\\rec\\clip7.mpg", vcd);
    EXPECT_EQ(started.countdown.hours, 1u);
    EXPECT_EQ(started.countdown.minutes, 2u);
    EXPECT_EQ(started.countdown.seconds, 3u);
    EXPECT_EQ(started.sliderMaximum, 372300);
    // The settings page changes the rule while recording, the custom template changes, a
    // dialog overwrites the window's current name: the stop hands back the start's.
    b.s.stopTime = 1;
    b.s.setTimeMin = 40;
    b.s.custom.bitRate = 9000000;
    b.window.UserStop();
    ASSERT_EQ(b.window.finished.size(), 1u);
    EXPECT_EQ(b.window.finished[0].path, "D:\\rec\\clip7.mpg");
    EXPECT_EQ(b.window.finished[0].format.captureMode, 3);
    EXPECT_EQ(b.window.finished[0].format.bitRate, 1150000);
    settings::CaptureSettings back;
    b.window.finished[0].rule.WriteTo(back);
    EXPECT_EQ(back.stopTime, 0);
    EXPECT_EQ(back.setTimeHour, 1);
    EXPECT_EQ(back.setTimeMin, 2);
    EXPECT_EQ(back.setTimeSec, 3);
    // A second stop, or one without a start, has nothing to give back.
    EXPECT_FALSE(b.rules.OnStopped().has_value());
    Bench fresh;
    EXPECT_FALSE(fresh.rules.OnStopped().has_value());
    EXPECT_FALSE(fresh.rules.AutoRecordDone()) << "no recording stopped";

    const Countdown manual = CountdownFor({1, 1, 2, 3});
    EXPECT_EQ(manual.hours + manual.minutes + manual.seconds, 0u);
    EXPECT_EQ((StopRule{0, -1, -5, 30}).DurationSeconds(), 30) << "negative fields count as 0";
}

// Rule 2: the watch ticks every 100 ms and arms the timeout once per gap.
TEST(StopRules, NoVideoWatchArmsAndCancelsTheTimeout)
{
    Bench b;
    b.s.stopTime = 2;
    b.s.stopNoVideoSec = 5;
    b.window.StartRecording();
    EXPECT_EQ(b.Take(), (Log{"start", "set 10018 100"}));

    const struct {
        bool locked;
        Log expected;
    } steps[] = {
        {true, {"kill 10018", "set 10018 100"}},
        {false, {"kill 10018", "set 10019 5000", "set 10018 100"}},
        {false, {"kill 10018", "set 10018 100"}},
        {true, {"kill 10018", "kill 10019", "set 10018 100"}},
        {true, {"kill 10018", "set 10018 100"}},
        {false, {"kill 10018", "set 10019 5000", "set 10018 100"}},
    };
    for (const auto& step : steps) {
        b.engine.locked = step.locked;
        EXPECT_TRUE(b.rules.OnTimer(kVideoWatchTimer));
        EXPECT_EQ(b.Take(), step.expected) << "locked " << step.locked;
    }
    EXPECT_TRUE(b.rules.NoVideoTimeoutArmed());
    EXPECT_TRUE(b.engine.recording) << "the watch itself never stops";
}

TEST(StopRules, NoVideoTimeoutStopsAndWaitsForVideo)
{
    const struct {
        int source;
        Log expected;
    } cases[] = {
        {1, {"kill 10018", "kill 10019", "stop novideo", "kill 10018", "kill 10019", "wait"}},
        // The tuner always counts as having video: no wait.
        {3, {"kill 10018", "kill 10019", "stop novideo", "kill 10018", "kill 10019"}},
    };
    for (const auto& c : cases) {
        Bench b;
        b.s.stopTime = 2;
        b.s.source = c.source;
        b.Start();
        b.engine.locked = false;
        b.rules.OnTimer(kVideoWatchTimer);
        b.Take();
        EXPECT_TRUE(b.rules.OnTimer(kNoVideoTimeoutTimer));
        EXPECT_EQ(b.Take(), c.expected) << "source " << c.source;
        EXPECT_FALSE(b.engine.recording);
        EXPECT_TRUE(b.rules.AutoRecordDone());
        // A watch tick still queued finds nothing to watch.
        b.rules.OnTimer(kVideoWatchTimer);
        EXPECT_EQ(b.Take(), Log{"kill 10018"});
    }
}

// Every stop kills both timers; the timeout's tail runs only when it stopped the recording.
TEST(StopRules, TimeoutAfterAnotherStopLeavesTheWindowAlone)
{
    const std::vector<std::function<void(Bench&)>> stops = {
        [](Bench& b) { b.window.UserStop(); },
        [](Bench& b) { b.window.StopRecording(StopReason::kSizeLimit); },
        [](Bench& b) {
            b.engine.copyProtected = true;
            b.rules.OnTimer(kCopyProtectionTimer);
        },
    };
    for (size_t i = 0; i < stops.size(); ++i) {
        Bench b;
        b.s.stopTime = 2;
        b.Start();
        b.engine.locked = false;
        b.rules.OnTimer(kVideoWatchTimer);
        ASSERT_TRUE(b.rules.NoVideoTimeoutArmed());
        b.Take();
        stops[i](b);
        const Log log = b.Take();
        EXPECT_NE(std::find(log.begin(), log.end(), "kill 10018"), log.end()) << i;
        EXPECT_NE(std::find(log.begin(), log.end(), "kill 10019"), log.end()) << i;
        EXPECT_FALSE(b.rules.NoVideoTimeoutArmed());
        // A timeout tick already queued, even with the engine recording again.
        b.rules.OnTimer(kNoVideoTimeoutTimer);
        EXPECT_EQ(b.Take(), (Log{"kill 10018", "kill 10019"})) << i;
    }
}

TEST(StopRules, StopWhileTheWatchAsksTheEngineDoesNotReArm)
{
    Bench b;
    b.s.stopTime = 2;
    b.Start();
    b.engine.locked = false;
    b.engine.duringLockQuery = [&] {
        EXPECT_TRUE(b.rules.InWatchTick());
        b.window.UserStop();
    };
    b.rules.OnTimer(kVideoWatchTimer);
    EXPECT_FALSE(b.rules.InWatchTick());
    EXPECT_EQ(b.Take(), (Log{"kill 10018", "kill 10018", "kill 10019"}));
    EXPECT_FALSE(b.rules.Watching());
}

TEST(StopRules, WatchOnlyUnderRuleTwoAndTimeoutClamped)
{
    const struct {
        int rule, seconds;
        Log started;
    } cases[] = {
        {0, 10, {"start"}},
        {1, 10, {"start"}},
        {2, 10, {"start", "set 10018 100"}},
    };
    for (const auto& c : cases) {
        Bench b;
        b.s.stopTime = c.rule;
        b.s.setTimeSec = 10;
        b.window.StartRecording();
        EXPECT_EQ(b.Take(), c.started);
        EXPECT_EQ(b.rules.Watching(), c.rule == 2);
    }
    for (auto [stored, ms] : {std::pair{0, 1000u}, {-7, 1000u}, {3, 3000u}, {1000000, 86400000u}}) {
        Bench b;
        b.s.stopTime = 2;
        b.s.stopNoVideoSec = stored;
        b.Start();
        b.engine.locked = false;
        b.rules.OnTimer(kVideoWatchTimer);
        const Log log = b.Take();
        EXPECT_EQ(log.at(1), "set 10019 " + std::to_string(ms)) << stored;
    }
}

TEST(StopRules, AutoRecordOncePerInput)
{
    Bench b;
    b.s.autoRecord = true;
    b.rules.OnTimer(kAutoRecordTimer);
    EXPECT_EQ(b.Take(), (Log{"kill 10017", "start"}));
    // Another signal report while recording starts nothing.
    b.rules.OnTimer(kAutoRecordTimer);
    EXPECT_EQ(b.Take(), Log{"kill 10017"});
    b.window.UserStop();
    b.Take();
    b.rules.OnTimer(kAutoRecordTimer);
    EXPECT_EQ(b.Take(), Log{"kill 10017"}) << "done until the input changes";
    b.rules.OnInputChanged();
    b.rules.OnTimer(kAutoRecordTimer);
    EXPECT_EQ(b.Take(), (Log{"kill 10017", "start"}));
}

TEST(StopRules, AutoRecordConditions)
{
    const struct {
        bool autoRecord, captureMode, recording, startFailedBefore;
        bool starts;
    } cases[] = {
        {true, true, false, false, true},
        {false, true, false, false, false},
        {true, false, false, false, false},
        {true, true, true, false, false},
        // A start that did not happen (name cancelled) is not retried on the next signal.
        {true, true, false, true, false},
    };
    for (const auto& c : cases) {
        Bench b;
        b.s.autoRecord = c.autoRecord;
        b.window.captureMode = c.captureMode;
        b.engine.recording = c.recording;
        if (c.startFailedBefore)
            b.rules.OnStartFailed();
        b.rules.OnTimer(kAutoRecordTimer);
        const Log log = b.Take();
        EXPECT_EQ(log.front(), "kill 10017");
        EXPECT_EQ(log.back() == "start", c.starts) << c.autoRecord << c.captureMode << c.recording;
    }
}

TEST(StopRules, CopyProtectionTimerDiesOnItsFirstTick)
{
    const struct {
        bool flag, running, recording;
        Log expected;
    } cases[] = {
        {true, true, true, {"kill 10001", "stop copyprotection", "kill 10018", "kill 10019"}},
        // A short on/off pulse: the flag is already clear, the timer still goes.
        {false, true, true, {"kill 10001"}},
        {true, true, false, {"kill 10001"}},
        {true, false, true, {"kill 10001"}},
    };
    for (const auto& c : cases) {
        Bench b;
        if (c.recording)
            b.Start();
        b.engine.copyProtected = c.flag;
        b.engine.running = c.running;
        EXPECT_TRUE(b.rules.OnTimer(kCopyProtectionTimer));
        EXPECT_EQ(b.Take(), c.expected) << c.flag << c.running << c.recording;
    }
}

TEST(StopRules, TheRefreshTimerBelongsToTheWindow)
{
    Bench b;
    b.Start();
    EXPECT_FALSE(b.rules.OnTimer(1));
}

}  // namespace

