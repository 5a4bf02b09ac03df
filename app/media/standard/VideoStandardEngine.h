#pragma once
// Input selection and video standard detection on the capture graph: routes the crossbar to a
// source with its sound, finds out whether a signal is present, detects and applies the
// standard on decoder and tuner, and keeps it in the settings. Every probe may stop and run the
// graph; it always leaves the graph running when it found it running.
#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include <framework/ProfileStore.h>

#include "CaptureSettings.h"
#include "GraphPause.h"
#include "ProbeGuard.h"
#include "StandardHost.h"
#include "StandardRules.h"
#include "win/ComPtr.h"

namespace media {

// The filters of the capture graph this code works on, handed over once the front end is built.
struct StandardGraph {
    win::ComPtr<IBaseFilter> crossbar;
    win::ComPtr<IBaseFilter> capture;
    win::ComPtr<IBaseFilter> tuner;
    win::ComPtr<IMediaControl> control;
    // Adds the tuner filter when the graph has none yet; may be empty.
    std::function<win::ComPtr<IBaseFilter>()> addTuner;
    // Source 2 is the first auxiliary input instead of the second composite input.
    bool secondCompositeIsAux = false;
};

// What a search changes and puts back: the route, the decoder's standard and the stored ones.
struct SourceSnapshot {
    int source = 0;
    long decoderStandard = 0;
    int lastVidStd = 1;
    int captureStandard = 1;
};

constexpr DWORD kProbeWaitMs = 5000;     // a prober waits this long for another to finish
constexpr DWORD kTeardownWaitMs = 1500;  // a teardown waits this long for a finishing prober

class VideoStandardEngine {
public:
    // `settings` is the main window's record; the engine keeps "Last VidStd" and the template's
    // "CaptureStandard" in it and in `store` as they change.
    VideoStandardEngine(framework::ProfileStore store, settings::CaptureSettings* settings);
    ~VideoStandardEngine();
    VideoStandardEngine(const VideoStandardEngine&) = delete;
    VideoStandardEngine& operator=(const VideoStandardEngine&) = delete;

    void SetHost(StandardHost* host) { host_.Set(host); }
    void SetEncoderLink(EncoderLink* link) { encoder_ = link; }
    void Attach(StandardGraph graph);
    // Before the graph is torn down or rebuilt: probers are told to stop and the one in progress
    // is waited for (bounded). False when it did not finish in time; it keeps its own references.
    bool Detach(DWORD waitMs = kTeardownWaitMs);
    ProbeGuard& Guard() { return guard_; }

    // The crossbar input of a connector type, n = 1 for the first.
    HRESULT FindCrossbarInput(long physicalType, int nth, long* input);
    HRESULT SetVideoSource(int source);
    bool CheckVidPresent(IBaseFilter* capture, int source);
    bool IsHorizontallyLocked();
    HRESULT FindVideoSource(IBaseFilter* capture, int* source, bool includeTuner);
    std::vector<long> GetSupportedVideoStandards();
    HRESULT ConfigWDMFilters(IBaseFilter* capture);
    HRESULT GetCurrentVidDecVidStd(long* standard);
    HRESULT SetCurrentVidDecVidStd(long standard);
    HRESULT SetTunerVidStd(long standard);
    HRESULT RefreshVideoStandard(StandardPair* pair);

    SourceSnapshot Snapshot();
    // Puts a snapshot back (route, decoder standard, stored standards) without detecting.
    void Restore(const SourceSnapshot& snapshot);

    int CurrentSource() const { return source_.load(); }
    // The window's source before any routing (settings "Source").
    void SetCurrentSource(int source) { source_ = source; }
    bool AudioRouteFailed() const { return audioRouteFailed_.load(); }
    StandardPair Pair() const;
    void SetPair(const StandardPair& pair);
    // The auto-record request left by a probe that found video while the graph was not running;
    // taking it clears it.
    bool TakeAutoRecordRequest() { return autoRecordRequest_.exchange(false); }
    // Tests step time with their own clock.
    void SetClock(LockPollClock clock) { clock_ = std::move(clock); }

private:
    std::shared_ptr<const StandardGraph> Graph() const;
    HRESULT FindInputOn(const StandardGraph& g, long physicalType, int nth, long* input);
    HRESULT RouteSource(const StandardGraph& g, int source);
    void FollowWithAudio(IAMCrossbar* crossbar);
    void ResetDecoderStandard(IAMAnalogVideoDecoder* decoder);
    bool CheckVidPresentHeld(const StandardGraph& g, IBaseFilter* capture, int source);
    // Resets the decoder (put 0) and reads it at once up to 10 times; the first standard it
    // reports is put back. Returns the reads made.
    int ResetAndReadBack(IAMAnalogVideoDecoder* decoder, long* standard);
    void StoreStandard(int source, long standard);
    void StoreCaptureStandard(int captureStandard);
    void Report(int textId, HRESULT hr);
    bool HasVirtualVideoOut(IBaseFilter* capture) const;

    mutable win::CritSec lock_;
    std::shared_ptr<const StandardGraph> graph_;
    HostAccess host_;
    EncoderLink* encoder_ = nullptr;
    ProbeGuard guard_;
    framework::ProfileStore store_;
    settings::CaptureSettings* settings_;
    std::atomic<int> source_{0};
    std::atomic<bool> audioRouteFailed_{false};
    std::atomic<bool> autoRecordRequest_{false};
    StandardPair pair_;
    LockPollClock clock_ = SystemClock();
};

// The analog video decoder of a capture filter, empty when it has none.
win::ComPtr<IAMAnalogVideoDecoder> DecoderOf(IBaseFilter* capture);

}  // namespace media
