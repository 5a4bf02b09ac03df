// Registration round trip: the test filter server registered by regsvr32 in the test prefix
// is found by the System Device Enumerator with its names and extra values, is created by
// class identifier, and is gone after unregistration. Also the first-version mapper path.
#include <windows.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <string>

#include "GraphHelpers.h"
#include "TestSupport.h"
#include "dshowbase/Registration.h"

using namespace testfilters;
using win::ComPtr;

namespace {

struct Entry {
    bool found = false;
    std::wstring clsid;
    std::wstring devicePath;
    ComPtr<IMoniker> moniker;
};

std::wstring ReadString(IPropertyBag* bag, const wchar_t* name)
{
    VARIANT value;
    VariantInit(&value);
    std::wstring text;
    if (SUCCEEDED(bag->Read(name, &value, nullptr)) && value.vt == VT_BSTR)
        text = value.bstrVal;
    VariantClear(&value);
    return text;
}

Entry FindInCategory(const CLSID& category, const std::wstring& friendly_name)
{
    Entry entry;
    ComPtr<ICreateDevEnum> devices;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                devices.PutVoid())))
        return entry;
    ComPtr<IEnumMoniker> monikers;
    if (devices->CreateClassEnumerator(category, monikers.Put(), 0) != S_OK)
        return entry;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.Put(), nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid())))
            continue;
        if (ReadString(bag.Get(), L"FriendlyName") != friendly_name)
            continue;
        entry.found = true;
        entry.clsid = ReadString(bag.Get(), L"CLSID");
        entry.devicePath = ReadString(bag.Get(), L"DevicePath");
        entry.moniker = moniker;
        break;
    }
    return entry;
}

std::wstring GuidText(const GUID& guid)
{
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring RegistryString(const std::wstring& key, const wchar_t* value)
{
    wchar_t data[MAX_PATH] = {};
    DWORD size = sizeof(data);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return L"";
    return data;
}

// regsvr32 runs without inheriting our handles: anything it starts (COM services in a fresh
// prefix) must not hold the test runner's output pipe open after we exit.
int Regsvr32(const char* flags)
{
    std::string command = std::string("regsvr32.exe ") + flags + " \"" + testsupport::ModuleDir() +
                          "dshow_test_filters.dll\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return -1;
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

const wchar_t kDevicePath[] = L"\\\\?\\root#dshowtest#0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";

TEST(Registration, RoundTripThroughRegsvr32AndTheDeviceEnumerator)
{
    graphtest::ComApartment com;
    ASSERT_TRUE(SUCCEEDED(com.hr()));
    ASSERT_EQ(Regsvr32("/s"), 0);

    const Entry device = FindInCategory(CLSID_VideoInputDeviceCategory, L"Dshow Test Device");
    ASSERT_TRUE(device.found);
    EXPECT_EQ(device.devicePath, kDevicePath);
    EXPECT_EQ(device.clsid, GuidText(CLSID_TestDevice));
    {
        ComPtr<IBaseFilter> filter;
        ASSERT_EQ(device.moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.PutVoid()), S_OK);
        CLSID clsid{};
        EXPECT_EQ(filter->GetClassID(&clsid), S_OK);
        EXPECT_EQ(clsid, CLSID_TestDevice);
    }

    const Entry renderer = FindInCategory(CLSID_LegacyAmFilterCategory, L"Dshow Test Renderer");
    EXPECT_TRUE(renderer.found);
    EXPECT_EQ(renderer.clsid, GuidText(CLSID_CollectingRenderer));
    EXPECT_TRUE(FindInCategory(CLSID_LegacyAmFilterCategory, L"Dshow Test Stamper").found);
    EXPECT_FALSE(FindInCategory(CLSID_LegacyAmFilterCategory, L"Dshow Test Device").found)
        << "the device is registered only in its own category";

    const std::wstring key = L"CLSID\\" + GuidText(CLSID_CollectingRenderer);
    EXPECT_EQ(RegistryString(key, nullptr), L"Dshow Test Renderer");
    EXPECT_EQ(RegistryString(key + L"\\InprocServer32", L"ThreadingModel"), L"Both");
    EXPECT_NE(RegistryString(key + L"\\InprocServer32", nullptr).find(L"dshow_test_filters.dll"), std::wstring::npos);
    {
        ComPtr<IBaseFilter> filter;
        EXPECT_EQ(CoCreateInstance(CLSID_CollectingRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                   filter.PutVoid()),
                  S_OK);
    }

    ASSERT_EQ(Regsvr32("/u /s"), 0);
    CoFreeUnusedLibraries();
    EXPECT_FALSE(FindInCategory(CLSID_VideoInputDeviceCategory, L"Dshow Test Device").found);
    EXPECT_FALSE(FindInCategory(CLSID_LegacyAmFilterCategory, L"Dshow Test Renderer").found);
    EXPECT_EQ(RegistryString(key, nullptr), L"");
    ComPtr<IBaseFilter> gone;
    EXPECT_EQ(CoCreateInstance(CLSID_CollectingRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               gone.PutVoid()),
              REGDB_E_CLASSNOTREG);
    // Unregistering what is not registered is not an error.
    EXPECT_EQ(Regsvr32("/u /s"), 0);
}

// {6F1B2C31-8E44-4C2B-9C5E-1A2B3C4D5E10}
const CLSID kVersionOneClsid = {0x6f1b2c31, 0x8e44, 0x4c2b, {0x9c, 0x5e, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0x10}};
const REGPINTYPES kAnyType[] = {{&GUID_NULL, &GUID_NULL}};
REGFILTERPINS kVersionOnePins[] = {
    {const_cast<LPWSTR>(L"Input"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, L"Output", 1, kAnyType}};

TEST(Registration, FirstVersionMapper)
{
    graphtest::ComApartment com;
    ASSERT_TRUE(SUCCEEDED(com.hr()));
    const dshow::FilterSetup setup{&kVersionOneClsid, L"Dshow Version One Filter", MERIT_DO_NOT_USE, 1,
                                   kVersionOnePins};
    // The first mapper's entries are listed under the class key's name, so the class key
    // comes first, as RegisterServer writes it.
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    ASSERT_EQ(dshow::RegisterComClass(kVersionOneClsid, L"Dshow Version One Filter", path), S_OK);
    ASSERT_EQ(dshow::RegisterFilter(setup, dshow::MapperVersion::Version1Only), S_OK);
    const Entry entry = FindInCategory(CLSID_LegacyAmFilterCategory, L"Dshow Version One Filter");
    EXPECT_TRUE(entry.found);
    EXPECT_EQ(entry.clsid, GuidText(kVersionOneClsid));
    EXPECT_EQ(dshow::UnregisterFilter(setup, dshow::MapperVersion::Version1Only), S_OK);
    EXPECT_EQ(dshow::UnregisterComClass(kVersionOneClsid), S_OK);
    EXPECT_FALSE(FindInCategory(CLSID_LegacyAmFilterCategory, L"Dshow Version One Filter").found);
    EXPECT_EQ(dshow::UnregisterComClass(kVersionOneClsid), S_OK) << "a missing key is not an error";

    // Categories and property-bag values need the second version.
    dshow::FilterSetup device = setup;
    device.category = &CLSID_VideoInputDeviceCategory;
    EXPECT_EQ(dshow::RegisterFilter(device, dshow::MapperVersion::Version1Only), E_NOTIMPL);
}

}  // namespace
