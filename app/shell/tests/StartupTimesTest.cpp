// The start-up line: phases as differences between marks, a clock that steps back, the total.
#include <windows.h>

#include <gtest/gtest.h>

#include "StartupTimes.h"

namespace {

TEST(StartupTimes, PhasesAreTheTimesBetweenMarks)
{
    struct Case {
        std::vector<std::pair<const char*, double>> marks;
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
    };
    for (const Case& c : cases) {
        shell::StartupTimes times;
        for (const auto& [name, ms] : c.marks)
            times.Mark(name, ms);
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
}

}  // namespace
