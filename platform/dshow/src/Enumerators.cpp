#include "dshowbase/Enumerators.h"

#include "dshowbase/BaseFilter.h"
#include "dshowbase/BasePin.h"

namespace dshow {

PinEnumerator::PinEnumerator(BaseFilter* filter, int position)
    : UnknownBase(nullptr), filter_(filter), position_(position), version_(filter->PinVersion())
{
    filter_->AddRef();
}

PinEnumerator::~PinEnumerator() { filter_->Release(); }

STDMETHODIMP PinEnumerator::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumPins)
        return GetInterface(static_cast<IEnumPins*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP PinEnumerator::Next(ULONG count, IPin** pins, ULONG* fetched)
{
    if (!pins)
        return E_POINTER;
    if (fetched)
        *fetched = 0;
    else if (count > 1)
        return E_INVALIDARG;
    if (version_ != filter_->PinVersion())
        return VFW_E_ENUM_OUT_OF_SYNC;
    ULONG got = 0;
    while (got < count && position_ < filter_->GetPinCount()) {
        BasePin* pin = filter_->GetPin(position_++);
        if (!pin)
            break;
        pins[got] = pin;
        pin->AddRef();
        ++got;
    }
    if (fetched)
        *fetched = got;
    return got == count ? S_OK : S_FALSE;
}

STDMETHODIMP PinEnumerator::Skip(ULONG count)
{
    if (version_ != filter_->PinVersion())
        return VFW_E_ENUM_OUT_OF_SYNC;
    const int left = filter_->GetPinCount() - position_;
    if (static_cast<ULONG>(left < 0 ? 0 : left) < count) {
        position_ = filter_->GetPinCount();
        return S_FALSE;
    }
    position_ += static_cast<int>(count);
    return S_OK;
}

STDMETHODIMP PinEnumerator::Reset()
{
    version_ = filter_->PinVersion();
    position_ = 0;
    return S_OK;
}

STDMETHODIMP PinEnumerator::Clone(IEnumPins** clone)
{
    if (!clone)
        return E_POINTER;
    if (version_ != filter_->PinVersion()) {
        *clone = nullptr;
        return VFW_E_ENUM_OUT_OF_SYNC;
    }
    auto* copy = new (std::nothrow) PinEnumerator(filter_, position_);
    if (!copy) {
        *clone = nullptr;
        return E_OUTOFMEMORY;
    }
    return copy->QueryInterface(IID_IEnumPins, reinterpret_cast<void**>(clone));
}

MediaTypeEnumerator::MediaTypeEnumerator(BasePin* pin, int position)
    : UnknownBase(nullptr), pin_(pin), position_(position), version_(pin->Filter()->PinVersion())
{
    pin_->AddRef();
}

MediaTypeEnumerator::~MediaTypeEnumerator() { pin_->Release(); }

STDMETHODIMP MediaTypeEnumerator::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumMediaTypes)
        return GetInterface(static_cast<IEnumMediaTypes*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP MediaTypeEnumerator::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched)
{
    if (!types)
        return E_POINTER;
    if (fetched)
        *fetched = 0;
    else if (count > 1)
        return E_INVALIDARG;
    if (version_ != pin_->Filter()->PinVersion())
        return VFW_E_ENUM_OUT_OF_SYNC;
    ULONG got = 0;
    while (got < count) {
        MediaType type;
        if (pin_->GetMediaType(position_, &type) != S_OK)
            break;
        ++position_;
        types[got] = CreateMediaType(&type);
        if (!types[got]) {
            for (ULONG i = 0; i < got; ++i)
                DeleteMediaType(types[i]);
            return E_OUTOFMEMORY;
        }
        ++got;
    }
    if (fetched)
        *fetched = got;
    return got == count ? S_OK : S_FALSE;
}

STDMETHODIMP MediaTypeEnumerator::Skip(ULONG count)
{
    if (version_ != pin_->Filter()->PinVersion())
        return VFW_E_ENUM_OUT_OF_SYNC;
    while (count) {
        MediaType type;
        if (pin_->GetMediaType(position_, &type) != S_OK)
            return S_FALSE;
        ++position_;
        --count;
    }
    return S_OK;
}

STDMETHODIMP MediaTypeEnumerator::Reset()
{
    version_ = pin_->Filter()->PinVersion();
    position_ = 0;
    return S_OK;
}

STDMETHODIMP MediaTypeEnumerator::Clone(IEnumMediaTypes** clone)
{
    if (!clone)
        return E_POINTER;
    if (version_ != pin_->Filter()->PinVersion()) {
        *clone = nullptr;
        return VFW_E_ENUM_OUT_OF_SYNC;
    }
    auto* copy = new (std::nothrow) MediaTypeEnumerator(pin_, position_);
    if (!copy) {
        *clone = nullptr;
        return E_OUTOFMEMORY;
    }
    return copy->QueryInterface(IID_IEnumMediaTypes, reinterpret_cast<void**>(clone));
}

}  // namespace dshow
