#pragma once
// The tuner notification callbacks (IAMTunerNotification) of the tuner and TV audio filters.
// The analog front end's state is kept with the card and changed by any filter bound to it, so
// a filter with registered callbacks watches that state: when what it reports has changed and
// the tuner has settled (a tune is complete), every callback hears AMTUNER_EVENT_CHANGED once.
// Callbacks run on the notifier's thread with no lock of the filter held.
#include <win/ComPtr.h>
#include <win/Handle.h>
#include <win/Lock.h>

#include <windows.h>
#include <strmif.h>

#include <functional>
#include <vector>

namespace vcap {

class TunerNotifier {
public:
    // Fills in what the filter reports (empty when unreadable) and answers whether the tuner
    // has settled; a change is reported only once it has.
    using Snapshot = std::function<bool(std::vector<long>& state)>;

    explicit TunerNotifier(Snapshot snapshot) : snapshot_(std::move(snapshot)) {}
    ~TunerNotifier();
    TunerNotifier(const TunerNotifier&) = delete;
    TunerNotifier& operator=(const TunerNotifier&) = delete;

    // IAMTuner / IAMTVAudio registration: only AMTUNER_EVENT_CHANGED can be asked for; a
    // callback registered again gets the new mask.
    HRESULT Register(IAMTunerNotification* callback, long events);
    HRESULT Unregister(IAMTunerNotification* callback);

    static constexpr DWORD kPollMs = 40;

private:
    struct Entry {
        win::ComPtr<IAMTunerNotification> callback;
        IUnknown* identity = nullptr;  // compared only; alive while `callback` is held
        long events = 0;
    };

    static IUnknown* IdentityOf(IAMTunerNotification* callback);
    static DWORD WINAPI ThreadMain(void* self);
    void Watch();

    Snapshot snapshot_;
    win::CritSec lock_;
    std::vector<Entry> entries_;
    std::vector<long> reported_;  // the state the callbacks last heard of
    bool haveReported_ = false;
    win::Handle quit_;
    win::Handle thread_;
};

}  // namespace vcap
