// vcap_rate_bench: records a virtual card's stream in real time through Wine's File Writer
// for a while (60 s by default) and prints the delivered byte rate against the mux rate and
// the configured video rate, and the processor time the process used. A measurement, not a
// test: run it with tools/with-wine.sh on a quiet machine.
//   vcap_rate_bench [seconds] [mode] [WxH] [bitrate] [mp2|lpcm]
#include "CardBinding.h"
#include "CardControl.h"
#include "CardInstaller.h"
#include "ServerRegistration.h"
#include "EncoderState.h"
#include "KsPropertySets.h"
#include "StreamGenerator.h"

#include <win/ComPtr.h>

#include <windows.h>
#include <dshow.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using win::ComPtr;

namespace {

double CpuSeconds()
{
    FILETIME c, e, k, u;
    GetProcessTimes(GetCurrentProcess(), &c, &e, &k, &u);
    auto s = [](const FILETIME& t) { return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7; };
    return s(k) + s(u);
}

int Fail(const char* what)
{
    std::fprintf(stderr, "vcap_rate_bench: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const uint32_t mode = argc > 2 ? static_cast<uint32_t>(std::atoi(argv[2])) : 2;
    unsigned w = 720, h = 576;
    if (argc > 3)
        std::sscanf(argv[3], "%ux%u", &w, &h);
    const uint32_t rate = argc > 4 ? static_cast<uint32_t>(std::atol(argv[4])) : 6000000;
    const bool lpcm = argc > 5 && std::string(argv[5]) == "lpcm";

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring error;
    if (!vcap::RegisterTestBedServers(vcap::ProgramFolder(), false, error))
        return Fail("cannot register the test bed's filters");
    vcap::UninstallCard(1, error);
    vcap::CardRecord card;
    if (!vcap::InstallCard(1, {}, card, error))
        return Fail("cannot install the card");

    ComPtr<IBaseFilter> capture = vcap::BindCardFilter(card, vcap::FilterRole::Capture);
    ComPtr<IKsPropertySet> ks;
    if (!capture || FAILED(capture.As(ks)))
        return Fail("no capture filter");
    uint32_t pair[2] = {mode, 1};
    vcap::EncoderParams p = {w, h, rate, 15, 3, 0, rate, lpcm ? 1u : 0u, 48000, 224, 0};
    if (FAILED(ks->Set(vcap::kEncoderPropertySet, 1, nullptr, 0, pair, sizeof pair)) ||
        FAILED(ks->Set(vcap::kEncoderPropertySet, 2, nullptr, 0, &p, 44)))
        return Fail("the card refused the configuration");
    vcap::EncoderState state;
    vcap::LoadEncoderState(1, state);
    const vcap::StreamGenerator probe(vcap::MakeStreamConfig(state));

    ComPtr<IGraphBuilder> graph;
    ComPtr<IBaseFilter> writer;
    ComPtr<IFileSinkFilter> sink;
    ComPtr<IBaseFilter> encoder = vcap::BindCardFilter(card, vcap::FilterRole::Encoder);
    if (!encoder || FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid())) ||
        FAILED(CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, writer.PutVoid())) ||
        FAILED(writer.As(sink)))
        return Fail("cannot build the graph");
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string file = std::string(temp) + "vcap_rate_bench.mpg";
    DeleteFileA(file.c_str());
    const std::wstring wfile(file.begin(), file.end());
    ComPtr<IEnumPins> pins;
    ComPtr<IPin> out, in;
    graph->AddFilter(encoder.Get(), L"Encoder");
    graph->AddFilter(writer.Get(), L"Writer");
    sink->SetFileName(wfile.c_str(), nullptr);
    encoder->EnumPins(pins.Put());
    pins->Next(1, out.Put(), nullptr);
    writer->EnumPins(pins.Put());
    pins->Next(1, in.Put(), nullptr);
    if (FAILED(graph->ConnectDirect(out.Get(), in.Get(), nullptr)))
        return Fail("cannot connect the encoder to the File Writer");
    ComPtr<IMediaControl> mc;
    graph.As(mc);

    // Two windows, both measured by the file's growth: from Run (start-up included: the
    // encoder's start latency counts against it) and from a few seconds after Run.
    auto fileSize = [&file] {
        WIN32_FILE_ATTRIBUTE_DATA a;
        if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &a))
            return 0.0;
        return static_cast<double>((static_cast<uint64_t>(a.nFileSizeHigh) << 32) | a.nFileSizeLow);
    };
    LARGE_INTEGER f, tRun, tFirst, t0, t1;
    QueryPerformanceFrequency(&f);
    auto since = [&f](const LARGE_INTEGER& a, const LARGE_INTEGER& b) { return static_cast<double>(b.QuadPart - a.QuadPart) / f.QuadPart; };
    QueryPerformanceCounter(&tRun);
    mc->Run();
    do {
        Sleep(5);
        QueryPerformanceCounter(&tFirst);
    } while (fileSize() == 0 && since(tRun, tFirst) < 10);
    const double waited = since(tRun, tFirst) * 1000;
    if (waited < 3000)
        Sleep(static_cast<DWORD>(3000 - waited));
    const double cpu0 = CpuSeconds();
    QueryPerformanceCounter(&t0);
    const double size0 = fileSize();
    Sleep(static_cast<DWORD>(seconds) * 1000);
    QueryPerformanceCounter(&t1);
    const double size1 = fileSize();
    const double cpu = CpuSeconds() - cpu0;
    mc->Stop();
    const double wall = since(t0, t1);
    const double bytes = size1 - size0;
    const double measured = bytes * 8 / wall;
    std::printf("config: mode %u, %ux%u, video %u bit/s, %s audio\n", mode, w, h, rate, lpcm ? "LPCM" : "Layer II");
    std::printf("ran %.2f s: %.0f bytes, %.0f bit/s\n", wall, bytes, measured);
    std::printf("mux rate %u bit/s: measured/mux = %.4f (%+.2f%%)\n", probe.muxRate() * 8, measured / (probe.muxRate() * 8.0),
                100.0 * (measured / (probe.muxRate() * 8.0) - 1));
    std::printf("configured video rate %u bit/s + audio %u bit/s: measured is %.4f of their sum\n", rate,
                vcap::AudioBitRate(vcap::MakeStreamConfig(state)), measured / (rate + vcap::AudioBitRate(vcap::MakeStreamConfig(state))));
    const double whole = since(tRun, t1);
    const double wholeRate = size1 * 8 / whole;
    std::printf("first bytes in the file %.0f ms after Run\n", since(tRun, tFirst) * 1000);
    std::printf("from Run, %.2f s: %.0f bytes, %.0f bit/s = mux %+.2f%%\n", whole, size1, wholeRate,
                100.0 * (wholeRate / (probe.muxRate() * 8.0) - 1));
    vcap::CardControlState control;
    if (vcap::ReadControl(1, control))
        std::printf("frames-dropped reports: %u\n", control.framesDropped);
    std::printf("CPU %.2f s over %.2f s = %.1f%% of one core\n", cpu, wall, 100.0 * cpu / wall);
    vcap::UninstallCard(1, error);
    CoUninitialize();
    return 0;
}
