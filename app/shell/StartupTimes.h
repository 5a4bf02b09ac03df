#pragma once
// Where Marovin's start-up time goes, for the debug output: the phases from the process's
// creation to the first complete paint of the main window, each with the milliseconds since
// the phase before it and, where known, the processor time the process spent in it (on a
// shared machine the wall clock mostly measures the neighbours; processor time does not).
#include <string>
#include <utility>
#include <vector>

namespace shell {

class StartupTimes {
public:
    // Ends phase `name` at `elapsedMs` after the process was created, when the process had
    // used `processorMs` of processor time (negative: unknown).
    void Mark(const std::string& name, double elapsedMs, double processorMs = -1);
    // "start-up: process and libraries 120 ms (cpu 90), ... ; 410 ms in all, cpu 300";
    // empty before any mark.
    std::string Line() const;

private:
    struct Phase {
        std::string name;
        double ms;
        double processorMs;  // negative: unknown
    };
    std::vector<Phase> m_phases;
    double m_last = 0;
    double m_lastProcessor = -1;
};

// Milliseconds since this process was created, by the system's clock.
double MillisecondsSinceProcessStart();
// Processor time (user and kernel, all threads) this process has used, in milliseconds;
// negative when the system does not tell.
double ProcessorMilliseconds();
// The program's one record of its start-up.
StartupTimes& ProgramStartupTimes();
// Ends phase `phase` of the program's start-up now.
void MarkStartup(const char* phase);

}  // namespace shell
