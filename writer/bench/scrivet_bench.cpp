// Throughput of Scrivet against the system File Writer and against plain unbuffered
// sequential writes of the same block size, measured in one run on the same disk, plus the
// longest time a Receive blocked, alone and while another process writes a large file.
// usage: scrivet_bench [FOLDER [MEGABYTES]]        (figures go to standard output)
//        scrivet_bench --hog FILE MEGABYTES       (the competing writer)
#include "ScrivetInterfaces.h"
#include "WriterGraph.h"

#include <uuids.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace scrivet::test;

namespace {

constexpr long kBlock = 65536;
const CLSID kSystemFileWriter = {0x8596E5F0, 0x0DA5, 0x11D0, {0xBD, 0x21, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

struct Figures {
    double seconds = 0;
    double cpuSeconds = 0;
    double longestBlockUs = 0;
    bool ok = false;
};

double CpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (value(kernel) + value(user)) / 1e7;
}

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

Figures ThroughGraph(const CLSID& writer, const std::vector<BYTE>& data, int repeat, const std::string& path)
{
    Figures figures;
    DeleteFileA(path.c_str());
    auto* source = new ByteSource(&data, {kBlock}, kBlock, MEDIATYPE_Stream, repeat);
    WriterGraph graph;
    if (FAILED(graph.Build(source, writer)) || FAILED(graph.SetFileName(Wide(path))))
        return figures;
    const double cpu = CpuSeconds();
    const double start = Now();
    figures.ok = graph.RunToEnd(600000);
    figures.seconds = Now() - start;
    figures.cpuSeconds = CpuSeconds() - cpu;
    figures.longestBlockUs = source->LongestDeliveryUs();
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes);
    const uint64_t size = (static_cast<uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    figures.ok = figures.ok && size == data.size() * repeat;
    DeleteFileA(path.c_str());
    return figures;
}

Figures RawWrites(const std::vector<BYTE>& data, int repeat, const std::string& path)
{
    Figures figures;
    BYTE* block = static_cast<BYTE*>(VirtualAlloc(nullptr, data.size(), MEM_COMMIT, PAGE_READWRITE));
    std::copy(data.begin(), data.end(), block);
    const double cpu = CpuSeconds();
    const double start = Now();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_NO_BUFFERING, nullptr);
    figures.ok = file != INVALID_HANDLE_VALUE;
    for (int round = 0; figures.ok && round < repeat; ++round)
        for (size_t at = 0; figures.ok && at < data.size(); at += kBlock) {
            DWORD written = 0;
            const double before = Now();
            figures.ok = WriteFile(file, block + at, kBlock, &written, nullptr) && written == kBlock;
            figures.longestBlockUs = std::max(figures.longestBlockUs, (Now() - before) * 1e6);
        }
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    figures.seconds = Now() - start;
    figures.cpuSeconds = CpuSeconds() - cpu;
    VirtualFree(block, 0, MEM_RELEASE);
    DeleteFileA(path.c_str());
    return figures;
}

int Hog(const char* path, int megabytes)
{
    std::vector<char> block(1 << 20, 'h');
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    for (int i = 0; i < megabytes; ++i) {
        DWORD written = 0;
        WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    }
    FlushFileBuffers(file);
    CloseHandle(file);
    DeleteFileA(path);
    return 0;
}

void Print(const char* name, const Figures& f, double megabytes, double raw)
{
    std::printf("%-26s %8.1f MB/s  %6.1f%% of raw  CPU %6.2f ms/MB  longest block %8.1f ms%s\n", name,
                megabytes / f.seconds, 100.0 * raw / f.seconds, 1000.0 * f.cpuSeconds / megabytes,
                f.longestBlockUs / 1000.0, f.ok ? "" : "  (FAILED)");
}

Figures Median(std::vector<Figures> runs)
{
    std::sort(runs.begin(), runs.end(), [](const Figures& a, const Figures& b) { return a.seconds < b.seconds; });
    return runs[runs.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--hog")
        return Hog(argv[2], std::atoi(argv[3]));
    std::string folder = argc > 1 ? argv[1] : ".";
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    const int megabytes = argc > 2 ? std::max(8, std::atoi(argv[2])) : 256;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);

    std::vector<BYTE> data(8 << 20);
    uint32_t seed = 1;
    for (BYTE& b : data)
        b = static_cast<BYTE>(1 + ((seed = seed * 1103515245u + 12345u) >> 16) % 255);
    const int repeat = megabytes / 8;
    const double total = 8.0 * repeat;

    std::vector<Figures> scrivet, system, raw;
    for (int round = 0; round < 3; ++round) {
        raw.push_back(RawWrites(data, repeat, folder + "bench_raw.bin"));
        scrivet.push_back(ThroughGraph(CLSID_ScrivetFileWriter, data, repeat, folder + "bench_scrivet.bin"));
        system.push_back(ThroughGraph(kSystemFileWriter, data, repeat, folder + "bench_system.bin"));
    }
    const Figures rawMedian = Median(raw);
    std::printf("%d MB in %ld-byte blocks, median of 3 rounds, folder %s\n", 8 * repeat, kBlock, folder.c_str());
    Print("raw unbuffered writes", rawMedian, total, rawMedian.seconds);
    Print("Scrivet", Median(scrivet), total, rawMedian.seconds);
    Print("system File Writer", Median(system), total, rawMedian.seconds);

    // Another process writes a large file to the same disk while Scrivet records.
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" --hog \"" + folder + "bench_hog.bin\" " +
                          std::to_string(megabytes * 4);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        Sleep(200);
        const Figures loaded = ThroughGraph(CLSID_ScrivetFileWriter, data, repeat, folder + "bench_scrivet.bin");
        Print("Scrivet, disk shared", loaded, total, rawMedian.seconds);
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CoUninitialize();
    return 0;
}
