// Throughput of Scrivet against the system File Writer and against plain unbuffered
// sequential writes of the same block size, measured in rounds on the same disk, plus the
// longest time a Receive blocked, alone and while another process writes a large file, and
// what the hand-over costs (progress events, copies, writes per megabyte).
// usage: scrivet_bench [--only raw|scrivet|system|writers|shared] [FOLDER [MEGABYTES [ROUNDS]]]
//        (one kind of round alone; "writers": Scrivet and the system File Writer round by
//        round; "shared": only the runs with the disk shared)
//        scrivet_bench --hog FILE MEGABYTES       (the competing writer)
// SCRIVET_BENCH_SERVER_PID, when set, names this prefix's wineserver: its CPU time is added
// to the CPU figures, since every event or wait that crosses threads costs time there too.
#include "BenchMeasure.h"
#include "ScrivetInterfaces.h"
#include "WriterGraph.h"

#include <win/Handle.h>

#include <uuids.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace scrivet::test;
using namespace scrivet::bench;

namespace {

constexpr long kBlock = 65536;
constexpr double kMiB = 1024.0 * 1024;
const CLSID kSystemFileWriter = {0x8596E5F0, 0x0DA5, 0x11D0, {0xBD, 0x21, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

uint64_t FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes))
        return 0;
    return (static_cast<uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
}

Figures ThroughGraph(const CLSID& writer, const std::vector<BYTE>& data, int repeat, const std::string& path,
                     double bytesPerSecond = 0)
{
    Figures figures;
    DeleteFileA(path.c_str());
    auto* source = new ByteSource(&data, {kBlock}, kBlock, MEDIATYPE_Stream, repeat, bytesPerSecond);
    {
        WriterGraph graph;
        if (FAILED(graph.Build(source, writer)) || FAILED(graph.SetFileName(Wide(path))))
            return figures;
        const CpuClock cpu;
        const double start = Now();
        figures.ok = graph.RunToEnd(600000);
        figures.seconds = Now() - start;
        figures.cpuSeconds = cpu.Elapsed();
        figures.serverSeconds = cpu.ServerElapsed();
        figures.longestBlockUs = source->LongestDeliveryUs();
        figures.writes = graph.ProgressTotals().size();
    }
    // The graph is gone, and with it the writer: the file is finished.
    figures.ok = figures.ok && FileSize(path) == data.size() * repeat;
    DeleteFileA(path.c_str());
    return figures;
}

Figures RawWrites(const std::vector<BYTE>& data, int repeat, const std::string& path)
{
    Figures figures;
    BYTE* block = static_cast<BYTE*>(VirtualAlloc(nullptr, data.size(), MEM_COMMIT, PAGE_READWRITE));
    std::copy(data.begin(), data.end(), block);
    const CpuClock cpu;
    const double start = Now();
    win::Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_NO_BUFFERING,
                                 nullptr));
    figures.ok = file.Valid();
    for (int round = 0; figures.ok && round < repeat; ++round)
        for (size_t at = 0; figures.ok && at < data.size(); at += kBlock) {
            DWORD written = 0;
            const double before = Now();
            figures.ok = WriteFile(file.Get(), block + at, kBlock, &written, nullptr) && written == kBlock;
            figures.longestBlockUs = std::max(figures.longestBlockUs, (Now() - before) * 1e6);
            ++figures.writes;
        }
    file.Reset();
    figures.seconds = Now() - start;
    figures.cpuSeconds = cpu.Elapsed();
    figures.serverSeconds = cpu.ServerElapsed();
    VirtualFree(block, 0, MEM_RELEASE);
    DeleteFileA(path.c_str());
    return figures;
}

int Hog(const char* path, int megabytes)
{
    std::vector<char> block(1 << 20, 'h');
    win::Handle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file)
        return 1;
    for (int i = 0; i < megabytes; ++i) {
        DWORD written = 0;
        if (!WriteFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr))
            return 1;
    }
    FlushFileBuffers(file.Get());
    file.Reset();
    DeleteFileA(path);
    return 0;
}

