#pragma once
// A renderer for tests that keeps every byte it receives (and the first timestamp).
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
    long Samples();

private:
    class Pin;
    explicit CollectingSink(const GUID& major);

    dshow::CritSec lock_;
    dshow::CritSec dataLock_;
    std::unique_ptr<Pin> pin_;
    std::vector<uint8_t> bytes_;
    long samples_ = 0;
    GUID major_;
};

}  // namespace graphtest
