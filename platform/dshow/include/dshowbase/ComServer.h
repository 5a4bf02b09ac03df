#pragma once
// In-process COM server plumbing for a module holding filters: the table of classes it
// serves, a class factory, and the bodies of DllGetClassObject and DllCanUnloadNow.
//
//   const dshow::FactoryTemplate kClasses[] = {{L"My Filter", &CLSID_MyFilter, MyFilter::Create, &kSetup}};
//   STDAPI DllGetClassObject(REFCLSID c, REFIID i, void** o) { return dshow::GetClassObject(kClasses, c, i, o); }
//   STDAPI DllCanUnloadNow() { return dshow::CanUnloadNow(); }
#include <windows.h>
#include <unknwn.h>

#include <span>

#include "dshowbase/Unknown.h"

namespace dshow {

struct FilterSetup;

// Creates one object, aggregated by `outer` when not null. Returns the object's
// non-delegating IUnknown with no reference taken (the factory queries it), or null with
// *hr set to the failure (E_OUTOFMEMORY when nothing more specific applies).
using CreateInstanceFn = INonDelegatingUnknown* (*)(IUnknown* outer, HRESULT* hr);

struct FactoryTemplate {
    const wchar_t* name;              // class name, the CLSID key's default value
    const CLSID* clsid;
    CreateInstanceFn create;
    const FilterSetup* filter = nullptr;  // filter-mapper data, or null for plain COM classes
};

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(const FactoryTemplate& entry);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // Aggregation is allowed only when IUnknown is asked for.
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    const FactoryTemplate& entry_;
    volatile LONG refs_ = 0;
};

// DllGetClassObject: IClassFactory or IUnknown only (else E_NOINTERFACE); unknown class
// CLASS_E_CLASSNOTAVAILABLE.
HRESULT GetClassObject(std::span<const FactoryTemplate> classes, REFCLSID clsid, REFIID iid, void** out);
// DllCanUnloadNow: S_OK with no live objects and no server locks, else S_FALSE.
HRESULT CanUnloadNow();

// The module (DLL or EXE) this code is linked into.
HMODULE ThisModule();

}  // namespace dshow
