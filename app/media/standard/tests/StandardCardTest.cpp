// Input selection and standard detection on a virtual card whose preview graph runs: routing
// with the sound, lock probes that leave the preview running, the standard that reaches the
// settings, the preferred variants, and the detection worker without its dialog.
#include "CardControl.h"
#include "CardPreview.h"
#include "CrossbarModel.h"
#include "DeviceCategories.h"
#include "DeviceFilters.h"
#include "ReadingRule.h"
#include "SourceDetection.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace standardtest;
using media::SourceDetection;

namespace {

// Crossbar inputs of the virtual card.
constexpr long kTunerIn = 0, kComposite1 = 1, kSVideo1 = 2, kComposite2 = 3, kSVideo2 = 4, kAux = 5, kComponent = 6;

class StandardCard : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(testsupport::RegisterTestBedFilters());
    }
    void SetUp() override
    {
        preview_ = std::make_unique<CardPreview>(::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::string error;
        ASSERT_TRUE(preview_->Start(&error)) << error;
        ASSERT_EQ(preview_->State(), State_Running);
    }
    void TearDown() override { preview_.reset(); }

    int StoredInt(const char* section, const char* entry) { return preview_->Store().GetInt(section, entry, -1); }
    int WaitForResult(DWORD timeoutMs)
    {
        const DWORD start = GetTickCount();
        while (SourceDetection::Instance().Result() == media::kSearching && GetTickCount() - start < timeoutMs)
            Sleep(10);
        return SourceDetection::Instance().Result();
    }

    std::unique_ptr<CardPreview> preview_;
};

// A live encoder link: what the encoder configuration would be told.
struct CountingEncoder : media::EncoderLink {
    int loads = 0, rates = 0, derived = 0;
    media::StandardPair lastPair;
    bool LoadDeviceState(media::StandardPair* pair) override
    {
        ++loads;
        pair->captureMode = 4;
        return true;
    }
    void ApplySamplingRate(IBaseFilter*) override { ++rates; }
    void Rederive(const media::StandardPair& pair) override
    {
        ++derived;
        lastPair = pair;
    }
};

}  // namespace

TEST_F(StandardCard, EverySourceRoutesItsPictureAndItsSound)
{
    media::VideoStandardEngine& engine = *preview_->engine;
    const struct {
        int source;
        long input;
    } cases[] = {{0, kSVideo1}, {1, kComposite1}, {2, kComposite2}, {3, kTunerIn}, {4, kSVideo2}, {5, kComponent}};
    for (const auto& c : cases) {
        ASSERT_EQ(engine.SetVideoSource(c.source), S_OK) << c.source;
        long video = -1, audio = -1;
        preview_->Route(&video, &audio);
        EXPECT_EQ(video, c.input) << c.source;
        EXPECT_EQ(audio, vcap::CrossbarInput(c.input).related) << "the sound follows source " << c.source;
        EXPECT_FALSE(engine.AudioRouteFailed()) << c.source;
        EXPECT_EQ(engine.CurrentSource(), c.source);
        EXPECT_EQ(preview_->State(), State_Running) << c.source;
    }
    EXPECT_EQ(engine.SetVideoSource(6), E_FAIL);
    EXPECT_EQ(engine.SetVideoSource(-1), E_FAIL);
    EXPECT_EQ(engine.CurrentSource(), 5) << "a refused source changes nothing";

    // A board whose sound cannot follow: the picture moves, the flag says the sound did not.
    ASSERT_TRUE(vcap::SetFixedAudio(1, true));
    long videoBefore = -1, audioBefore = -1;
    preview_->Route(&videoBefore, &audioBefore);
    ASSERT_EQ(engine.SetVideoSource(0), S_OK);
    long video = -1, audio = -1;
    preview_->Route(&video, &audio);
    EXPECT_EQ(video, kSVideo1);
    EXPECT_EQ(audio, audioBefore);
    EXPECT_TRUE(engine.AudioRouteFailed());
    ASSERT_TRUE(vcap::SetFixedAudio(1, false));
    ASSERT_EQ(engine.SetVideoSource(1), S_OK);
    EXPECT_FALSE(engine.AudioRouteFailed()) << "the flag describes the route in force";
    EXPECT_TRUE(preview_->host.errors.empty());
}

