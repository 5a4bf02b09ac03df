#pragma once
// IEnumPins over a filter's pins and IEnumMediaTypes over a pin's preferred types. Both hold
// a reference on the filter and answer VFW_E_ENUM_OUT_OF_SYNC when the filter's pin set (or,
// for media types, the pin's type list) changed since they were made.
#include <windows.h>
#include <strmif.h>

#include "dshowbase/Unknown.h"

namespace dshow {

class BaseFilter;
class BasePin;

class PinEnumerator final : public UnknownBase, public IEnumPins {
public:
    explicit PinEnumerator(BaseFilter* filter, int position = 0);
    ~PinEnumerator() override;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return NonDelegatingAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return NonDelegatingRelease(); }

    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumPins** clone) override;

private:
    BaseFilter* filter_;
    int position_;
    LONG version_;
};

class MediaTypeEnumerator final : public UnknownBase, public IEnumMediaTypes {
public:
    explicit MediaTypeEnumerator(BasePin* pin, int position = 0);
    ~MediaTypeEnumerator() override;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return NonDelegatingAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return NonDelegatingRelease(); }

    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumMediaTypes** clone) override;

private:
    BasePin* pin_;
    int position_;
    LONG version_;
};

}  // namespace dshow
