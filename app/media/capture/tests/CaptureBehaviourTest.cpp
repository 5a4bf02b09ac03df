// The capture engine's choices and failures on the virtual card: separated streams and their
// file names, preference indexes outside their lists, a dead input, a refused file name, the
// writer's events, the other device types, and repeated start/record/release cycles.
#include "CaptureCardFixture.h"

#include "CardControl.h"
#include "EncoderState.h"
#include "ScrivetInterfaces.h"

#include <tlhelp32.h>
#include <psapi.h>

#include <cstdio>

namespace capturetest {
namespace {

constexpr long kCrossbarComposite1 = 1;

uint64_t FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a))
        return 0;
    return (static_cast<uint64_t>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}

struct Separate {
    const char* name;
    int capture, wav;
    const char* recordAs;
    const char* videoFile;
    const char* audioFile;
    const char* vcodec;
    int width, height;
};

class SeparateStreams : public CaptureCard, public ::testing::WithParamInterface<Separate> {};

TEST_P(SeparateStreams, VideoAndSoundGoToTwoFilesWithTheirOwnNames)
{
    const Separate& c = GetParam();
    settings_.separateAudioVideo = 1;
    settings_.capture = c.capture;
    settings_.setupMode = c.capture;
    settings_.qualityMpeg1 = 2;
    settings_.qualityMpeg2 = 1;
    settings_.audioFormatSaveWav = c.wav;
    UseCard(1);
    ASSERT_TRUE(StartPreview());
    Run(1000);
    const std::string video = OutputFile(c.videoFile), audio = OutputFile(c.audioFile);
    DeleteFileA(video.c_str());
    DeleteFileA(audio.c_str());
    ASSERT_TRUE(graph_->SetCaptureFileName(OutputFile(c.recordAs)));
    ASSERT_EQ(graph_->StartRecordingFromPreview(), S_OK);
    EXPECT_EQ(graph_->CaptureFileName(), video) << "the video file becomes the recording's name";
    Run(2500);
    const double seconds = static_cast<double>(graph_->RecordedTime()) / 1e7;
    const long before = PicturesShown();
    ASSERT_TRUE(SUCCEEDED(graph_->StopRecordingKeepPreview()));
    Run(800);
    EXPECT_GT(PicturesShown(), before) << "the preview runs on";
    EXPECT_GT(FileSize(video), 100000u);
    EXPECT_GT(FileSize(audio), 10000u);
    EXPECT_NE(video, audio);
    char line[400];
    std::snprintf(line, sizeof line, "%s %s %d %d %.2f", c.videoFile, c.vcodec, c.width, c.height, seconds);
    Manifest(line);
    std::snprintf(line, sizeof line, "%s none 0 0 %.2f", c.audioFile, seconds);
    Manifest(line);
    EXPECT_TRUE(host_.errors.empty()) << host_.errors[0];
}

INSTANTIATE_TEST_SUITE_P(Modes, SeparateStreams,
                         ::testing::Values(Separate{"mpeg2_mpa", 2, 0, "sep1.mpg", "sep1.m2v", "sep1.mpa", "mpeg2video", 720, 576},
                                           Separate{"mpeg2_wav", 2, 1, "sep2.mpg", "sep2.m2v", "sep2.wav", "mpeg2video", 720, 576},
                                           Separate{"own_name", 2, 0, "show.mpeg", "show.mpeg", "show.mpa", "mpeg2video", 720, 576},
                                           Separate{"mpeg1_mpa", 1, 0, "sep3.mpg", "sep3.m1v", "sep3.mpa", "mpeg1video", 352, 288}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CaptureCard, DecoderIndexesOutsideTheirListsStillBuildAPreview)
{
    struct Case {
        int capture, decoder, decoder1;
    } cases[] = {{2, 6, 2}, {2, -2, 2}, {1, 2, 4}};
    UseCard(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.capture) + "/" + std::to_string(c.decoder) + "/" + std::to_string(c.decoder1));
        settings_.capture = c.capture;
        settings_.qualityMpeg1 = 2;
        settings_.decoder = c.decoder;
        settings_.decoder1 = c.decoder1;
        host_.captureMode = false;
        ASSERT_TRUE(StartPreview());
        Run(1200);
        EXPECT_GT(PicturesShown(), 0);
        EXPECT_TRUE(graph_->ReleaseCaptureGraph(false));
    }
}

TEST_F(CaptureCard, ADeadInputGivesWayToOneWithASignal)
{
    UseCard(1);
    vcap::SetInputSignal(1, kCrossbarComposite1, false);
    int source = 1;
    ASSERT_EQ(graph_->StartCaptureGraph(&source, false), S_OK);
    EXPECT_NE(source, 1) << "another input was chosen";
    Run(1200);
    EXPECT_GT(PicturesShown(), 0);
    graph_->ReleaseCaptureGraph(false);

    vcap::SetSignal(1, false);
    source = 1;
    EXPECT_EQ(graph_->StartCaptureGraph(&source, false), E_FAIL) << "no input has a signal";
    EXPECT_FALSE(graph_->Built()) << "the graph was released";
}

