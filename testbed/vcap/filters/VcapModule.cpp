// vcap.ax: the virtual card's filters as an in-process COM server. Only the COM classes are
// registered here; the card's device entries come from vcapinstall, which knows the device.
#include "CardFilter.h"

#include "dshowbase/ComServer.h"
#include "dshowbase/Registration.h"

namespace {

const dshow::FactoryTemplate kClasses[] = {
    {L"Virtual MPEG Card Capture", vcap::Role(vcap::FilterRole::Capture).filterClsid, vcap::CaptureFilter::Create},
    {L"Virtual MPEG Card Encoder", vcap::Role(vcap::FilterRole::Encoder).filterClsid, vcap::EncoderFilter::Create},
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) { return dshow::GetClassObject(kClasses, clsid, iid, out); }
STDAPI DllCanUnloadNow() { return dshow::CanUnloadNow(); }
STDAPI DllRegisterServer() { return dshow::RegisterServer(kClasses); }
STDAPI DllUnregisterServer() { return dshow::UnregisterServer(kClasses); }
