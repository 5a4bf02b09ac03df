#pragma once
// A renderer for tests that keeps every byte it receives; it can be told to refuse samples.
#include <dshowbase/BaseFilter.h>
#include <dshowbase/Pins.h>

#include <memory>
#include <vector>

namespace graphtest {

class CollectingSink : public dshow::BaseFilter, public IAMFilterMiscFlags {
public:
    // Returned with one reference; accepts media of `major`.
    static CollectingSink* Create(const GUID& major);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    // The graph counts renderers by this flag when it waits for every stream's end.
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

    int GetPinCount() override { return 1; }
    dshow::BasePin* GetPin(int index) override;

    std::vector<uint8_t> Bytes();
    long Samples();  // samples kept
    long Calls();    // Receive calls, refused ones included
    bool AtEnd();    // end of stream arrived since the last start
    // From now on, keep `accepted` samples in all and answer S_FALSE to every later one, as
    // a pin that wants no more data does; a negative count accepts everything again.
    void RefuseAfter(long accepted);

private:
    class Pin;
    explicit CollectingSink(const GUID& major);

    win::CritSec lock_;
    win::CritSec dataLock_;
    std::unique_ptr<Pin> pin_;
    std::vector<uint8_t> bytes_;
    long samples_ = 0;
    long calls_ = 0;
    long refuseAfter_ = -1;
    GUID major_;
};

}  // namespace graphtest