TEST_F(CaptureCard, ARefusedFileNameLeavesThePreviewRunningAndNothingRecording)
{
    UseCard(1);
    ASSERT_TRUE(StartPreview());
    Run(800);
    ASSERT_TRUE(graph_->SetCaptureFileName("Z:\\no\\such\\folder\\clip1.mpg"));
    EXPECT_TRUE(FAILED(graph_->StartRecordingFromPreview()));
    EXPECT_FALSE(graph_->Recording());
    ASSERT_FALSE(host_.errors.empty());
    EXPECT_EQ(host_.errors.back(), capture::kTextFileNameRefused);
    EXPECT_EQ(graph_->State(), capture::CaptureGraph::kRunning);
    const long before = PicturesShown();
    Run(800);
    EXPECT_GT(PicturesShown(), before) << "the preview runs again";

    EXPECT_FALSE(graph_->SetCaptureFileName("C:\\" + std::string(capture::kMaxRecordingPath, 'a') + ".mpg"))
        << "a name the writer would refuse is refused here, not cut";
    host_.errors.clear();
    RecordClip("after-refusal.mpg", 1500, "mpeg2video", 720, 576);
}

TEST_F(CaptureCard, TheWritersEventsStopTheRecordingOnce)
{
    UseCard(1);
    ASSERT_TRUE(StartPreview());
    ASSERT_TRUE(graph_->SetCaptureFileName(OutputFile("disk-full.mpg")));
    ASSERT_EQ(graph_->StartRecordingFromPreview(), S_OK);
    Run(1500);
    EXPECT_GT(host_.written, 0u) << "the written size arrives while recording";
    win::ComPtr<IMediaEventSink> sink;
    ASSERT_EQ(graph_->Graph().Graph()->QueryInterface(IID_IMediaEventSink, sink.PutVoid()), S_OK);
    // Two writers of separated streams both find the disk full.
    sink->Notify(EC_WRITER_DISK_FULL, 0, 0);
    sink->Notify(EC_WRITER_DISK_FULL, 0, 0);
    Run(1500);
    ASSERT_EQ(host_.writerStops.size(), 1u);
    EXPECT_EQ(host_.writerStops[0], capture::kTextDiskFull);
    EXPECT_FALSE(graph_->Recording());
    const int progress = host_.progressEvents;
    sink->Notify(EC_WRITER_SIZE_LIMIT, 0, 0);
    sink->Notify(EC_WRITER_PROGRESS, 0, 12345);
    Run(500);
    EXPECT_EQ(host_.writerStops.size(), 1u) << "no recording runs: nothing to stop";
    EXPECT_EQ(host_.progressEvents, progress);
}

struct CardKind {
    const char* name;
    uint32_t deviceType;
    int capture, qualityMpeg2;
    const char* vcodec;
    int width, height;
};

class CardKinds : public CaptureCard, public ::testing::WithParamInterface<CardKind> {};

TEST_P(CardKinds, PreviewAndRecording)
{
    const CardKind& k = GetParam();
    settings_.capture = k.capture;
    settings_.qualityMpeg2 = k.qualityMpeg2;
    UseCard(k.deviceType);
    ASSERT_TRUE(StartPreview()) << (host_.errors.empty() ? 0 : host_.errors[0]);
    Run(1500);
    EXPECT_GT(PicturesShown(), 0);
    RecordClip(std::string(k.name) + "-clip1.mpg", 2500, k.vcodec, k.width, k.height);
    Run(800);
    RecordClip(std::string(k.name) + "-clip2.mpg", 1500, k.vcodec, k.width, k.height);
    EXPECT_TRUE(host_.errors.empty()) << host_.errors[0];
}

