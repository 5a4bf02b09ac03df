// Writes the virtual card's stream for one encoder configuration to a file, as fast as it can
// or paced in real time by the system clock references (--realtime), and prints figures:
// the mux rate, the measured byte rate, the video elementary rate against the configured
// rate, and the processor time used.
#include "StreamGenerator.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

namespace {

double ProcessCpuSeconds()
{
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto toSeconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return toSeconds(kernel) + toSeconds(user);
#else
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: vcapgen OUT.mpg [--mode 1-4] [--size WxH] [--bitrate BPS] [--audio mp2|lpcm]\n"
                 "               [--rate HZ] [--kbps N] [--seconds S] [--525] [--nosignal] [--realtime]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    vcap::StreamConfig c;
    double seconds = 10;
    bool realtime = false;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        if (a == "--525") {
            c.lines525 = true;
            c.standardName = "NTSC M";
        } else if (a == "--nosignal") {
            c.signal = false;
        } else if (a == "--realtime") {
            realtime = true;
        } else if (!v) {
            return Usage();
        } else if (a == "--mode") {
            c.captureMode = static_cast<uint32_t>(std::atoi(v)), ++i;
        } else if (a == "--size") {
            unsigned w = 0, h = 0;
            if (std::sscanf(v, "%ux%u", &w, &h) != 2)
                return Usage();
            c.width = w, c.height = h, ++i;
        } else if (a == "--bitrate") {
            c.videoBitRate = static_cast<uint32_t>(std::atol(v)), ++i;
        } else if (a == "--audio") {
            c.audioType = std::strcmp(v, "lpcm") == 0 ? 1 : 0, ++i;
        } else if (a == "--rate") {
            c.audioSampleRate = static_cast<uint32_t>(std::atol(v)), ++i;
        } else if (a == "--kbps") {
            c.audioKbps = static_cast<uint32_t>(std::atol(v)), ++i;
        } else if (a == "--seconds") {
            seconds = std::atof(v), ++i;
        } else {
            return Usage();
        }
    }
    const std::string problem = vcap::Validate(c);
    if (!problem.empty()) {
        std::fprintf(stderr, "vcapgen: %s\n", problem.c_str());
        return 2;
    }
    FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::fprintf(stderr, "vcapgen: cannot create %s\n", argv[1]);
        return 1;
    }

    vcap::StreamGenerator gen(c);
    const double cpuStart = ProcessCpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    std::vector<uint8_t> pack;
    uint64_t bytes = 0;
    while (gen.nextScr27() < static_cast<uint64_t>(seconds * 27e6)) {
        if (realtime) {
            const auto due = wallStart + std::chrono::microseconds(gen.nextScr27() / 27);
            std::this_thread::sleep_until(due);
        }
        pack.clear();
        gen.nextPack(pack);
        bytes += pack.size();
        std::fwrite(pack.data(), 1, pack.size(), f);
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpu = ProcessCpuSeconds() - cpuStart;
    pack.clear();
    gen.finish(pack);
    std::fwrite(pack.data(), 1, pack.size(), f);
    const bool ok = std::fclose(f) == 0;

    const vcap::StreamStats s = gen.stats();
    const double streamSeconds = static_cast<double>(gen.nextScr27()) / 27e6;
    std::printf("mux rate %u B/s; %.1f s of stream in %.2f s wall, %.2f s CPU (%.1f%%)\n", gen.muxRate(),
                streamSeconds, wall, cpu, 100.0 * cpu / (wall > 0 ? wall : 1));
    std::printf("stream %.0f bit/s (%.3f%% of mux rate) over %s time\n", bytes * 8.0 / (realtime ? wall : streamSeconds),
                100.0 * bytes / (realtime ? wall : streamSeconds) / gen.muxRate(), realtime ? "wall" : "stream");
    std::printf("video %.0f bit/s (%.3f%% of %u); pictures %llu, intra %llu, last quantiser %d; padding packs %llu\n",
                s.videoBytes * 8.0 / (static_cast<double>(s.pictures) * vcap::FrameRateDen(c) / vcap::FrameRateNum(c)),
                100.0 * s.videoBytes * 8.0 / (static_cast<double>(s.pictures) * vcap::FrameRateDen(c) / vcap::FrameRateNum(c)) / c.videoBitRate,
                c.videoBitRate, static_cast<unsigned long long>(s.pictures),
                static_cast<unsigned long long>(s.intraPictures), s.lastQuantiser,
                static_cast<unsigned long long>(s.paddingPacks));
    return ok ? 0 : 1;
}
