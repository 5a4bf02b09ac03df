// A module holding the writer filter over TestStorage, for graph tests that need volumes and
// files the machine does not have. Tests load it and take its class object directly.
#include "FileWriterFilter.h"
#include "TestStorage.h"

#include <dshowbase/ComServer.h>

namespace {

dshow::INonDelegatingUnknown* CreateTestWriter(IUnknown* outer, HRESULT* hr)
{
    static scrivet::test::TestStorage storage;
    return scrivet::FileWriterFilter::CreateWith(outer, storage, hr);
}

const dshow::FactoryTemplate kClasses[] = {
    {L"TestFileWriterFilter", &scrivet::test::kTestWriterClsid, &CreateTestWriter, nullptr},
};

}  // namespace

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return dshow::GetClassObject(kClasses, clsid, iid, out);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return dshow::CanUnloadNow();
}

}  // extern "C"
