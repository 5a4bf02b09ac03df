// skin_damage_probe KIND SEED FROM COUNT [SKIN_DIR]: runs damaged inputs FROM to FROM+COUNT-1
// of one kind through the real loaders and prints one line per input, then the process's
// memory peaks. An input still running after 15 s prints "hang" and ends the process with
// status 3, so a driving script can count it and go on after it; a crash ends the process
// after its "start" line.
#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DamageRunner.h"

namespace {

std::atomic<int> g_running{-1};
std::atomic<ULONGLONG> g_since{0};

DWORD WINAPI Watchdog(void*)
{
    for (;;) {
        Sleep(250);
        const int index = g_running.load();
        if (index >= 0 && GetTickCount64() - g_since.load() > static_cast<ULONGLONG>(damage::kHangSeconds * 1000)) {
            std::printf("hang %d\n", index);
            std::fflush(stdout);
            ExitProcess(3);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    damage::Kind kind;
    if (argc < 5 || !damage::ParseKind(argv[1], &kind)) {
        std::fprintf(stderr, "usage: skin_damage_probe bitmap|graphics|text SEED FROM COUNT [SKIN_DIR]\n");
        return 2;
    }
    const unsigned seed = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
    const int from = std::atoi(argv[3]), count = std::atoi(argv[4]);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // Crashes must end the process at once, without a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    damage::Runner runner(argc > 5 ? argv[5] : MAROVIN_SKIN_DIR);
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    int problems = 0;
    for (int i = from; i < from + count; ++i) {
        std::printf("start %d\n", i);
        std::fflush(stdout);
        g_since = GetTickCount64();
        g_running = i;
        const damage::Outcome o = runner.Run(kind, seed, i);
        g_running = -1;
        std::printf("done %d %s %.3f %s%s%s\n", i, o.loaded ? "loaded" : "refused", o.seconds, o.what.c_str(),
                    o.problem.empty() ? "" : " PROBLEM: ", o.problem.c_str());
        problems += o.problem.empty() ? 0 : 1;
    }
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("peak working set %.1f MB, peak private %.1f MB\n", memory.PeakWorkingSetSize / 1048576.0,
                memory.PeakPagefileUsage / 1048576.0);
    std::fflush(stdout);
    CoUninitialize();
    return problems ? 1 : 0;
}