TEST_F(StandardCard, SecondCompositeCanBeTheAuxiliaryInput)
{
    media::StandardGraph g;
    g.crossbar = preview_->crossbar;
    g.capture = preview_->capture;
    g.control = preview_->control;
    g.secondCompositeIsAux = true;
    preview_->engine->Attach(std::move(g));
    ASSERT_EQ(preview_->engine->SetVideoSource(2), S_OK);
    long video = -1, audio = -1;
    preview_->Route(&video, &audio);
    EXPECT_EQ(video, kAux);
    long input = -1;
    EXPECT_EQ(preview_->engine->FindCrossbarInput(PhysConn_Video_SVideo, 3, &input), E_FAIL) << "no third S-Video socket";
    EXPECT_EQ(preview_->engine->FindCrossbarInput(PhysConn_Video_SVideo, 2, &input), S_OK);
    EXPECT_EQ(input, kSVideo2);
}

TEST_F(StandardCard, ALiveInputIsFoundAndItsStandardStored)
{
    OnlyLive(kSVideo1, 0x1);  // NTSC M on S-Video, after a PAL one
    preview_->settings.lastVidStd = 0x10;
    ASSERT_TRUE(vcap::ResetLockReads(1));
    const DWORD start = GetTickCount();
    EXPECT_TRUE(preview_->engine->CheckVidPresent(nullptr, 0));
    const DWORD took = GetTickCount() - start;
    std::printf("lock found on a live input after %lu ms, %u lock reads\n", took, vcap::ReadLockReads(1));
    EXPECT_LE(vcap::ReadLockReads(1), 11u);
    EXPECT_EQ(preview_->State(), State_Running);
    EXPECT_EQ(preview_->engine->CurrentSource(), 0) << "the input found stays chosen";
    EXPECT_EQ(preview_->settings.lastVidStd, 0x1);
    EXPECT_EQ(StoredInt("Capture", "Last VidStd"), 0x1);
    EXPECT_EQ(preview_->engine->Pair().captureStandard, 0);
    EXPECT_EQ(StoredInt("Custom\\Test", "CaptureStandard"), 0);
    EXPECT_GE(preview_->host.restarts, preview_->host.stops) << "every stop was followed by a run";
    EXPECT_TRUE(preview_->engine->IsHorizontallyLocked());
}

TEST_F(StandardCard, ADeadInputIsPolledAtMostTenTimesAndThePreviewRunsOn)
{
    OnlyLive(kComposite1);
    preview_->settings.lastVidStd = 0x10;
    const long before = preview_->DecoderStandard();
    ASSERT_TRUE(vcap::ResetLockReads(1));
    EXPECT_FALSE(preview_->engine->CheckVidPresent(nullptr, 4));
    const uint32_t reads = vcap::ReadLockReads(1);
    std::printf("dead input: %u lock reads\n", reads);
    EXPECT_GE(reads, 2u) << "one look, then the poll";
    EXPECT_LE(reads, 11u) << "one look and at most ten polls";
    EXPECT_EQ(preview_->State(), State_Running) << "a probe of a dead input must not freeze the preview";
    long video = -1, audio = -1;
    preview_->Route(&video, &audio);
    EXPECT_EQ(video, kComposite1) << "back on the input the window shows";
    EXPECT_EQ(audio, vcap::CrossbarInput(kComposite1).related);
    EXPECT_EQ(preview_->engine->CurrentSource(), 1);
    EXPECT_EQ(preview_->DecoderStandard(), before) << "and on its standard";
    EXPECT_EQ(StoredInt("Capture", "Last VidStd"), -1) << "nothing detected, nothing stored";
    EXPECT_EQ(preview_->host.autoRecordTimers, 0);
}

TEST_F(StandardCard, AutoRecordIsArmedOnlyWhenVideoIsFound)
{
    preview_->host.autoRecord = true;
    OnlyLive(kSVideo1);
    EXPECT_FALSE(preview_->engine->CheckVidPresent(nullptr, 5));
    EXPECT_EQ(preview_->host.autoRecordTimers, 0);
    EXPECT_TRUE(preview_->engine->CheckVidPresent(nullptr, 0));
    EXPECT_EQ(preview_->host.autoRecordTimers, 1) << "the probe restarted the graph: the timer starts the recording";
    EXPECT_FALSE(preview_->engine->TakeAutoRecordRequest());

    // Found on a stopped graph: the request waits for the next start.
    preview_->control->Stop();
    EXPECT_TRUE(preview_->engine->CheckVidPresent(nullptr, 0));
    EXPECT_EQ(preview_->host.autoRecordTimers, 1);
    EXPECT_TRUE(preview_->engine->TakeAutoRecordRequest());
    EXPECT_FALSE(preview_->engine->TakeAutoRecordRequest()) << "taken once";
}

