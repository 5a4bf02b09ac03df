// The engine's life with a graph, the settings it keeps, and signal presence.
#include "VideoStandardEngine.h"

#include <optional>

#include "PinFinders.h"
#include "ReadingRule.h"
#include "Trace.h"
#include "VideoSources.h"

namespace media {

VideoStandardEngine::VideoStandardEngine(framework::ProfileStore store, settings::CaptureSettings* settings)
    : store_(std::move(store)), settings_(settings)
{
    source_ = settings_->source;
}

VideoStandardEngine::~VideoStandardEngine()
{
    Detach();
}

void VideoStandardEngine::Attach(StandardGraph graph)
{
    auto shared = std::make_shared<const StandardGraph>(std::move(graph));
    win::AutoLock lock(lock_);
    graph_ = std::move(shared);
}

bool VideoStandardEngine::Detach(DWORD waitMs)
{
    const bool free = guard_.StopProbers(waitMs);
    {
        win::AutoLock lock(lock_);
        graph_.reset();
    }
    if (free)
        guard_.Leave();
    else
        DebugLine("a signal probe was still running when its graph went away");
    return free;
}

std::shared_ptr<const StandardGraph> VideoStandardEngine::Graph() const
{
    win::AutoLock lock(lock_);
    return graph_;
}

StandardPair VideoStandardEngine::Pair() const
{
    win::AutoLock lock(lock_);
    return pair_;
}

void VideoStandardEngine::SetPair(const StandardPair& pair)
{
    win::AutoLock lock(lock_);
    pair_ = pair;
}

void VideoStandardEngine::StoreStandard(int source, long standard)
{
    if (source == kTunerSource) {
        host_.Call([&](StandardHost& h) { h.StoreChannelStandard(standard); });
        return;
    }
    // 0 only says that the decoder searches; the last real standard is worth more.
    if (standard == 0)
        return;
    win::AutoLock lock(lock_);
    if (settings_->lastVidStd == standard)
        return;
    settings_->lastVidStd = static_cast<int>(standard);
    store_.WriteInt("Capture", "Last VidStd", static_cast<int>(standard));
}

void VideoStandardEngine::StoreCaptureStandard(int captureStandard)
{
    win::AutoLock lock(lock_);
    pair_.captureStandard = captureStandard;
    settings_->custom.captureStandard = captureStandard;
    if (!settings_->templateSection.empty())
        store_.WriteInt(settings_->templateSection.c_str(), "CaptureStandard", captureStandard);
}

bool VideoStandardEngine::IsHorizontallyLocked()
{
    const std::shared_ptr<const StandardGraph> g = Graph();
    const win::ComPtr<IAMAnalogVideoDecoder> decoder = DecoderOf(g ? g->capture.Get() : nullptr);
    long locked = 0;
    return decoder && SUCCEEDED(decoder->get_HorizontalLocked(&locked)) && locked != 0;
}

bool VideoStandardEngine::CheckVidPresent(IBaseFilter* capture, int source)
{
    const std::shared_ptr<const StandardGraph> g = Graph();
    if (!g)
        return false;
    ProbeLease lease(guard_, kProbeWaitMs);
    if (!lease.Held()) {
        DebugLine("another signal probe holds the graph");
        return false;
    }
    return CheckVidPresentHeld(*g, capture, source);
}

bool VideoStandardEngine::CheckVidPresentHeld(const StandardGraph& g, IBaseFilter* captureArg, int source)
{
    IBaseFilter* capture = captureArg ? captureArg : g.capture.Get();
    const win::ComPtr<IAMAnalogVideoDecoder> decoder = DecoderOf(capture);
    const int previousSource = source_;
    long previousStandard = 0;
    if (decoder)
        decoder->get_TVFormat(&previousStandard);
    const bool switched = source != previousSource;
    if (switched && FAILED(SetVideoSource(source)))
        return false;

    std::optional<GraphPause> pause;
    bool present = false;
    long lines = 0;
    if (decoder) {
        long locked = 0;
        present = SUCCEEDED(decoder->get_HorizontalLocked(&locked)) && locked != 0;
        decoder->get_NumberOfLines(&lines);
        if (!present) {
            const DWORD start = clock_.now();
            // The decoder searches only from a reset, which the driver takes while stopped.
            if (source != kTunerSource) {
                pause.emplace(g.control.Get(), host_);
                if (pause->Stopped())
                    decoder->put_TVFormat(0);
            }
            IAMAnalogVideoDecoder* d = decoder.Get();
            const auto readLock = [d] {
                long l = 0;
                return SUCCEEDED(d->get_HorizontalLocked(&l)) && l != 0;
            };
            present = PollForLock(readLock, clock_, start).locked;
        }
    }
    const bool stoppedHere = pause && pause->StoppedHere();
    const bool reset = pause && pause->Stopped();

    const bool capturing = host_.Ask(false, [](StandardHost& h) { return h.InCaptureMode(); });
    if (capturing && ((present && g.control) || source == kTunerSource)) {
        long standard = 0;
        if (source == kTunerSource)
            standard = host_.Ask(0L, [](StandardHost& h) { return h.ChannelStandard(); });
        else if (decoder)
            decoder->get_TVFormat(&standard);
        StoreStandard(source, standard);
        StoreCaptureStandard(CaptureStandardOf(standard));
    }
    if (!present && decoder) {
        // Nothing found: the device goes back to the input and standard it had.
        if (switched)
            RouteSource(g, previousSource);
        if (switched || reset)
            decoder->put_TVFormat(previousStandard);
    }
    if (pause)
        pause->Resume();

    if (present && host_.Ask(false, [](StandardHost& h) { return h.AutoRecordWanted(); })) {
        OAFilterState state = State_Stopped;
        if (ReadGraphState(g.control.Get(), &state)) {
            if (stoppedHere)
                host_.Call([](StandardHost& h) { h.StartAutoRecordTimer(); });
            else
                autoRecordRequest_ = true;
        }
    }
    DebugLine("source %d: %s (%ld lines)", source, present ? "video present" : "no video", lines);
    return present;
}

HRESULT VideoStandardEngine::FindVideoSource(IBaseFilter* capture, int* source, bool includeTuner)
{
    if (!source)
        return E_POINTER;
    const std::shared_ptr<const StandardGraph> g = Graph();
    if (!g)
        return E_FAIL;
    ProbeLease lease(guard_, kProbeWaitMs);
    if (!lease.Held())
        return E_FAIL;
    VideoSourceList list;
    const HRESULT hr = ListVideoSources(g->crossbar.Get(), &list);
    if (FAILED(hr) && g->crossbar)
        Report(kCrossbarPinCountsText, hr);
    for (int i = 0; i < list.count; ++i) {
        const int candidate = list.sources[static_cast<size_t>(i)];
        bool probed = false;
        for (int j = 0; j < i; ++j)
            probed = probed || list.sources[static_cast<size_t>(j)] == candidate;
        if (probed || (candidate == kTunerSource && !includeTuner))
            continue;
        if (CheckVidPresentHeld(*g, capture, candidate)) {
            *source = candidate;
            return S_OK;
        }
    }
    return E_FAIL;
}

SourceSnapshot VideoStandardEngine::Snapshot()
{
    SourceSnapshot s;
    s.source = source_;
    const std::shared_ptr<const StandardGraph> g = Graph();
    if (const win::ComPtr<IAMAnalogVideoDecoder> decoder = DecoderOf(g ? g->capture.Get() : nullptr))
        decoder->get_TVFormat(&s.decoderStandard);
    win::AutoLock lock(lock_);
    s.lastVidStd = settings_->lastVidStd;
    s.captureStandard = pair_.captureStandard;
    return s;
}

void VideoStandardEngine::Restore(const SourceSnapshot& snapshot)
{
    const std::shared_ptr<const StandardGraph> g = Graph();
    if (!g)
        return;
    ProbeLease lease(guard_, kProbeWaitMs);
    {
        GraphPause pause(g->control.Get(), host_);
        if (source_ != snapshot.source)
            RouteSource(*g, snapshot.source);
        if (const win::ComPtr<IAMAnalogVideoDecoder> decoder = DecoderOf(g->capture.Get()))
            decoder->put_TVFormat(snapshot.decoderStandard);
    }
    {
        win::AutoLock lock(lock_);
        if (settings_->lastVidStd != snapshot.lastVidStd) {
            settings_->lastVidStd = snapshot.lastVidStd;
            store_.WriteInt("Capture", "Last VidStd", snapshot.lastVidStd);
        }
    }
    StoreCaptureStandard(snapshot.captureStandard);
}

bool VideoStandardEngine::HasVirtualVideoOut(IBaseFilter* capture) const
{
    return FindPinByName(capture, L"Virtual Video Out") || FindPinByName(capture, L"Video Virtual Out");
}

}  // namespace media
