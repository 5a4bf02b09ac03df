#include "TunerNotifier.h"

namespace vcap {

TunerNotifier::~TunerNotifier()
{
    if (thread_) {
        SetEvent(quit_.Get());
        WaitForSingleObject(thread_.Get(), INFINITE);
    }
}

// COM identity: the same object registered through another interface pointer is the same callback.
IUnknown* TunerNotifier::IdentityOf(IAMTunerNotification* callback)
{
    IUnknown* identity = nullptr;
    if (FAILED(callback->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))) || !identity)
        return nullptr;
    identity->Release();
    return identity;
}

HRESULT TunerNotifier::Register(IAMTunerNotification* callback, long events)
{
    if (!callback)
        return E_POINTER;
    if (events != AMTUNER_EVENT_CHANGED)
        return E_INVALIDARG;
    IUnknown* identity = IdentityOf(callback);
    if (!identity)
        return E_INVALIDARG;
    win::AutoLock lock(lock_);
    for (Entry& e : entries_) {
        if (e.identity == identity) {
            e.events = events;
            return S_OK;
        }
    }
    if (!haveReported_) {
        // What the first callback registers against: changes from here on are news.
        snapshot_(reported_);
        haveReported_ = true;
    }
    if (!thread_) {
        quit_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!quit_)
            return E_OUTOFMEMORY;
        thread_.Reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
        if (!thread_)
            return E_OUTOFMEMORY;
    }
    entries_.push_back(Entry{win::ComPtr<IAMTunerNotification>::Share(callback), identity, events});
    return S_OK;
}

HRESULT TunerNotifier::Unregister(IAMTunerNotification* callback)
{
    if (!callback)
        return E_POINTER;
    IUnknown* identity = IdentityOf(callback);
    if (!identity)
        return E_INVALIDARG;
    win::AutoLock lock(lock_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->identity == identity) {
            entries_.erase(it);
            return S_OK;
        }
    }
    return E_INVALIDARG;  // never registered
}

DWORD WINAPI TunerNotifier::ThreadMain(void* self)
{
    static_cast<TunerNotifier*>(self)->Watch();
    return 0;
}

void TunerNotifier::Watch()
{
    while (WaitForSingleObject(quit_.Get(), kPollMs) == WAIT_TIMEOUT) {
        std::vector<long> now;
        const bool settled = snapshot_(now);
        std::vector<win::ComPtr<IAMTunerNotification>> callbacks;
        {
            win::AutoLock lock(lock_);
            if (!settled || now.empty() || now == reported_)
                continue;
            reported_ = now;
            for (const Entry& e : entries_)
                if (e.events & AMTUNER_EVENT_CHANGED)
                    callbacks.push_back(e.callback);
        }
        // Outside the lock: a callback may read the tuner or unregister itself.
        for (const auto& c : callbacks)
            c->OnEvent(AMTUNER_EVENT_CHANGED);
    }
}

}  // namespace vcap