INSTANTIATE_TEST_SUITE_P(Types, CardKinds,
                         ::testing::Values(CardKind{"type2", 2, 2, 1, "mpeg2video", 720, 576},
                                           CardKind{"type3", 3, 2, 1, "mpeg2video", 720, 576},
                                           CardKind{"type4", 4, 2, 1, "mpeg2video", 720, 576},
                                           // The codec-API encoder has no MPEG-1 mode: an MPEG-1
                                           // choice still previews and records MPEG-2.
                                           CardKind{"type4mpeg1", 4, 1, 1, "mpeg2video", 720, 576}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CaptureCard, ACodecApiCardTakesItsRatesThroughTheCodecInterface)
{
    // The DVD rate at constant rate: the peak the codec interface gets is the rate + 400000.
    settings_.capture = 2;
    settings_.qualityMpeg2 = 1;
    settings_.dvdBitrate = 3000000;
    settings_.forceCbr = true;
    UseCard(4);
    ASSERT_TRUE(StartPreview()) << (host_.errors.empty() ? 0 : host_.errors[0]);
    vcap::EncoderState state{};
    ASSERT_TRUE(vcap::LoadEncoderState(1, state));
    EXPECT_EQ(state.captureMode, 2u);
    EXPECT_EQ(state.params.bitRate, 3000000u);
    EXPECT_EQ(state.params.peakBitRate, 3400000u);
    Run(1000);
    RecordClip("type4-3mbps.mpg", 2000, "mpeg2video", 720, 576);
}

struct ProcessFigures {
    DWORD handles = 0;
    int threads = 0;
    SIZE_T privateBytes = 0;
};

ProcessFigures Measure()
{
    ProcessFigures f;
    GetProcessHandleCount(GetCurrentProcess(), &f.handles);
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 t{sizeof t};
    for (BOOL ok = Thread32First(snap, &t); ok; ok = Thread32Next(snap, &t))
        if (t.th32OwnerProcessID == GetCurrentProcessId())
            ++f.threads;
    CloseHandle(snap);
    PROCESS_MEMORY_COUNTERS m{};
    GetProcessMemoryInfo(GetCurrentProcess(), &m, sizeof m);
    f.privateBytes = m.PagefileUsage;
    return f;
}

TEST_F(CaptureCard, StartRecordStopReleaseCyclesLeaveNothingBehind)
{
    UseCard(1);
    auto cycle = [&](int n) {
        host_.captureMode = false;
        ASSERT_TRUE(StartPreview());
        Run(150);
        ASSERT_TRUE(graph_->SetCaptureFileName(OutputFile("cycle" + std::to_string(n) + ".mpg")));
        ASSERT_EQ(graph_->StartRecordingFromPreview(), S_OK);
        Run(300);
        ASSERT_TRUE(SUCCEEDED(graph_->StopRecordingKeepPreview()));
        ASSERT_TRUE(graph_->ReleaseCaptureGraph(true));
        EXPECT_FALSE(graph_->Built());
    };
    // The first cycles load the filters' modules and warm the process's caches.
    for (int i = 0; i < 3; ++i)
        cycle(i);
    Run(300);
    const ProcessFigures before = Measure();
    for (int i = 3; i < 23; ++i)
        cycle(i);
    Run(300);
    const ProcessFigures after = Measure();
    std::printf("20 cycles: handles %lu -> %lu, threads %d -> %d, committed %lu -> %lu KiB\n", before.handles,
                after.handles, before.threads, after.threads, static_cast<unsigned long>(before.privateBytes / 1024),
                static_cast<unsigned long>(after.privateBytes / 1024));
    // Wine does not count a process's handles; where the system does, they must not grow.
    if (before.handles != 0)
        EXPECT_LE(after.handles, before.handles + 10);
    EXPECT_GT(before.privateBytes, 0u);
    EXPECT_LE(after.threads, before.threads);
    EXPECT_LT(after.privateBytes, before.privateBytes + 8 * 1024 * 1024);
    for (int i = 0; i < 23; ++i)
        DeleteFileA(OutputFile("cycle" + std::to_string(i) + ".mpg").c_str());
}

}  // namespace
}  // namespace capturetest

namespace capturetest {
namespace {

TEST_F(CaptureCard, RecordingFromTheStartAndAStillOfThePreview)
{
    UseCard(1);
    const std::string file = OutputFile("from-start.mpg");
    DeleteFileA(file.c_str());
    ASSERT_TRUE(graph_->SetCaptureFileName(file));
    ASSERT_TRUE(StartPreview(true));
    EXPECT_TRUE(graph_->Recording());
    Run(2000);
    const double seconds = static_cast<double>(graph_->RecordedTime()) / 1e7;

    // The still goes to the temporary folder, whose pixels start where the header says.
    std::string still;
    ASSERT_EQ(graph_->GrabCaptureFrame(&still), S_OK);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    EXPECT_EQ(still.rfind(temp, 0), 0u) << still;
    HANDLE h = CreateFileA(still.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    DWORD got = 0;
    ReadFile(h, &fh, sizeof fh, &got, nullptr);
    ReadFile(h, &ih, sizeof ih, &got, nullptr);
    const DWORD size = GetFileSize(h, nullptr);
    CloseHandle(h);
    EXPECT_EQ(fh.bfType, 0x4D42);
    EXPECT_EQ(fh.bfSize, size);
    const DWORD colours = ih.biClrUsed ? ih.biClrUsed : ih.biBitCount <= 8 ? 1u << ih.biBitCount : 0u;
    const DWORD masks = ih.biCompression == BI_BITFIELDS ? 12u : 0u;
    EXPECT_EQ(fh.bfOffBits, sizeof fh + ih.biSize + masks + colours * 4);
    EXPECT_GT(ih.biWidth, 0);
    DeleteFileA(still.c_str());

    ASSERT_TRUE(SUCCEEDED(graph_->StopRecordingKeepPreview()));
    char line[300];
    std::snprintf(line, sizeof line, "from-start.mpg mpeg2video 720 576 %.2f", seconds);
    Manifest(line);
    graph_->ReleaseCaptureGraph(false);
    std::string none;
    EXPECT_EQ(graph_->GrabCaptureFrame(&none), E_FAIL) << "no preview, no still";
}

}  // namespace
}  // namespace capturetest