TEST_F(StandardCard, ConfigAppliesThePreferredVariantsAndTellsTheEncoder)
{
    CountingEncoder encoder;
    preview_->engine->SetEncoderLink(&encoder);
    const framework::ProfileStore store = preview_->Store();
    const struct {
        long signal;
        int ntsc, pal;
        long applied;
        int captureStandard;
    } cases[] = {
        {0x10, 0, 0x1000, 0x1000, 1},  // PAL B, SECAM B preferred
        {0x10, 0, 0x20, 0x10, 1},      // PAL B, a PAL preference changes nothing
        {0x1, 0x2, 0, 0x2, 0},         // NTSC M, NTSC M J preferred
        {0, 0, 0, 0, 1},               // not detected, no preference: the decoder detects
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.applied);
        OnlyLive(kComposite1, c.signal);
        store.WriteInt("Capture", "NTSC Std", c.ntsc);
        store.WriteInt("Capture", "PAL Std", c.pal);
        preview_->settings.lastVidStd = 0x40000;
        ASSERT_EQ(preview_->engine->ConfigWDMFilters(nullptr), S_OK);
        EXPECT_EQ(preview_->DecoderStandard(), c.applied);
        EXPECT_EQ(preview_->engine->Pair().captureStandard, c.captureStandard);
        EXPECT_EQ(StoredInt("Custom\\Test", "CaptureStandard"), c.captureStandard);
        EXPECT_EQ(StoredInt("Capture", "Last VidStd"), c.applied != 0 ? c.applied : -1);
        EXPECT_EQ(encoder.lastPair.captureStandard, c.captureStandard) << "the encoder block follows the standard";
        EXPECT_EQ(encoder.lastPair.captureMode, 4) << "the device's own mode";
        EXPECT_EQ(preview_->State(), State_Running);
        store.DeleteEntry("Capture", "Last VidStd");
    }
    EXPECT_EQ(encoder.derived, 4);
    EXPECT_EQ(encoder.rates, 8) << "the card has a \"Virtual Video Out\" pin: before and after";
    preview_->engine->SetEncoderLink(nullptr);
}

TEST_F(StandardCard, AnUndetectedStandardFallsBackToTheLastOne)
{
    OnlyLive(kComposite2, 0);
    preview_->settings.lastVidStd = 0x1;
    ASSERT_EQ(preview_->engine->SetVideoSource(2), S_OK);
    EXPECT_EQ(preview_->DecoderStandard(), 0x1);
    long standard = 0;
    EXPECT_EQ(preview_->engine->GetCurrentVidDecVidStd(&standard), S_OK);
    EXPECT_EQ(standard, 0x1);

    ASSERT_EQ(preview_->engine->SetCurrentVidDecVidStd(0x1000), S_OK);
    EXPECT_EQ(preview_->DecoderStandard(), 0x1000);
    EXPECT_EQ(StoredInt("Capture", "Last VidStd"), 0x1000);
    EXPECT_EQ(StoredInt("Custom\\Test", "CaptureStandard"), 1);
    media::StandardPair pair;
    EXPECT_EQ(preview_->engine->RefreshVideoStandard(&pair), S_OK);
    EXPECT_EQ(pair.captureStandard, 1);
    EXPECT_EQ(preview_->State(), State_Running);
}

TEST_F(StandardCard, TheBoardsStandardsAreOffered)
{
    ASSERT_TRUE(vcap::SetAvailableStandards(1, 0x1 | 0x8 | 0x10 | 0x40 | 0x1000));
    EXPECT_EQ(preview_->engine->GetSupportedVideoStandards(), (std::vector<long>{0, 0x1, 0x10, 0x1000}));
    EXPECT_EQ(preview_->engine->SetCurrentVidDecVidStd(0x20), E_INVALIDARG) << "not on this board";
    preview_->engine->Detach();
    EXPECT_EQ(preview_->engine->GetSupportedVideoStandards(), (std::vector<long>{0, 1, 2})) << "no capture filter";
    EXPECT_FALSE(preview_->engine->CheckVidPresent(nullptr, 0)) << "no graph, no probe";
}

TEST_F(StandardCard, FindVideoSourceTakesTheFirstLiveInputInListOrder)
{
    OnlyLive(kSVideo2);
    int found = -1;
    ASSERT_EQ(preview_->engine->FindVideoSource(nullptr, &found, false), S_OK);
    EXPECT_EQ(found, 4);
    vcap::SetSignal(1, false);
    EXPECT_EQ(preview_->engine->FindVideoSource(nullptr, &found, false), E_FAIL);
    EXPECT_EQ(preview_->State(), State_Running);
}

