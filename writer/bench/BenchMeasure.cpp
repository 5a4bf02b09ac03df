#include "BenchMeasure.h"

#include <win/ComPtr.h>
#include <win/Handle.h>

#include <control.h>
#include <dshow.h>
#include <uuids.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace scrivet::bench {

namespace {

std::string ReadSmallFile(const std::string& path)
{
    const win::Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    if (!file)
        return {};
    char text[1024];
    DWORD got = 0;
    if (!ReadFile(file.Get(), text, sizeof text - 1, &got, nullptr))
        return {};
    return std::string(text, got);
}

// User and system time of a Linux process, from /proc (ticks of 1/100 s).
double ServerCpuSeconds()
{
    const char* pid = std::getenv("SCRIVET_BENCH_SERVER_PID");
    if (!pid || !*pid)
        return 0;
    const std::string stat = ReadSmallFile(std::string("Z:\\proc\\") + pid + "\\stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return 0;
    // After the name: state is field 3; utime and stime are fields 14 and 15.
    const char* at = stat.c_str() + close + 2;
    unsigned long long values[13] = {};
    for (int field = 3; field <= 15 && *at; ++field) {
        char* end = nullptr;
        values[field - 3] = field == 3 ? 0 : std::strtoull(at, &end, 10);
        at = std::strchr(at, ' ');
        if (!at)
            break;
        ++at;
    }
    return (values[11] + values[12]) / 100.0;
}

double ProcessCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (value(kernel) + value(user)) / 1e7;
}

double CpuSeconds()
{
    return ProcessCpuSeconds() + ServerCpuSeconds();
}

struct EventReader {
    IMediaEvent* events;
    long stopCode;
    long seen = 0;
};

DWORD WINAPI ReadEvents(void* context)
{
    auto* reader = static_cast<EventReader*>(context);
    for (;;) {
        long code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        if (reader->events->GetEvent(&code, &p1, &p2, 50) != S_OK)
            continue;
        reader->events->FreeEventParams(code, p1, p2);
        ++reader->seen;
        if (code == reader->stopCode)
            return 0;
    }
}

// Posts `count` progress events into a graph's event sink while a second thread takes them
// out, the way a program watching the graph does; returns wall and CPU seconds per event.
bool MeasureGraphEvents(int count, double* wallPerEvent, double* cpuPerEvent)
{
    win::ComPtr<IGraphBuilder> graph;
    win::ComPtr<IMediaEventSink> sink;
    win::ComPtr<IMediaEvent> events;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                graph.PutVoid())) ||
        FAILED(graph->QueryInterface(IID_IMediaEventSink, sink.PutVoid())) ||
        FAILED(graph->QueryInterface(IID_IMediaEvent, events.PutVoid())))
        return false;
    EventReader reader{events.Get(), EC_USER + 1};
    const win::Handle thread(CreateThread(nullptr, 0, ReadEvents, &reader, 0, nullptr));
    if (!thread)
        return false;
    const CpuClock cpu;
    const double start = Now();
    for (int i = 0; i < count; ++i)
        sink->Notify(0x80CC, 0, i);
    sink->Notify(EC_USER + 1, 0, 0);
    WaitForSingleObject(thread.Get(), INFINITE);
    *wallPerEvent = (Now() - start) / count;
    *cpuPerEvent = cpu.Elapsed() / count;
    return reader.seen == count + 1;
}

// Copies blocks into a ring of ten blocks, as Receive does; returns seconds per megabyte.
double MeasureRingCopy(long block)
{
    const size_t ringSize = static_cast<size_t>(block) * 10;
    std::vector<BYTE> source(static_cast<size_t>(block), 0x5A);
    BYTE* ring = static_cast<BYTE*>(VirtualAlloc(nullptr, ringSize, MEM_COMMIT, PAGE_READWRITE));
    if (!ring)
        return 0;
    const int megabytes = 256;
    const size_t copies = static_cast<size_t>(megabytes) * 1048576 / static_cast<size_t>(block);
    const double start = Now();
    size_t at = 0;
    for (size_t i = 0; i < copies; ++i) {
        std::memcpy(ring + at, source.data(), source.size());
        at = (at + source.size()) % ringSize;
    }
    const double seconds = Now() - start;
    VirtualFree(ring, 0, MEM_RELEASE);
    return seconds / megabytes;
}

}  // namespace

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

CpuClock::CpuClock() : start_(CpuSeconds()), serverStart_(ServerCpuSeconds()) {}

