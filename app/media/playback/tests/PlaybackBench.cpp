// Prints how long the player takes from OpenFile to the first picture in the video area and
// from a seek (while paused) to the new picture, for a one-minute MPEG-2 recording, with the
// same figures for a four-second file of the same kind as the baseline of this run.
#include "PlayerTestWindow.h"
#include "TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

bool ShowsPicture(HWND area)
{
    return testsupport::CaptureWindow(area).DistinctColours() > 8;
}

bool SameImage(const testsupport::ScreenImage& a, const testsupport::ScreenImage& b)
{
    return a.width == b.width && a.height == b.height && a.bgr == b.bgr;
}

struct Figures {
    double openMs = -1;
    double seekMs = -1;
};

Figures Measure(const std::string& file, int seeks)
{
    playertest::RecordingHost host;
    playertest::TestWindow window;
    media::MediaPlayer player(host, window.Window());
    window.Attach(&player);
    media::PlayerOptions& o = player.Options();
    o.decoder = o.decoder1 = 2;
    o.mpeg2Decoders = {{}, {}, {"{505D5817-AA65-424D-B64B-CB5405FB841D}", "Corvale MPEG 1 n 2 Decoder"}};
    o.mpeg1Decoders = o.mpeg2Decoders;
    Figures f;
    InvalidateRect(window.VideoArea(), nullptr, TRUE);
    testsupport::PumpMessages(100);
    const double start = Now();
    if (player.OpenFile(file) != 1)
        return f;
    if (!testsupport::PumpMessages(10000, [&] { return ShowsPicture(window.VideoArea()); }))
        return f;
    f.openMs = Now() - start;

    testsupport::PumpMessages(500);
    player.PauseResume();
    testsupport::PumpMessages(300);
    std::vector<double> times;
    const std::int64_t tenths = player.Duration() / 1000000;
    for (int i = 0; i < seeks; ++i) {
        const auto before = testsupport::CaptureWindow(window.VideoArea());
        const std::int64_t target = (tenths * (2 * i + 1)) / (2 * seeks);
        const double t0 = Now();
        player.SeekTo(target);
        if (testsupport::PumpMessages(5000, [&] { return !SameImage(before, testsupport::CaptureWindow(window.VideoArea())); }))
            times.push_back(Now() - t0);
    }
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        f.seekMs = times[times.size() / 2];
    }
    player.CloseFile();
    return f;
}

}  // namespace

int main()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!testsupport::RegisterTestBedFilters()) {
        std::printf("the test bed's filters did not register\n");
        return 1;
    }
    Measure(playertest::MediaFile("mpeg2-4s.mpg"), 1);  // warm the caches of both
    const Figures small = Measure(playertest::MediaFile("mpeg2-4s.mpg"), 6);
    const Figures minute = Measure(playertest::MediaFile("mpeg2-60s.mpg"), 10);
    std::printf("open to first picture: 1-minute MPEG-2 %.0f ms, 4-second baseline %.0f ms, ratio %.2f\n",
                minute.openMs, small.openMs, small.openMs > 0 ? minute.openMs / small.openMs : 0.0);
    std::printf("seek to picture (median, paused): 1-minute MPEG-2 %.0f ms, 4-second baseline %.0f ms, ratio %.2f\n",
                minute.seekMs, small.seekMs, small.seekMs > 0 ? minute.seekMs / small.seekMs : 0.0);
    CoUninitialize();
    return minute.openMs < 0 ? 1 : 0;
}
