// Detecting and applying the standard: decoder resets, the preferred variants, the tuner's
// standard, and what the encoder configuration must learn of it.
#include "VideoStandardEngine.h"

#include <ks.h>
#include <ksmedia.h>

#include "ReadingRule.h"
#include "Trace.h"

namespace media {

namespace {

const GUID kPropSetTuner = {0x6A2E0605, 0x28E4, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0xC9, 0x11, 0x89, 0x56}};

bool ReadLock(IAMAnalogVideoDecoder* decoder, bool* locked)
{
    long value = 0;
    if (FAILED(decoder->get_HorizontalLocked(&value)))
        return false;
    *locked = value != 0;
    return true;
}

}  // namespace

std::vector<long> VideoStandardEngine::GetSupportedVideoStandards()
{
    const std::shared_ptr<const StandardGraph> g = Graph();
    const win::ComPtr<IAMAnalogVideoDecoder> decoder = DecoderOf(g ? g->capture.Get() : nullptr);
    long available = 0;
    if (!decoder || FAILED(decoder->get_AvailableTVFormats(&available)))
        return SupportedStandardsWithoutDecoder();
    return SupportedStandards(available);
}

int VideoStandardEngine::ResetAndReadBack(IAMAnalogVideoDecoder* decoder, long* standard)
{
    *standard = 0;
    HRESULT hr = decoder->put_TVFormat(0);
    if (FAILED(hr))
        TraceFailure("IAMAnalogVideoDecoder::put_TVFormat(0)", hr);
    int reads = 0;
    while (reads < kMaxLockReads) {
        ++reads;
        long value = 0;
        if (SUCCEEDED(decoder->get_TVFormat(&value)) && value != 0) {
            if (FAILED(hr = decoder->put_TVFormat(value)))
                TraceFailure("IAMAnalogVideoDecoder::put_TVFormat", hr);
            *standard = value;
            break;
        }
    }
    return reads;
}

HRESULT VideoStandardEngine::ConfigWDMFilters(IBaseFilter* captureArg)
{
    const std::shared_ptr<const StandardGraph> g = Graph();
    IBaseFilter* capture = captureArg ? captureArg : g ? g->capture.Get() : nullptr;
    const win::ComPtr<IAMAnalogVideoDecoder> decoder = DecoderOf(capture);
    if (!g || !decoder)
        return E_FAIL;
    ProbeLease lease(guard_, kProbeWaitMs);
    if (!lease.Held())
        return E_FAIL;
    const bool virtualPins = HasVirtualVideoOut(capture);
    if (encoder_) {
        StandardPair pair = Pair();
        if (encoder_->LoadDeviceState(&pair))
            SetPair(pair);
        if (virtualPins) {
            encoder_->ApplySamplingRate(capture);
            SetVideoSource(source_);
        }
    }
    const int source = source_;
    long standard = 0;
    if (source != kTunerSource) {
        {
            GraphPause pause(g->control.Get(), host_);
            ResetAndReadBack(decoder.Get(), &standard);
        }
        for (int pass = 0; pass < kMaxLockReads && standard == 0; ++pass) {
            bool locked = false;
            if (!ReadLock(decoder.Get(), &locked))
                break;
            if (locked)
                decoder->get_TVFormat(&standard);
            if (standard == 0)
                clock_.sleep(kLockPollSleepMs);
        }
    } else {
        standard = host_.Ask(0L, [](StandardHost& h) { return h.ChannelStandard(); });
        if (standard == 0)
            decoder->get_TVFormat(&standard);
    }

    const int ntsc = settings::ReadInt(store_, "Capture", "NTSC Std", 0);
    const int pal = settings::ReadInt(store_, "Capture", "PAL Std", 0);
    {
        win::AutoLock lock(lock_);
        settings_->ntscStd = ntsc;
        settings_->palStd = pal;
    }
    standard = PreferredVariant(standard, ntsc, pal);
    {
        GraphPause pause(g->control.Get(), host_);
        const HRESULT hr = decoder->put_TVFormat(standard);
        if (FAILED(hr))
            TraceFailure("IAMAnalogVideoDecoder::put_TVFormat", hr);
    }
    StoreStandard(source, standard);
    StoreCaptureStandard(CaptureStandardOf(standard));
    host_.Call([](StandardHost& h) { h.StandardChanged(); });
    if (encoder_) {
        encoder_->Rederive(Pair());
        if (virtualPins)
            encoder_->ApplySamplingRate(capture);
    }
    DebugLine("video standard 0x%lX applied to source %d", standard, source);
    return S_OK;
}

