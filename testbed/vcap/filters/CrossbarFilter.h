#pragma once
// The crossbar filter: the card's input switch. Its inputs and outputs are analog pins wired to
// the tuner, the TV audio chip and the capture chip; the route lives with the card, so every
// filter bound to it (and the capture filter's decoder) sees the same switch position.
#include "CardFilter.h"
#include "CrossbarModel.h"

namespace vcap {

class CrossbarFilter : public CardFilter, public IAMCrossbar {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);
    explicit CrossbarFilter(IUnknown* outer);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IAMCrossbar
    STDMETHODIMP get_PinCounts(long* outputs, long* inputs) override;
    STDMETHODIMP CanRoute(long output, long input) override;
    STDMETHODIMP Route(long output, long input) override;
    STDMETHODIMP get_IsRoutedTo(long output, long* input) override;
    STDMETHODIMP get_CrossbarPinInfo(BOOL isInput, long index, long* related, long* physicalType) override;

protected:
    void OnCardKnown() override;

private:
    CrossbarModel CurrentRoute() const;
};

}  // namespace vcap
