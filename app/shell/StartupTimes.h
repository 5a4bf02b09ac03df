#pragma once
// Where Marovin's start-up time goes, for the debug output: the phases from the process's
// creation to the first complete paint of the main window, each with the milliseconds since
// the phase before it.
#include <string>
#include <utility>
#include <vector>

namespace shell {

class StartupTimes {
public:
    // Ends phase `name` at `elapsedMs` after the process was created.
    void Mark(const std::string& name, double elapsedMs);
    // "start-up: process and libraries 120 ms, ... ; 410 ms in all"; empty before any mark.
    std::string Line() const;

private:
    std::vector<std::pair<std::string, double>> m_phases;
    double m_last = 0;
};

// Milliseconds since this process was created, by the system's clock.
double MillisecondsSinceProcessStart();
// The program's one record of its start-up.
StartupTimes& ProgramStartupTimes();
// Ends phase `phase` of the program's start-up now.
void MarkStartup(const char* phase);

}  // namespace shell
