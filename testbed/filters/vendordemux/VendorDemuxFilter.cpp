#include "VendorDemuxFilter.h"

#include <mmreg.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <new>

#include <win/ComPtr.h>

#include <memory>

namespace testbed {
namespace {

constexpr ULONG kLpcmSubStream = 0xA0;  // the first LPCM sub-stream of private stream 1

// MPEG-1 Layer II as the card records it by default: stereo, 44.1 kHz, 224 kbit/s.
dshow::MediaType DefaultAudioType()
{
    MPEG1WAVEFORMAT wf{};
    wf.wfx.wFormatTag = WAVE_FORMAT_MPEG;
    wf.wfx.nChannels = 2;
    wf.wfx.nSamplesPerSec = 44100;
    wf.wfx.nAvgBytesPerSec = 224000 / 8;
    wf.wfx.nBlockAlign = 1;
    wf.wfx.cbSize = sizeof wf - sizeof wf.wfx;
    wf.fwHeadLayer = ACM_MPEG_LAYER2;
    wf.dwHeadBitrate = 224000;
    wf.fwHeadMode = ACM_MPEG_STEREO;
    wf.wHeadEmphasis = 1;
    wf.fwHeadFlags = ACM_MPEG_ID_MPEG1;
    dshow::MediaType t(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1AudioPayload, FORMAT_WaveFormatEx);
    t.SetFormat(FORMAT_WaveFormatEx, &wf, sizeof wf);
    return t;
}

bool IsMpegAudio(const AM_MEDIA_TYPE& t)
{
    return t.majortype == MEDIATYPE_Audio &&
           (t.subtype == MEDIASUBTYPE_MPEG1AudioPayload || t.subtype == MEDIASUBTYPE_MPEG1Payload ||
            t.subtype == MEDIASUBTYPE_MPEG1Packet || t.subtype == MEDIASUBTYPE_MPEG2_AUDIO);
}

// PCM the LPCM of the stream can become: 16-bit samples described by a wave format.
bool IsPcm16(const AM_MEDIA_TYPE& t)
{
    if (t.majortype != MEDIATYPE_Audio || t.subtype != MEDIASUBTYPE_PCM || t.formattype != FORMAT_WaveFormatEx ||
        !t.pbFormat || t.cbFormat < sizeof(WAVEFORMAT) + sizeof(WORD))
        return false;
    const auto* wf = reinterpret_cast<const WAVEFORMATEX*>(t.pbFormat);
    return wf->wBitsPerSample == 16 && wf->nChannels > 0 && wf->nSamplesPerSec > 0;
}

bool IsMpegVideo(const AM_MEDIA_TYPE& t)
{
    return t.majortype == MEDIATYPE_Video &&
           (t.subtype == MEDIASUBTYPE_MPEG1Payload || t.subtype == MEDIASUBTYPE_MPEG1Packet ||
            t.subtype == MEDIASUBTYPE_MPEG2_VIDEO);
}

bool MapsStream(DemuxOutputPin* pin, ULONG streamId)
{
    win::ComPtr<IEnumStreamIdMap> maps;
    if (FAILED(pin->EnumStreamIdMap(maps.Put())))
        return false;
    STREAM_ID_MAP m{};
    ULONG got = 0;
    while (maps->Next(1, &m, &got) == S_OK && got == 1)
        if (m.stream_id == streamId)
            return true;
    return false;
}

}  // namespace

dshow::INonDelegatingUnknown* VendorDemuxFilter::Create(IUnknown* outer, HRESULT* hr)
{
    auto* f = new (std::nothrow) VendorDemuxFilter(outer);
    *hr = f ? S_OK : E_OUTOFMEMORY;
    return f;
}

VendorDemuxFilter::VendorDemuxFilter(IUnknown* outer) : DemuxFilter(outer, true)
{
    audio_ = AddOwnOutput(std::make_unique<DemuxOutputPin>(this, FilterLock(), L"Audio Out", DefaultAudioType()));
    audio_->MapStreamId(0xC0, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0);
}

HRESULT STDMETHODCALLTYPE VendorDemuxFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == __uuidof(IDemuxOutputConfig))
        return GetInterface(static_cast<IDemuxOutputConfig*>(this), out);
    return DemuxFilter::NonDelegatingQueryInterface(iid, out);
}

DemuxOutputPin* VendorDemuxFilter::OutputOf(DWORD output) const
{
    if (output == kAudioOutput)
        return audio_;
    for (const auto& pin : Outputs())
        if (pin.get() != audio_ && MapsStream(pin.get(), 0xE0))
            return pin.get();
    return nullptr;
}

STDMETHODIMP VendorDemuxFilter::SetOutputType(DWORD output, const AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    if (output != kVideoOutput && output != kAudioOutput)
        return E_INVALIDARG;
    win::AutoLock lock(*FilterLock());
    DemuxOutputPin* pin = OutputOf(output);
    if (!pin)
        return VFW_E_NOT_FOUND;
    if (pin->IsConnected())
        return VFW_E_ALREADY_CONNECTED;
    if (output == kVideoOutput) {
        if (!IsMpegVideo(*type))
            return VFW_E_TYPE_NOT_ACCEPTED;
        pin->SetPinType(dshow::MediaType(*type));
        return S_OK;
    }
    const bool mpeg = IsMpegAudio(*type);
    if (!mpeg && !IsPcm16(*type))
        return VFW_E_TYPE_NOT_ACCEPTED;
    // The audio output carries the stream its type can come from.
    ULONG ids[2] = {0xC0, 0xBD};
    pin->UnmapStreamId(2, ids);
    const HRESULT hr = mpeg ? pin->MapStreamId(0xC0, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0)
                            : pin->MapStreamId(0xBD, MPEG2_PROGRAM_ELEMENTARY_STREAM, kLpcmSubStream, 0);
    if (FAILED(hr))
        return hr;
    pin->SetPinType(dshow::MediaType(*type));
    return S_OK;
}

STDMETHODIMP VendorDemuxFilter::GetOutputType(DWORD output, AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    if (output != kVideoOutput && output != kAudioOutput)
        return E_INVALIDARG;
    win::AutoLock lock(*FilterLock());
    DemuxOutputPin* pin = OutputOf(output);
    if (!pin)
        return VFW_E_NOT_FOUND;
    dshow::MediaType current;
    pin->GetMediaType(0, &current);
    return dshow::CopyMediaType(type, &current);
}

}  // namespace testbed
