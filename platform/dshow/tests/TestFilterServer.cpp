// The test filters as an in-process server: registered with regsvr32 in the test prefix, the
// renderer and transform in the legacy filter category and the source once more as a video
// capture "device" with a DevicePath value.
#include <windows.h>
#include <uuids.h>

#include "TestFilters.h"
#include "dshowbase/ComServer.h"
#include "dshowbase/Registration.h"

namespace {

using namespace testfilters;

const REGPINTYPES kStreamTypes[] = {{&MEDIATYPE_Stream, &kSubtypeA}, {&MEDIATYPE_Stream, &kSubtypeB}};

REGFILTERPINS kRendererPins[] = {
    {const_cast<LPWSTR>(L"In"), TRUE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 2, kStreamTypes}};
REGFILTERPINS kTransformPins[] = {
    {const_cast<LPWSTR>(L"Input"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 2, kStreamTypes},
    {const_cast<LPWSTR>(L"Output"), FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 2, kStreamTypes}};
REGFILTERPINS kSourcePins[] = {
    {const_cast<LPWSTR>(L"Output"), FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 2, kStreamTypes}};

const dshow::PropertyValue kDeviceValues[] = {{L"DevicePath", L"\\\\?\\root#dshowtest#0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global"}};

const dshow::FilterSetup kRendererSetup{&CLSID_CollectingRenderer, L"Dshow Test Renderer", MERIT_DO_NOT_USE, 1,
                                        kRendererPins};
const dshow::FilterSetup kTransformSetup{&CLSID_StampingTransform, L"Dshow Test Stamper", MERIT_DO_NOT_USE, 2,
                                         kTransformPins};
const dshow::FilterSetup kDeviceSetup{&CLSID_TestDevice, L"Dshow Test Device", MERIT_DO_NOT_USE, 1, kSourcePins,
                                      &CLSID_VideoInputDeviceCategory, L"Dshow Test Device", kDeviceValues};

dshow::INonDelegatingUnknown* CreateDevice(IUnknown* outer, HRESULT* hr)
{
    auto* source = new (std::nothrow) CountingSource(outer, CLSID_TestDevice);
    *hr = source ? S_OK : E_OUTOFMEMORY;
    return source;
}

const dshow::FactoryTemplate kClasses[] = {
    {L"Dshow Test Source", &CLSID_CountingSource, CountingSource::Create},
    {L"Dshow Test Stamper", &CLSID_StampingTransform, StampingTransform::Create, &kTransformSetup},
    {L"Dshow Test Renderer", &CLSID_CollectingRenderer, CollectingRenderer::Create, &kRendererSetup},
    {L"Dshow Test Device", &CLSID_TestDevice, CreateDevice, &kDeviceSetup},
};

}  // namespace

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return dshow::GetClassObject(kClasses, clsid, iid, out);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return dshow::CanUnloadNow(); }

HRESULT STDAPICALLTYPE DllRegisterServer() { return dshow::RegisterServer(kClasses); }

HRESULT STDAPICALLTYPE DllUnregisterServer() { return dshow::UnregisterServer(kClasses); }

}  // extern "C"