HRESULT VideoStandardEngine::GetCurrentVidDecVidStd(long* standard)
{
    if (!standard)
        return E_POINTER;
    *standard = 1;
    const std::shared_ptr<const StandardGraph> g = Graph();
    const win::ComPtr<IAMAnalogVideoDecoder> decoder = DecoderOf(g ? g->capture.Get() : nullptr);
    if (!decoder)
        return E_FAIL;
    long value = 0;
    HRESULT hr = decoder->get_TVFormat(&value);
    int firstPoll = 0;
    if (SUCCEEDED(hr) && value > kHighestStandard) {
        GraphPause pause(g->control.Get(), host_);
        const int reads = ResetAndReadBack(decoder.Get(), &value);
        if (pause.StoppedHere())
            firstPoll = reads;
    }
    for (int poll = firstPoll; poll < kMaxLockReads; ++poll) {
        hr = decoder->get_TVFormat(&value);
        bool locked = false;
        if (ReadLock(decoder.Get(), &locked) && locked) {
            long lines = 0;
            decoder->get_NumberOfLines(&lines);
            hr = decoder->get_TVFormat(&value);
            break;
        }
        clock_.sleep(kLockPollSleepMs);
    }
    *standard = SUCCEEDED(hr) && value != 0 ? value : 1;
    return hr;
}

HRESULT VideoStandardEngine::SetCurrentVidDecVidStd(long standard)
{
    const std::shared_ptr<const StandardGraph> g = Graph();
    const win::ComPtr<IAMAnalogVideoDecoder> decoder = DecoderOf(g ? g->capture.Get() : nullptr);
    if (!decoder)
        return E_FAIL;
    HRESULT hr;
    {
        GraphPause pause(g->control.Get(), host_);
        hr = decoder->put_TVFormat(standard);
    }
    if (FAILED(hr))
        return TraceFailure("IAMAnalogVideoDecoder::put_TVFormat", hr);
    StoreStandard(source_, standard);
    StoreCaptureStandard(CaptureStandardOf(standard));
    return S_OK;
}

HRESULT VideoStandardEngine::SetTunerVidStd(long standard)
{
    const std::shared_ptr<const StandardGraph> g = Graph();
    if (!g)
        return E_FAIL;
    win::ComPtr<IBaseFilter> tuner = g->tuner;
    if (!tuner && g->addTuner)
        tuner = g->addTuner();
    win::ComPtr<IKsPropertySet> properties;
    if (!tuner || FAILED(tuner->QueryInterface(IID_IKsPropertySet, properties.PutVoid())))
        return E_FAIL;
    KSPROPERTY_TUNER_STANDARD_S value{};
    value.Property.Set = kPropSetTuner;
    value.Property.Id = KSPROPERTY_TUNER_STANDARD;
    value.Property.Flags = KSPROPERTY_TYPE_GET;
    DWORD returned = 0;
    HRESULT hr = properties->Get(kPropSetTuner, KSPROPERTY_TUNER_STANDARD, nullptr, 0, &value, sizeof value, &returned);
    if (SUCCEEDED(hr) && static_cast<long>(value.Standard) == standard)
        return S_OK;
    value.Property.Flags = KSPROPERTY_TYPE_SET;
    value.Standard = static_cast<ULONG>(standard);
    if (FAILED(hr = properties->Set(kPropSetTuner, KSPROPERTY_TUNER_STANDARD, nullptr, 0, &value, sizeof value)))
        return TraceFailure("tuner standard", hr);
    if (source_ != kTunerSource)
        return hr;
    const win::ComPtr<IAMAnalogVideoDecoder> decoder = DecoderOf(g->capture.Get());
    long current = 0;
    if (decoder && SUCCEEDED(decoder->get_TVFormat(&current)) && current != standard) {
        GraphPause pause(g->control.Get(), host_);
        if (FAILED(hr = decoder->put_TVFormat(standard)))
            TraceFailure("IAMAnalogVideoDecoder::put_TVFormat", hr);
    }
    return hr;
}

HRESULT VideoStandardEngine::RefreshVideoStandard(StandardPair* pair)
{
    if (!pair)
        return E_POINTER;
    long standard = 0;
    HRESULT hr = S_OK;
    if (source_ == kTunerSource) {
        standard = host_.Ask(0L, [](StandardHost& h) { return h.ChannelStandard(); });
    } else {
        hr = GetCurrentVidDecVidStd(&standard);
        if (SUCCEEDED(hr))
            StoreStandard(source_, standard);
    }
    {
        win::AutoLock lock(lock_);
        pair_.captureStandard = CaptureStandardOf(standard);
        *pair = pair_;
    }
    return hr;
}

}  // namespace media
