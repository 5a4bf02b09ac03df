// Choosing the input: the crossbar route of a source, the sound that follows it, and the
// decoder reset that goes with a new input.
#include "VideoStandardEngine.h"

#include "Trace.h"

namespace media {

namespace {

win::ComPtr<IAMCrossbar> CrossbarOf(IBaseFilter* filter)
{
    win::ComPtr<IAMCrossbar> crossbar;
    if (filter)
        filter->QueryInterface(IID_IAMCrossbar, crossbar.PutVoid());
    return crossbar;
}

// Routes `input` to the first output that can take it.
HRESULT RouteToFirstOutput(IAMCrossbar* crossbar, long input)
{
    long outputs = 0, inputs = 0;
    HRESULT hr = crossbar->get_PinCounts(&outputs, &inputs);
    if (FAILED(hr))
        return hr;
    for (long out = 0; out < outputs; ++out) {
        if (crossbar->CanRoute(out, input) == S_OK)
            return crossbar->Route(out, input);
    }
    return E_FAIL;
}

}  // namespace

win::ComPtr<IAMAnalogVideoDecoder> DecoderOf(IBaseFilter* capture)
{
    win::ComPtr<IAMAnalogVideoDecoder> decoder;
    if (capture)
        capture->QueryInterface(IID_IAMAnalogVideoDecoder, decoder.PutVoid());
    return decoder;
}

void VideoStandardEngine::Report(int textId, HRESULT hr)
{
    host_.Call([&](StandardHost& h) { h.ReportError(textId, hr); });
}

HRESULT VideoStandardEngine::FindCrossbarInput(long physicalType, int nth, long* input)
{
    const std::shared_ptr<const StandardGraph> g = Graph();
    return g ? FindInputOn(*g, physicalType, nth, input) : E_FAIL;
}

HRESULT VideoStandardEngine::FindInputOn(const StandardGraph& g, long physicalType, int nth, long* input)
{
    if (!input)
        return E_POINTER;
    const win::ComPtr<IAMCrossbar> crossbar = CrossbarOf(g.crossbar.Get());
    if (!crossbar)
        return E_FAIL;
    long outputs = 0, inputs = 0;
    HRESULT hr = crossbar->get_PinCounts(&outputs, &inputs);
    if (FAILED(hr)) {
        Report(kCrossbarPinCountsText, hr);
        return TraceFailure("IAMCrossbar::get_PinCounts", hr);
    }
    int seen = 0;
    for (long i = 0; i < inputs; ++i) {
        long related = -1, type = 0;
        if (FAILED(hr = crossbar->get_CrossbarPinInfo(TRUE, i, &related, &type))) {
            Report(kCrossbarPinInfoText, hr);
            return TraceFailure("IAMCrossbar::get_CrossbarPinInfo", hr);
        }
        if (type == physicalType && ++seen == nth) {
            *input = i;
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT VideoStandardEngine::SetVideoSource(int source)
{
    const std::shared_ptr<const StandardGraph> g = Graph();
    if (!g)
        return E_FAIL;
    const HRESULT hr = RouteSource(*g, source);
    if (FAILED(hr) || source == kTunerSource)
        return hr;
    // The driver takes a new standard only while its graph is stopped.
    GraphPause pause(g->control.Get(), host_);
    if (const win::ComPtr<IAMAnalogVideoDecoder> decoder = DecoderOf(g->capture.Get()))
        ResetDecoderStandard(decoder.Get());
    return S_OK;
}

HRESULT VideoStandardEngine::RouteSource(const StandardGraph& g, int source)
{
    SourceInput wanted;
    if (!InputForSource(source, g.secondCompositeIsAux, &wanted))
        return E_FAIL;
    long input = -1;
    HRESULT hr = FindInputOn(g, wanted.physicalType, wanted.nth, &input);
    if (FAILED(hr))
        return E_FAIL;
    const win::ComPtr<IAMCrossbar> crossbar = CrossbarOf(g.crossbar.Get());
    if (FAILED(hr = RouteToFirstOutput(crossbar.Get(), input))) {
        Report(kCrossbarRouteText, hr);
        return TraceFailure("IAMCrossbar::Route", hr);
    }
    source_ = source;
    FollowWithAudio(crossbar.Get());
    return S_OK;
}

void VideoStandardEngine::FollowWithAudio(IAMCrossbar* crossbar)
{
    long video = -1, related = -1, type = 0, routed = -1;
    const bool followed = SUCCEEDED(crossbar->get_IsRoutedTo(0, &video)) &&
                          SUCCEEDED(crossbar->get_CrossbarPinInfo(TRUE, video, &related, &type)) &&
                          SUCCEEDED(RouteToFirstOutput(crossbar, related)) &&
                          SUCCEEDED(crossbar->get_IsRoutedTo(1, &routed)) && routed == related;
    if (!followed)
        DebugLine("the sound of crossbar input %ld could not follow its picture", video);
    audioRouteFailed_ = !followed;
}

void VideoStandardEngine::ResetDecoderStandard(IAMAnalogVideoDecoder* decoder)
{
    long standard = 0;
    HRESULT hr = decoder->put_TVFormat(0);
    if (SUCCEEDED(hr))
        hr = decoder->get_TVFormat(&standard);
    if (FAILED(hr))
        TraceFailure("IAMAnalogVideoDecoder TV format reset", hr);
    if (standard == 0) {
        win::AutoLock lock(lock_);
        standard = settings_->lastVidStd;
    }
    if (FAILED(hr = decoder->put_TVFormat(standard)))
        TraceFailure("IAMAnalogVideoDecoder::put_TVFormat", hr);
}

}  // namespace media
