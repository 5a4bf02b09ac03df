// vcap.ax: the virtual card's filters as an in-process COM server. Only the COM classes are
// registered here; the card's device entries come from vcapinstall, which knows the device.
#include "CardFilter.h"
#include "CodecEncoderFilter.h"
#include "CrossbarFilter.h"
#include "TunerFilter.h"
#include "TvAudioFilter.h"

#include "dshowbase/ComServer.h"
#include "dshowbase/Registration.h"

namespace {

const dshow::FactoryTemplate kClasses[] = {
    {L"Virtual MPEG Card Capture", vcap::Role(vcap::FilterRole::Capture).filterClsid, vcap::CaptureFilter::Create},
    {L"Virtual MPEG Card Tuner", vcap::Role(vcap::FilterRole::Tuner).filterClsid, vcap::TunerFilter::Create},
    {L"Virtual MPEG Card TV Audio", vcap::Role(vcap::FilterRole::TvAudio).filterClsid, vcap::TvAudioFilter::Create},
    {L"Virtual MPEG Card Crossbar", vcap::Role(vcap::FilterRole::Crossbar).filterClsid, vcap::CrossbarFilter::Create},
    {L"Virtual MPEG Card Encoder", vcap::Role(vcap::FilterRole::Encoder).filterClsid, vcap::EncoderFilter::Create},
    {L"Virtual MPEG Card Codec Encoder", vcap::Role(vcap::FilterRole::CodecEncoder).filterClsid, vcap::CodecEncoderFilter::Create},
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) { return dshow::GetClassObject(kClasses, clsid, iid, out); }
STDAPI DllCanUnloadNow() { return dshow::CanUnloadNow(); }
STDAPI DllRegisterServer() { return dshow::RegisterServer(kClasses); }
STDAPI DllUnregisterServer() { return dshow::UnregisterServer(kClasses); }
