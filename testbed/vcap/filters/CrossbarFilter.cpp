#include "CrossbarFilter.h"

#include "CardControl.h"

#include <uuids.h>

namespace vcap {

dshow::INonDelegatingUnknown* CrossbarFilter::Create(IUnknown* outer, HRESULT* hr)
{
    auto* f = new (std::nothrow) CrossbarFilter(outer);
    *hr = f ? S_OK : E_OUTOFMEMORY;
    return f;
}

CrossbarFilter::CrossbarFilter(IUnknown* outer)
    : CardFilter(outer, *Role(FilterRole::Crossbar).filterClsid, FilterRole::Crossbar)
{
}

HRESULT STDMETHODCALLTYPE CrossbarFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IAMCrossbar)
        return GetInterface(static_cast<IAMCrossbar*>(this), out);
    return CardFilter::NonDelegatingQueryInterface(iid, out);
}

void CrossbarFilter::OnCardKnown()
{
    // Pins in IAMCrossbar order: the inputs, then the two decoder outputs.
    for (long i = 0; i < kCrossbarInputs; ++i) {
        const bool video = IsVideoInput(i);
        const Wire wire = i == kTunerVideoInput ? Wire::TunerVideo
                          : i == CrossbarInput(kTunerVideoInput).related ? Wire::TvAudioOut
                                                                         : Wire::Connector;
        AddAnalogPin(CrossbarInput(i).name, PINDIR_INPUT, video ? MEDIATYPE_AnalogVideo : MEDIATYPE_AnalogAudio, wire);
    }
    AddAnalogPin(CrossbarOutput(kVideoOutput).name, PINDIR_OUTPUT, MEDIATYPE_AnalogVideo, Wire::CrossbarVideo);
    AddAnalogPin(CrossbarOutput(kAudioOutput).name, PINDIR_OUTPUT, MEDIATYPE_AnalogAudio, Wire::CrossbarAudio);
}

CrossbarModel CrossbarFilter::CurrentRoute() const
{
    CrossbarModel m;
    long video = kDefaultVideoInput, audio = CrossbarInput(kDefaultVideoInput).related;
    ReadRoute(cardNumber_, video, audio);
    m.Restore(video, audio);
    return m;
}

STDMETHODIMP CrossbarFilter::get_PinCounts(long* outputs, long* inputs)
{
    if (!outputs || !inputs)
        return E_POINTER;
    *outputs = kCrossbarOutputs;
    *inputs = kCrossbarInputs;
    return S_OK;
}

STDMETHODIMP CrossbarFilter::CanRoute(long output, long input)
{
    if (output < 0 || output >= kCrossbarOutputs || input < -1 || input >= kCrossbarInputs)
        return E_INVALIDARG;
    return CrossbarModel::CanRoute(output, input) ? S_OK : S_FALSE;
}

STDMETHODIMP CrossbarFilter::Route(long output, long input)
{
    if (output < 0 || output >= kCrossbarOutputs || input < -1 || input >= kCrossbarInputs)
        return E_INVALIDARG;
    win::AutoLock lock(*FilterLock());
    if (!HasCard())
        return E_UNEXPECTED;
    CrossbarModel m = CurrentRoute();
    const bool fixedAudio = ReadFixedAudio(cardNumber_);
    if (fixedAudio && output == kAudioOutput && input != m.RoutedTo(kAudioOutput))
        return VFW_E_CANNOT_CONNECT;  // a board without an audio switch
    const long audio = m.RoutedTo(kAudioOutput);
    if (!m.Route(output, input))
        return VFW_E_CANNOT_CONNECT;
    if (fixedAudio)
        m.Restore(m.RoutedTo(kVideoOutput), audio);
    if (!WriteRoute(cardNumber_, m.RoutedTo(kVideoOutput), m.RoutedTo(kAudioOutput)))
        return E_FAIL;
    return S_OK;
}

STDMETHODIMP CrossbarFilter::get_IsRoutedTo(long output, long* input)
{
    if (!input)
        return E_POINTER;
    if (output < 0 || output >= kCrossbarOutputs)
        return E_INVALIDARG;
    win::AutoLock lock(*FilterLock());
    if (!HasCard())
        return E_UNEXPECTED;
    *input = CurrentRoute().RoutedTo(output);
    return S_OK;
}

STDMETHODIMP CrossbarFilter::get_CrossbarPinInfo(BOOL isInput, long index, long* related, long* physicalType)
{
    if (!related || !physicalType)
        return E_POINTER;
    if (index < 0 || index >= (isInput ? kCrossbarInputs : kCrossbarOutputs))
        return E_INVALIDARG;
    const CrossbarPin& p = isInput ? CrossbarInput(index) : CrossbarOutput(index);
    *related = p.related;
    *physicalType = p.physicalType;
    return S_OK;
}

}  // namespace vcap
