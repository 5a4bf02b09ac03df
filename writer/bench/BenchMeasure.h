#pragma once
// Clocks, load and printing for the writer benchmark, and the measurements of what one
// hand-over step costs on this machine (a graph event, a copy into the ring).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace scrivet::bench {

struct Figures {
    double seconds = 0;
    double cpuSeconds = 0;
    double serverSeconds = 0;  // the wineserver's part of cpuSeconds
    double longestBlockUs = 0;
    size_t writes = 0;  // file writes made (for Scrivet: progress events seen)
    bool ok = false;
};

double Now();

// CPU time of this process, plus that of the wineserver named by SCRIVET_BENCH_SERVER_PID.
class CpuClock {
public:
    CpuClock();
    double Elapsed() const;
    // The wineserver's part of Elapsed.
    double ServerElapsed() const;

private:
    double start_;
    double serverStart_;
};
bool ServerCpuKnown();

// The machine's load averages, as "load 1.00 2.00 3.00", when they can be read.
std::string LoadText();

Figures Median(std::vector<Figures> runs);
void Print(const char* name, const Figures& f, double megabytes, double rawSeconds);
// The median line, then every round's throughput.
void PrintRounds(const char* name, const std::vector<Figures>& runs, double megabytes, double rawSeconds);
// Each round's throughput against that round's raw writes, and their median.
void PrintRoundRatios(const char* name, const std::vector<Figures>& runs, const std::vector<Figures>& raw);

// Scrivet against the system File Writer in each round (throughput, and CPU per megabyte),
// and the medians of those ratios.
void PrintAgainstSystem(const std::vector<Figures>& scrivet, const std::vector<Figures>& system);

// What a progress event and the copy into the ring cost here.
void PrintHandOverCosts(long block);

}  // namespace scrivet::bench
