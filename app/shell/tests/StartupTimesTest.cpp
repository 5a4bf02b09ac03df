// The start-up line: phases as differences between marks, a clock that steps back, the total,
// and the processor time beside each phase when it is known.
#include <windows.h>

#include <gtest/gtest.h>

#include "StartupTimes.h"

namespace {

TEST(StartupTimes, PhasesAreTheTimesBetweenMarks)
{
    struct Case {
        struct MarkAt {
            const char* name;
            double ms;
            double processorMs = -1;
        };
        std::vector<MarkAt> marks;
        const char* line;
    };
    const Case cases[] = {
        {{}, ""},
        {{{"process", 120.4}}, "start-up: process 120 ms; 120 ms in all"},
        {{{"process", 100.0}, {"template", 180.6}, {"paint", 400.0}},
         "start-up: process 100 ms, template 81 ms, paint 219 ms; 400 ms in all"},
        // A mark before the last one is a phase of nothing; the later marks count from the latest.
        {{{"a", 50.0}, {"b", 40.0}, {"c", 70.0}}, "start-up: a 50 ms, b 0 ms, c 20 ms; 70 ms in all"},
        {{{"zero", 0.0}}, "start-up: zero 0 ms; 0 ms in all"},
        {{{"process", 100.0, 60.0}, {"paint", 250.0, 160.4}},
         "start-up: process 100 ms (cpu 60), paint 150 ms (cpu 100); 250 ms in all, cpu 160"},
        // Processor time unknown for one mark: that phase shows none and the next counts from
        // the last known figure; a figure that steps back counts nothing.
        {{{"a", 10.0, 5.0}, {"b", 20.0}, {"c", 30.0, 25.0}, {"d", 40.0, 20.0}},
         "start-up: a 10 ms (cpu 5), b 10 ms, c 10 ms (cpu 20), d 10 ms (cpu 0); 40 ms in all, cpu 25"},
    };
    for (const Case& c : cases) {
        shell::StartupTimes times;
        for (const auto& mark : c.marks)
            times.Mark(mark.name, mark.ms, mark.processorMs);
        EXPECT_EQ(times.Line(), c.line);
    }
}

TEST(StartupTimes, TheProcessClockRunsForward)
{
    const double first = shell::MillisecondsSinceProcessStart();
    Sleep(30);
    const double second = shell::MillisecondsSinceProcessStart();
    EXPECT_GT(first, 0.0);
    EXPECT_GE(second - first, 20.0);
    EXPECT_LT(first, 10 * 60 * 1000.0) << "this test process is not ten minutes old";
    // A busy loop shows up as processor time (counted in ticks of 10 to 16 ms); on a loaded
    // machine the loop may need many times its processor time in wall time.
    const double busyFrom = shell::ProcessorMilliseconds();
    ASSERT_GE(busyFrom, 0.0);
    const DWORD giveUp = GetTickCount() + 20000;
    volatile unsigned spin = 0;
    while (shell::ProcessorMilliseconds() - busyFrom < 50.0 && GetTickCount() < giveUp)
        spin = spin + 1;
    EXPECT_GE(shell::ProcessorMilliseconds() - busyFrom, 50.0) << "20 s of spinning used no processor time";
}

}  // namespace
