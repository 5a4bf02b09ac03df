// Figures of the capture engine on the virtual card, printed, never judged: how soon the
// preview shows a picture and a recording reaches the disk, how much of the card's stream
// the start of a recording misses, and the CPU the preview and the recording take beside the
// test bed's bare viewer. The soak repeats start/record/stop/release cycles and prints the
// process's threads and memory as it goes.
#include "CaptureCardFixture.h"

#include "ViewerGraph.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace capturetest {
namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double ProcessCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& f) {
        return static_cast<double>((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// Share of one core the process used over `ms` of pumping messages.
double CpuShare(DWORD ms)
{
    const double before = ProcessCpuSeconds();
    const Clock::time_point start = Clock::now();
    testsupport::PumpMessages(ms);
    return (ProcessCpuSeconds() - before) / (Ms(start, Clock::now()) / 1000.0);
}

uint64_t FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a))
        return 0;
    return (static_cast<uint64_t>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}

int ThreadCount()
{
    int n = 0;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 t{sizeof t};
    for (BOOL ok = Thread32First(snap, &t); ok; ok = Thread32Next(snap, &t))
        n += t.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snap);
    return n;
}

SIZE_T Committed()
{
    PROCESS_MEMORY_COUNTERS m{};
    GetProcessMemoryInfo(GetCurrentProcess(), &m, sizeof m);
    return m.PagefileUsage;
}

class CaptureBench : public CaptureCard {};

TEST_F(CaptureBench, Figures)
{
    constexpr DWORD kCpuWindowMs = 5000;
    UseCard(1);

    vcap::ViewerGraph viewer;
    ASSERT_EQ(viewer.Start(card_, host_.area), "");
    testsupport::PumpMessages(1000);
    const double viewerCpu = CpuShare(kCpuWindowMs);
    viewer.Stop();

    const Clock::time_point previewAsked = Clock::now();
    ASSERT_TRUE(StartPreview());
    while (PicturesShown() < 1 && Ms(previewAsked, Clock::now()) < 10000)
        testsupport::PumpMessages(5);
    const double firstPicture = Ms(previewAsked, Clock::now());
    testsupport::PumpMessages(1000);
    const double previewCpu = CpuShare(kCpuWindowMs);

    const std::string file = OutputFile("bench.mpg");
    DeleteFileA(file.c_str());
    ASSERT_TRUE(graph_->SetCaptureFileName(file));
    const Clock::time_point recordAsked = Clock::now();
    ASSERT_EQ(graph_->StartRecordingFromPreview(), S_OK);
    while (FileSize(file) == 0 && Ms(recordAsked, Clock::now()) < 10000)
        testsupport::PumpMessages(1);
    const double firstByte = Ms(recordAsked, Clock::now());
    const double recordingCpu = CpuShare(kCpuWindowMs);
    const double recorded = static_cast<double>(graph_->RecordedTime()) / 1e7;
    ASSERT_TRUE(SUCCEEDED(graph_->StopRecordingKeepPreview()));
    const double byteRate = static_cast<double>(FileSize(file)) / recorded;
    // The card's stream while the graph stops and runs again for the recording is in no file.
    const double lostBytes = byteRate * firstByte / 1000.0;
    graph_->ReleaseCaptureGraph(false);
    DeleteFileA(file.c_str());

    std::printf("preview command to first picture: %.0f ms\n", firstPicture);
    std::printf("record command to first byte on disk: %.0f ms\n", firstByte);
    std::printf("stream in no file at the recording's start: about %.0f KiB (%.0f ms of a %.2f Mbit/s stream)\n",
                lostBytes / 1024, firstByte, byteRate * 8 / 1e6);
    std::printf("CPU, share of one core: viewer alone %.3f, preview %.3f (%.2fx), recording %.3f (%.2fx)\n", viewerCpu,
                previewCpu, previewCpu / viewerCpu, recordingCpu, recordingCpu / viewerCpu);
}

TEST_F(CaptureBench, Soak)
{
    const char* env = std::getenv("CAPTURE_SOAK_CYCLES");
    const int cycles = env ? std::atoi(env) : 300;
    UseCard(1);
    int firstThreads = 0;
    SIZE_T firstCommitted = 0;
    for (int i = 0; i < cycles; ++i) {
        host_.captureMode = false;
        ASSERT_TRUE(StartPreview()) << "cycle " << i;
        testsupport::PumpMessages(100);
        const std::string file = OutputFile("soak.mpg");
        ASSERT_TRUE(graph_->SetCaptureFileName(file));
        ASSERT_EQ(graph_->StartRecordingFromPreview(), S_OK) << "cycle " << i;
        testsupport::PumpMessages(200);
        ASSERT_TRUE(SUCCEEDED(graph_->StopRecordingKeepPreview())) << "cycle " << i;
        ASSERT_TRUE(graph_->ReleaseCaptureGraph(true));
        if (i == 2) {
            firstThreads = ThreadCount();
            firstCommitted = Committed();
        }
        if ((i + 1) % 50 == 0 || i + 1 == cycles)
            std::printf("after %d cycles: threads %d (cycle 3: %d), committed %lu KiB (cycle 3: %lu KiB)\n", i + 1,
                        ThreadCount(), firstThreads, static_cast<unsigned long>(Committed() / 1024),
                        static_cast<unsigned long>(firstCommitted / 1024));
    }
    DeleteFileA(OutputFile("soak.mpg").c_str());
}

// One long recording: the file's size every ten seconds, so a stream that stops growing shows
// at once. CAPTURE_LONG_SECONDS sets the length (120 by default), CAPTURE_LONG_RATE the DVD
// quality's bit rate.
TEST_F(CaptureBench, LongRecording)
{
    const char* env = std::getenv("CAPTURE_LONG_SECONDS");
    const int seconds = env ? std::atoi(env) : 120;
    if (const char* rate = std::getenv("CAPTURE_LONG_RATE"))
        settings_.dvdBitrate = std::atoi(rate);
    UseCard(1);
    ASSERT_TRUE(StartPreview());
    testsupport::PumpMessages(1000);
    const std::string file = OutputFile("long.mpg");
    DeleteFileA(file.c_str());
    ASSERT_TRUE(graph_->SetCaptureFileName(file));
    ASSERT_EQ(graph_->StartRecordingFromPreview(), S_OK);
    std::uint64_t last = 0;
    int stalls = 0;
    for (int s = 10; s <= seconds; s += 10) {
        testsupport::PumpMessages(10000);
        const std::uint64_t size = FileSize(file);
        std::printf("%3d s: %.1f MiB on disk, engine time %.1f s%s\n", s, size / 1048576.0,
                    static_cast<double>(graph_->RecordedTime()) / 1e7, size == last ? "  (no growth)" : "");
        stalls += size == last ? 1 : 0;
        last = size;
    }
    ASSERT_TRUE(SUCCEEDED(graph_->StopRecordingKeepPreview()));
    std::printf("finished: %.1f MiB, %d ten-second spans without growth\n", FileSize(file) / 1048576.0, stalls);
    EXPECT_EQ(stalls, 0);
    graph_->ReleaseCaptureGraph(false);
}

}  // namespace
}  // namespace capturetest