double CpuClock::Elapsed() const
{
    return CpuSeconds() - start_;
}

double CpuClock::ServerElapsed() const
{
    return ServerCpuSeconds() - serverStart_;
}

bool ServerCpuKnown()
{
    const char* pid = std::getenv("SCRIVET_BENCH_SERVER_PID");
    return pid && *pid && ServerCpuSeconds() > 0;
}

std::string LoadText()
{
    const std::string load = ReadSmallFile("Z:\\proc\\loadavg");
    double one = 0, five = 0, fifteen = 0;
    if (std::sscanf(load.c_str(), "%lf %lf %lf", &one, &five, &fifteen) != 3)
        return "load unknown";
    char text[64];
    std::snprintf(text, sizeof text, "load %.2f %.2f %.2f", one, five, fifteen);
    return text;
}

Figures Median(std::vector<Figures> runs)
{
    std::sort(runs.begin(), runs.end(), [](const Figures& a, const Figures& b) { return a.seconds < b.seconds; });
    return runs[runs.size() / 2];
}

void Print(const char* name, const Figures& f, double megabytes, double rawSeconds)
{
    char ratio[32] = "";
    if (rawSeconds > 0)
        std::snprintf(ratio, sizeof ratio, "%6.1f%% of raw", 100.0 * rawSeconds / f.seconds);
    std::printf("%-24s %7.1f MB/s %s  CPU %5.2f ms/MB (wineserver %4.2f)  longest block %7.1f ms  %5.1f writes/MB%s\n",
                name, megabytes / f.seconds, ratio, 1000.0 * f.cpuSeconds / megabytes,
                1000.0 * f.serverSeconds / megabytes, f.longestBlockUs / 1000.0, f.writes / megabytes,
                f.ok ? "" : "  (FAILED)");
}

void PrintRounds(const char* name, const std::vector<Figures>& runs, double megabytes, double rawSeconds)
{
    if (runs.empty())
        return;
    Print(name, Median(runs), megabytes, rawSeconds);
    std::printf("%24s  rounds (MB/s, CPU ms/MB):", "");
    for (const Figures& f : runs)
        std::printf(" %.0f/%.2f", megabytes / f.seconds, 1000.0 * f.cpuSeconds / megabytes);
    std::printf("\n");
}

void PrintRoundRatios(const char* name, const std::vector<Figures>& runs, const std::vector<Figures>& raw)
{
    const size_t rounds = std::min(runs.size(), raw.size());
    if (rounds == 0)
        return;
    std::vector<double> ratios;
    for (size_t i = 0; i < rounds; ++i)
        ratios.push_back(100.0 * raw[i].seconds / runs[i].seconds);
    std::printf("%s against raw, round by round:", name);
    for (double r : ratios)
        std::printf(" %.0f%%", r);
    std::sort(ratios.begin(), ratios.end());
    std::printf("; median %.0f%%\n", ratios[ratios.size() / 2]);
}

void PrintAgainstSystem(const std::vector<Figures>& scrivet, const std::vector<Figures>& system)
{
    const size_t rounds = std::min(scrivet.size(), system.size());
    if (rounds == 0)
        return;
    std::vector<double> speed, cpu;
    std::printf("Scrivet against the system File Writer, round by round (throughput x, CPU per MB x):");
    for (size_t i = 0; i < rounds; ++i) {
        speed.push_back(system[i].seconds / scrivet[i].seconds);
        cpu.push_back(system[i].cpuSeconds > 0 ? scrivet[i].cpuSeconds / system[i].cpuSeconds : 0);
        std::printf(" %.2f/%.2f", speed.back(), cpu.back());
    }
    std::sort(speed.begin(), speed.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("; median %.2fx throughput, %.2fx CPU per MB\n", speed[rounds / 2], cpu[rounds / 2]);
}

void PrintHandOverCosts(long block)
{
    double wall = 0, cpu = 0;
    if (MeasureGraphEvents(20000, &wall, &cpu))
        std::printf("one graph event (posted, then taken by a waiting thread): %.1f us, CPU %.1f us\n", wall * 1e6,
                    cpu * 1e6);
    else
        std::printf("graph event cost: could not be measured\n");
    std::printf("copying %ld-byte blocks into a ten-block ring: %.3f ms/MB\n", block, MeasureRingCopy(block) * 1e3);
}

}  // namespace scrivet::bench