// Starts the competing writer; returns its process handle (empty when it cannot start).
win::Handle StartHog(const std::string& folder, int megabytes)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" --hog \"" + folder + "bench_hog.bin\" " +
                          std::to_string(megabytes);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return {};
    win::Handle thread(process.hThread);
    return win::Handle(process.hProcess);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--hog")
        return Hog(argv[2], std::atoi(argv[3]));
    int first = 1;
    std::string only;
    if (argc > 2 && std::string(argv[1]) == "--only") {
        only = argv[2];
        first = 3;
    }
    std::string folder = argc > first ? argv[first] : ".";
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    const int megabytes = argc > first + 1 ? std::max(8, std::atoi(argv[first + 1])) : 256;
    const int rounds = argc > first + 2 ? std::max(1, std::atoi(argv[first + 2])) : 5;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);

    std::vector<BYTE> data(8 << 20);
    uint32_t seed = 1;
    for (BYTE& b : data)
        b = static_cast<BYTE>(1 + ((seed = seed * 1103515245u + 12345u) >> 16) % 255);
    const int repeat = megabytes / 8;
    const double total = 8.0 * repeat;
    const auto wanted = [&](const std::string& name) {
        return only.empty() || only == name ||
               (only == "writers" && (name == "scrivet" || name == "system"));
    };

    std::printf("%d MB in %ld-byte blocks, %d rounds, folder %s, %s\n", 8 * repeat, kBlock, rounds, folder.c_str(),
                LoadText().c_str());
    std::printf("CPU counts this process%s\n", ServerCpuKnown() ? " and its wineserver" : " only");
    std::vector<Figures> scrivet, system, raw;
    // On a virtual machine, memory the system took back a few seconds ago (the page cache of
    // an earlier file) costs several times more to fill again than memory freed just before:
    // the first large file after a pause pays for it. An unmeasured file of the same size
    // first, and every round's file written right after the one before, give all kinds the
    // same start.
    std::vector<const char*> kinds;
    for (const char* kind : {"raw", "scrivet", "system"})
        if (wanted(kind))
            kinds.push_back(kind);
    if (!kinds.empty() && rounds > 0)
        RawWrites(data, repeat, folder + "bench_warmup.bin");
    for (int round = 0; round < rounds; ++round) {
        // The order turns every round, so that none of the kinds always follows another or
        // always goes first.
        for (size_t turn = 0; turn < kinds.size(); ++turn) {
            const std::string kind = kinds[(round + turn) % kinds.size()];
            if (kind == "raw")
                raw.push_back(RawWrites(data, repeat, folder + "bench_raw.bin"));
            else if (kind == "scrivet")
                scrivet.push_back(ThroughGraph(CLSID_ScrivetFileWriter, data, repeat, folder + "bench_scrivet.bin"));
            else
                system.push_back(ThroughGraph(kSystemFileWriter, data, repeat, folder + "bench_system.bin"));
        }
    }
    const double rawSeconds = raw.empty() ? 0 : Median(raw).seconds;
    PrintRounds("raw unbuffered writes", raw, total, rawSeconds);
    PrintRounds("Scrivet", scrivet, total, rawSeconds);
    PrintRounds("system File Writer", system, total, rawSeconds);
    // The load moves between rounds; the ratio within each round is steadier than the medians.
    PrintRoundRatios("Scrivet", scrivet, raw);
    PrintRoundRatios("system File Writer", system, raw);
    PrintAgainstSystem(scrivet, system);

    if (wanted("shared")) {
        // Another process writes a large file to the same disk while each writer records:
        // as fast as the source can push, at a capture's pace (2 MB/s, above a DVD-rate
        // stream), and at eight times that. A paced Receive waits only when the ring is full.
        const struct {
            const char* name;
            const CLSID* writer;
            double pace;
            int megabytes;
        } shared[] = {
            {"Scrivet, disk shared", &CLSID_ScrivetFileWriter, 0, 8 * repeat},
            {"system, disk shared", &kSystemFileWriter, 0, 8 * repeat},
            {"Scrivet, shared, 2 MB/s", &CLSID_ScrivetFileWriter, 2 * kMiB, 16},
            {"system, shared, 2 MB/s", &kSystemFileWriter, 2 * kMiB, 16},
            {"Scrivet, shared, 16 MB/s", &CLSID_ScrivetFileWriter, 16 * kMiB, 64},
            {"system, shared, 16 MB/s", &kSystemFileWriter, 16 * kMiB, 64},
        };
        for (const auto& run : shared) {
            const int runRepeat = run.megabytes / 8;
            if (const win::Handle hog = StartHog(folder, megabytes * 4)) {
                Sleep(200);
                const Figures loaded = ThroughGraph(*run.writer, data, runRepeat, folder + "bench_shared.bin", run.pace);
                Print(run.name, loaded, 8.0 * runRepeat, 0);
                WaitForSingleObject(hog.Get(), INFINITE);
            }
        }
        std::printf("\nwhere the time goes\n");
        PrintHandOverCosts(kBlock);
    }
    std::printf("%s\n", LoadText().c_str());
    CoUninitialize();
    return 0;
}
