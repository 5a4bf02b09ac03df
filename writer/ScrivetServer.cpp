// Scrivet's COM server: one class, the file writer filter, with its filter-mapper entry.
#include "FileWriterFilter.h"

#include <dshowbase/ComServer.h>
#include <dshowbase/Registration.h>

namespace {

const REGPINTYPES kAnyType = {&GUID_NULL, &GUID_NULL};

const REGFILTERPINS kPins[] = {{
    const_cast<LPWSTR>(L"Input"),  // name
    FALSE,                         // rendered
    FALSE,                         // output
    FALSE,                         // zero instances allowed
    FALSE,                         // many instances allowed
    &CLSID_NULL,                   // connects to filter
    L"Output",                     // connects to pin
    1,
    &kAnyType,
}};

const dshow::FilterSetup kFilterSetup = {
    &CLSID_ScrivetFileWriter,
    L"Brennick File Writer Filter",
    0x200000,  // MERIT_DO_NOT_USE: never picked by intelligent connect
    1,
    kPins,
};

const dshow::FactoryTemplate kClasses[] = {
    {L"FileWriterFilter", &CLSID_ScrivetFileWriter, &scrivet::FileWriterFilter::Create,
     &kFilterSetup},
};

// The Windows platform the plug-in runs on, recorded once at load for diagnostics.
DWORD g_platform = 0;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        OSVERSIONINFOW version{};
        version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        if (GetVersionExW(&version))
            g_platform = version.dwPlatformId;
#pragma GCC diagnostic pop
        wchar_t line[64];
        swprintf(line, 64, L"Scrivet:  loaded on platform %lu\r\n", g_platform);
        OutputDebugStringW(line);
    }
    return TRUE;
}

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return dshow::GetClassObject(kClasses, clsid, iid, out);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return dshow::CanUnloadNow();
}

HRESULT STDAPICALLTYPE DllRegisterServer()
{
    return dshow::RegisterServer(kClasses);
}

HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    return dshow::UnregisterServer(kClasses);
}

}  // extern "C"
