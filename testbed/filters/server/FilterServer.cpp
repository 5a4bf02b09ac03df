// The in-process server of the test bed's filter stand-ins: every class under the identifier
// and friendly name the capture and playback graphs use, registered with the filter mapper at
// "do not use" merit so that only graphs that add them by class identifier get them.
#include <windows.h>
#include <uuids.h>

#include <iterator>

#include <dshowbase/ComServer.h>
#include <dshowbase/Registration.h>

#include "AudioCompressorFilter.h"
#include "DemuxFilter.h"
#include "FilterIds.h"
#include "InfiniteTee.h"
#include "MuxFilter.h"
#include "PassThroughFilters.h"
#include "VendorDemuxFilter.h"
#include "VideoDecoderFilter.h"
#include "WavDestFilter.h"

namespace {

using namespace testbed;

const REGPINTYPES kAnyType = {&GUID_NULL, &GUID_NULL};
const REGPINTYPES kStreamType = {&MEDIATYPE_Stream, &GUID_NULL};
const REGPINTYPES kVideoType = {&MEDIATYPE_Video, &GUID_NULL};
const REGPINTYPES kAudioType = {&MEDIATYPE_Audio, &GUID_NULL};

const REGFILTERPINS kStreamInPins[] = {
    {const_cast<LPWSTR>(L"Input"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kStreamType},
};
const REGFILTERPINS kAnyPins[] = {
    {const_cast<LPWSTR>(L"Input"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kAnyType},
    {const_cast<LPWSTR>(L"Output"), FALSE, TRUE, FALSE, TRUE, &CLSID_NULL, nullptr, 1, &kAnyType},
};
const REGFILTERPINS kVideoPins[] = {
    {const_cast<LPWSTR>(L"Input"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kVideoType},
    {const_cast<LPWSTR>(L"Output"), FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kVideoType},
};
const REGFILTERPINS kAudioPins[] = {
    {const_cast<LPWSTR>(L"Input"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kAudioType},
    {const_cast<LPWSTR>(L"Output"), FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kAudioType},
};

template <size_t N>
constexpr dshow::FilterSetup Setup(const CLSID& clsid, const wchar_t* name, const REGFILTERPINS (&pins)[N])
{
    return {&clsid, name, MERIT_DO_NOT_USE, UINT(N), pins};
}

const dshow::FilterSetup kDemuxSetup = Setup(kClsidMpeg2Demultiplexer, L"MPEG-2 Demultiplexer", kStreamInPins);
const dshow::FilterSetup kVendorDemuxSetup = Setup(kClsidVendorDemultiplexer, L"Push Mode Mpeg1 Dmux", kStreamInPins);
const dshow::FilterSetup kTeeSetup = Setup(kClsidInfiniteTee, L"Infinite Pin Tee Filter", kAnyPins);
const dshow::FilterSetup kOverlaySetup = Setup(kClsidOverlayMixer, L"Overlay Mixer", kVideoPins);
const dshow::FilterSetup kDecoderSetup = Setup(kClsidCorvaleDecoder, L"Corvale MPEG 1 n 2 Decoder", kVideoPins);
const dshow::FilterSetup kDecoderBSetup = Setup(kClsidDecoderB, L"Corvale MPEG Video Decoder", kVideoPins);
const dshow::FilterSetup kDecoderCSetup = Setup(kClsidDecoderC, L"MPEG Video Decoder", kVideoPins);
const dshow::FilterSetup kFlowSetup = Setup(kClsidFlowControl, L"Flow control", kAnyPins);
const REGFILTERPINS kWavDestPins[] = {
    {const_cast<LPWSTR>(L"In"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kAudioType},
    {const_cast<LPWSTR>(L"Out"), FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kStreamType},
};
const dshow::FilterSetup kWavDestSetup = Setup(kClsidWavDest, L"Corvale Wav Dest", kWavDestPins);
const REGFILTERPINS kCompressorPins[] = {
    {const_cast<LPWSTR>(L"PCM Input"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kAudioType},
    {const_cast<LPWSTR>(L"MPEG Audio Output"), FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kAudioType},
};
const dshow::FilterSetup kCompressorSetup = Setup(kClsidMpegAudioCompressor, L"MPEG Audio Compressor", kCompressorPins);
const REGFILTERPINS kMuxPins[] = {
    {const_cast<LPWSTR>(L"Video"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kVideoType},
    {const_cast<LPWSTR>(L"Audio"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kAudioType},
    {const_cast<LPWSTR>(L"Program Stream"), FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kStreamType},
};
const dshow::FilterSetup kMuxSetup = Setup(kClsidMpegMultiplexer, L"MPEG Multiplexer", kMuxPins);
const dshow::FilterSetup kTypeChangerSetup = Setup(kClsidAudioTypeChanger, L"Corvale Audio Type Changer", kAudioPins);

const dshow::FactoryTemplate kClasses[] = {
    {L"MPEG-2 Demultiplexer", &kClsidMpeg2Demultiplexer,
     [](IUnknown* o, HRESULT* hr) { return DemuxFilter::Create(o, hr, false); }, &kDemuxSetup},
    {L"Push Mode Mpeg1 Dmux", &kClsidVendorDemultiplexer, VendorDemuxFilter::Create, &kVendorDemuxSetup},
    {L"Infinite Pin Tee Filter", &kClsidInfiniteTee, InfiniteTee::Create, &kTeeSetup},
    {L"Overlay Mixer", &kClsidOverlayMixer, OverlayMixerFilter::Create, &kOverlaySetup},
    {L"Corvale MPEG 1 n 2 Decoder", &kClsidCorvaleDecoder,
     [](IUnknown* o, HRESULT* hr) { return VideoDecoderFilter::Create(o, hr, kClsidCorvaleDecoder); }, &kDecoderSetup},
    {L"Corvale MPEG Video Decoder", &kClsidDecoderB,
     [](IUnknown* o, HRESULT* hr) { return VideoDecoderFilter::Create(o, hr, kClsidDecoderB); }, &kDecoderBSetup},
    {L"MPEG Video Decoder", &kClsidDecoderC,
     [](IUnknown* o, HRESULT* hr) { return VideoDecoderFilter::Create(o, hr, kClsidDecoderC); }, &kDecoderCSetup},
    {L"Flow control", &kClsidFlowControl, FlowControlFilter::Create, &kFlowSetup},
    {L"Corvale Wav Dest", &kClsidWavDest, WavDestFilter::Create, &kWavDestSetup},
    {L"Corvale Audio Type Changer", &kClsidAudioTypeChanger, CreateAudioTypeChanger, &kTypeChangerSetup},
    {L"MPEG Audio Compressor", &kClsidMpegAudioCompressor, AudioCompressorFilter::Create, &kCompressorSetup},
    {L"MPEG Multiplexer", &kClsidMpegMultiplexer, MuxFilter::Create, &kMuxSetup},
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return dshow::GetClassObject(kClasses, clsid, iid, out);
}

STDAPI DllCanUnloadNow() { return dshow::CanUnloadNow(); }
STDAPI DllRegisterServer() { return dshow::RegisterServer(kClasses); }
STDAPI DllUnregisterServer() { return dshow::UnregisterServer(kClasses); }
