#pragma once
// COM identity for filters, pins and helpers: a non-delegating IUnknown that supports
// aggregation, plus the process-wide count of live objects that DllCanUnloadNow reads.
#include <windows.h>
#include <unknwn.h>
#include <vfwmsgs.h>

#include <atomic>

namespace dshow {

struct INonDelegatingUnknown {
    virtual HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingAddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingRelease() = 0;
};

// Live objects of this module (every UnknownBase) and server locks from IClassFactory.
long LiveObjectCount();
long ServerLockCount();
void LockServer(bool lock);

class UnknownBase : public INonDelegatingUnknown {
public:
    // `outer` is the controlling unknown when aggregated (or, for pins, the owning filter);
    // null makes the object its own identity.
    explicit UnknownBase(IUnknown* outer);
    virtual ~UnknownBase();
    UnknownBase(const UnknownBase&) = delete;
    UnknownBase& operator=(const UnknownBase&) = delete;

    IUnknown* Owner() const { return owner_; }

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE NonDelegatingAddRef() override;
    ULONG STDMETHODCALLTYPE NonDelegatingRelease() override;

    // Hands out `iface` through `out` with a reference taken on the object's identity.
    static HRESULT GetInterface(IUnknown* iface, void** out);

protected:
    std::atomic<ULONG> refs_{0};

private:
    IUnknown* owner_;
};

}  // namespace dshow

// Declares the three IUnknown methods of an interface-implementing class as forwards to the
// object's controlling unknown (itself, its aggregator or its owning filter).
#define DSHOW_DECLARE_IUNKNOWN                                                         \
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override                       \
    {                                                                                  \
        return Owner()->QueryInterface(iid, out);                                      \
    }                                                                                  \
    STDMETHODIMP_(ULONG) AddRef() override { return Owner()->AddRef(); }               \
    STDMETHODIMP_(ULONG) Release() override { return Owner()->Release(); }
