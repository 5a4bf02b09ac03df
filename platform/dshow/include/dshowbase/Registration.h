#pragma once
// Self-registration helpers: the COM class keys (CLSID, InprocServer32, ThreadingModel) and
// the filter's entry with the DirectShow filter mapper (the version-2 mapper, else the first
// version), optionally in a device category with extra property-bag values.
#include <windows.h>
#include <strmif.h>

#include <span>

#include "dshowbase/ComServer.h"

namespace dshow {

struct PropertyValue {
    const wchar_t* name;   // e.g. L"DevicePath"
    const wchar_t* value;  // stored as a string
};

struct FilterSetup {
    const CLSID* clsid;
    const wchar_t* name;  // friendly name
    DWORD merit;
    UINT pinCount;
    const REGFILTERPINS* pins;
    // Category and instance name; null category means the legacy filter category, null
    // instance means the class identifier's string. Only the version-2 mapper knows
    // categories and instances.
    const CLSID* category = nullptr;
    const wchar_t* instance = nullptr;
    // Written into the filter's property bag under its category entry (version-2 mapper only).
    std::span<const PropertyValue> extras = {};
};

// HKEY_CLASSES_ROOT\CLSID\{clsid} = name, its InprocServer32 = module path with
// ThreadingModel = threading_model.
HRESULT RegisterComClass(const CLSID& clsid, const wchar_t* name, const wchar_t* module_path,
                         const wchar_t* threading_model = L"Both");
// Deletes the class key with all its sub-keys; a missing key is success.
HRESULT UnregisterComClass(const CLSID& clsid);

enum class MapperVersion { Any, Version2Only, Version1Only };

// Registers with the filter mapper; COM must be initialised on the calling thread.
HRESULT RegisterFilter(const FilterSetup& setup, MapperVersion version = MapperVersion::Any);
// Removes the mapper entry; an entry that is not there is success.
HRESULT UnregisterFilter(const FilterSetup& setup, MapperVersion version = MapperVersion::Any);

// DllRegisterServer / DllUnregisterServer bodies: every class key (module path of this
// module, ThreadingModel "Both") and, for classes with filter data, the mapper entry. COM is
// initialised for the call. Unregistering removes mapper entries first, then class keys.
HRESULT RegisterServer(std::span<const FactoryTemplate> classes);
HRESULT UnregisterServer(std::span<const FactoryTemplate> classes);

}  // namespace dshow