TEST_F(StandardCard, DetectionOverOnlyTheTunerAndTheCurrentSourceEndsAtOnce)
{
    ASSERT_TRUE(vcap::ResetLockReads(1));
    SourceDetection& detection = SourceDetection::Instance();
    const DWORD start = GetTickCount();
    const unsigned id = detection.Begin({3, 1});
    ASSERT_TRUE(detection.StartWorker(id, preview_->engine, false));
    EXPECT_EQ(WaitForResult(5000), media::kNothingFound);
    std::printf("empty search ended after %lu ms\n", GetTickCount() - start);
    EXPECT_EQ(vcap::ReadLockReads(1), 0u) << "nothing was probed";
    EXPECT_EQ(preview_->host.stops, 0) << "the preview was never stopped";
    EXPECT_TRUE(detection.WaitForWorkers(1500));
}

TEST_F(StandardCard, DetectionFindsTheLiveInputAndGoesBackToTheCurrentOne)
{
    OnlyLive(kComponent, 0x1);
    SourceDetection& detection = SourceDetection::Instance();
    const unsigned id = detection.Begin({0, 1, 2, 4, 3, 5});
    ASSERT_TRUE(detection.StartWorker(id, preview_->engine, false));
    EXPECT_EQ(WaitForResult(20000), 5);
    EXPECT_TRUE(detection.WaitForWorkers(1500));
    long video = -1, audio = -1;
    preview_->Route(&video, &audio);
    EXPECT_EQ(video, kComposite1) << "the window still shows composite";
    EXPECT_EQ(preview_->engine->CurrentSource(), 1);
    EXPECT_EQ(preview_->State(), State_Running);
    EXPECT_EQ(preview_->engine->Pair().captureStandard, 1) << "the probe's NTSC did not stay with the PAL preview";
}

TEST_F(StandardCard, ACancelledSearchIgnoresItsLateResultAndATeardownWaitsForIt)
{
    OnlyLive(kComponent);
    SourceDetection& detection = SourceDetection::Instance();
    const unsigned id = detection.Begin({0, 2, 4, 5});
    ASSERT_TRUE(detection.StartWorker(id, preview_->engine, false));
    Sleep(300);  // inside the first probe
    detection.Cancel();
    EXPECT_EQ(detection.Result(), media::kSearching);
    const DWORD start = GetTickCount();
    EXPECT_TRUE(preview_->engine->Detach(media::kTeardownWaitMs)) << "the probe in progress ends within the bound";
    std::printf("teardown waited %lu ms for the probe in progress\n", GetTickCount() - start);
    EXPECT_TRUE(detection.WaitForWorkers(1500));
    EXPECT_EQ(detection.Result(), media::kSearching) << "the cancelled search never answers";
    EXPECT_EQ(preview_->State(), State_Running);
}

TEST_F(StandardCard, TheTunersStandardReachesTunerAndDecoder)
{
    media::StandardGraph g;
    g.crossbar = preview_->crossbar;
    g.capture = preview_->capture;
    g.control = preview_->control;
    int added = 0;
    const vcap::CardRecord card = preview_->card;
    g.addTuner = [&added, card] {
        ++added;
        const std::wstring& path = card.paths[static_cast<int>(vcap::FilterRole::Tuner)];
        win::ComPtr<IBaseFilter> tuner;
        devices::FindDeviceFilter(devices::kCategoryTvTuner, nullptr, std::string(path.begin(), path.end()).c_str(),
                                  tuner.Put(), nullptr);
        return win::ComPtr<IBaseFilter>::Share(tuner.Get());
    };
    preview_->engine->Attach(std::move(g));
    ASSERT_EQ(preview_->engine->SetVideoSource(3), S_OK);
    ASSERT_EQ(preview_->engine->SetCurrentVidDecVidStd(0x10), S_OK);
    preview_->host.channelStandard = 0x10;

    ASSERT_EQ(preview_->engine->SetTunerVidStd(0x1000), S_OK);
    EXPECT_EQ(added, 1) << "the tuner was added when it was missing";
    EXPECT_EQ(preview_->DecoderStandard(), 0x1000) << "the tuner is the source: the decoder follows";
    const int stops = preview_->host.stops;
    EXPECT_EQ(preview_->engine->SetTunerVidStd(0x1000), S_OK);
    EXPECT_EQ(preview_->host.stops, stops) << "the same standard again changes nothing";
    EXPECT_TRUE(FAILED(preview_->engine->SetTunerVidStd(0x4))) << "NTSC 4.43 is no broadcast standard of this tuner";
    EXPECT_EQ(preview_->State(), State_Running);
    EXPECT_EQ(preview_->settings.lastVidStd, 1) << "the tuner's standard belongs to the channel";
}
