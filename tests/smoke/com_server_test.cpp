// An in-process server registered by regsvr32 (another process) in the test prefix and then
// created here by class identifier; unregistered, it can no longer be created.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "smoke_ids.h"

namespace {

class ComApartment {
public:
    ComApartment() { hr_ = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { if (SUCCEEDED(hr_)) CoUninitialize(); }
    HRESULT hr() const { return hr_; }

private:
    HRESULT hr_;
};

CLSID SmokeClsid()
{
    CLSID clsid{};
    CLSIDFromString(const_cast<LPOLESTR>(L"" SMOKE_CLSID_TEXT), &clsid);
    return clsid;
}

int Regsvr32(const char* flags)
{
    const std::string server = testsupport::ModuleDir() + "smoke_server.dll";
    return testsupport::RunProcess(std::string("regsvr32.exe ") + flags + " \"" + server + "\"");
}

TEST(SmokeComServer, RegisteredByRegsvr32AndCreatedByClassId)
{
    ComApartment com;
    ASSERT_TRUE(SUCCEEDED(com.hr()));
    ASSERT_EQ(Regsvr32("/s"), 0);

    IPersist* persist = nullptr;
    HRESULT hr = CoCreateInstance(SmokeClsid(), nullptr, CLSCTX_INPROC_SERVER, IID_IPersist,
                                  reinterpret_cast<void**>(&persist));
    ASSERT_EQ(hr, S_OK);
    CLSID reported{};
    EXPECT_EQ(persist->GetClassID(&reported), S_OK);
    EXPECT_TRUE(IsEqualCLSID(reported, SmokeClsid()));

    IUnknown* other = nullptr;
    EXPECT_EQ(persist->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&other)), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    persist->Release();

    ASSERT_EQ(Regsvr32("/u /s"), 0);
    CoFreeUnusedLibraries();
    persist = nullptr;
    hr = CoCreateInstance(SmokeClsid(), nullptr, CLSCTX_INPROC_SERVER, IID_IPersist,
                          reinterpret_cast<void**>(&persist));
    EXPECT_EQ(hr, REGDB_E_CLASSNOTREG);
    EXPECT_EQ(persist, nullptr);
}

TEST(SmokeComServer, UnknownClassIsNotRegistered)
{
    ComApartment com;
    CLSID unknown{};
    CLSIDFromString(const_cast<LPOLESTR>(L"{00000000-1111-2222-3333-444455556666}"), &unknown);
    IUnknown* object = nullptr;
    EXPECT_EQ(CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              REGDB_E_CLASSNOTREG);
}

}  // namespace
