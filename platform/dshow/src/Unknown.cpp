#include "dshowbase/Unknown.h"

namespace dshow {

namespace {
std::atomic<long> g_liveObjects{0};
std::atomic<long> g_serverLocks{0};
}  // namespace

long LiveObjectCount() { return g_liveObjects.load(); }
long ServerLockCount() { return g_serverLocks.load(); }
void LockServer(bool lock)
{
    if (lock)
        ++g_serverLocks;
    else
        --g_serverLocks;
}

// Without an outer unknown the object's identity is its non-delegating interface, whose
// first three slots have IUnknown's layout.
UnknownBase::UnknownBase(IUnknown* outer)
    : owner_(outer ? outer : reinterpret_cast<IUnknown*>(static_cast<INonDelegatingUnknown*>(this)))
{
    ++g_liveObjects;
}

UnknownBase::~UnknownBase() { --g_liveObjects; }

HRESULT STDMETHODCALLTYPE UnknownBase::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown)
        return GetInterface(reinterpret_cast<IUnknown*>(static_cast<INonDelegatingUnknown*>(this)), out);
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE UnknownBase::NonDelegatingAddRef() { return ++refs_; }

ULONG STDMETHODCALLTYPE UnknownBase::NonDelegatingRelease()
{
    const ULONG left = --refs_;
    if (left == 0) {
        // Guards against re-entry if the destructor's work briefly takes a reference again.
        refs_ = 1;
        delete this;
    }
    return left;
}

HRESULT UnknownBase::GetInterface(IUnknown* iface, void** out)
{
    if (!out)
        return E_POINTER;
    *out = iface;
    iface->AddRef();
    return S_OK;
}

}  // namespace dshow
