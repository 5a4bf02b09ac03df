#include "AnalogPin.h"

#include <vfwmsgs.h>

#include <cstring>

namespace vcap {
namespace {

// One base per wire; the card number goes into the last byte.
const GUID kWireBase[] = {
    {0x3A1B6E10, 0x52C4, 0x4F0E, {0x8D, 0x21, 0x6B, 0x0C, 0x51, 0x7E, 0x90, 0x00}},  // crossbar video to capture
    {0x3A1B6E11, 0x52C4, 0x4F0E, {0x8D, 0x21, 0x6B, 0x0C, 0x51, 0x7E, 0x90, 0x00}},  // crossbar audio to capture
    {0x3A1B6E12, 0x52C4, 0x4F0E, {0x8D, 0x21, 0x6B, 0x0C, 0x51, 0x7E, 0x90, 0x00}},  // tuner video to crossbar
    {0x3A1B6E13, 0x52C4, 0x4F0E, {0x8D, 0x21, 0x6B, 0x0C, 0x51, 0x7E, 0x90, 0x00}},  // tuner audio to TV audio
    {0x3A1B6E14, 0x52C4, 0x4F0E, {0x8D, 0x21, 0x6B, 0x0C, 0x51, 0x7E, 0x90, 0x00}},  // TV audio to crossbar
    {0x3A1B6E15, 0x52C4, 0x4F0E, {0x8D, 0x21, 0x6B, 0x0C, 0x51, 0x7E, 0x90, 0x00}},  // capture video to encoder
    {0x3A1B6E16, 0x52C4, 0x4F0E, {0x8D, 0x21, 0x6B, 0x0C, 0x51, 0x7E, 0x90, 0x00}},  // capture audio to encoder
};

}  // namespace

KSPIN_MEDIUM WireMedium(Wire wire, int card)
{
    KSPIN_MEDIUM m{};
    if (wire == Wire::Connector) {
        m.Set = kMediumSetStandard;  // a socket on the card's bracket: wired to nothing inside
        return m;
    }
    m.Set = kWireBase[static_cast<int>(wire)];
    m.Set.Data4[7] = static_cast<unsigned char>(card);
    m.Id = static_cast<ULONG>(card);
    return m;
}

AnalogPin::AnalogPin(dshow::BaseFilter* filter, win::CritSec* lock, const wchar_t* name, PIN_DIRECTION direction,
                     const GUID& majorType, const KSPIN_MEDIUM& medium, ULONG factoryId)
    : BasePin(filter, lock, name, direction), major_(majorType), medium_(medium), factoryId_(factoryId)
{
}

HRESULT STDMETHODCALLTYPE AnalogPin::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (iid == kIidKsPin)
        return GetInterface(static_cast<IKsPin*>(this), out);
    if (iid == kIidKsPinFactory)
        return GetInterface(static_cast<IKsPinFactory*>(this), out);
    return BasePin::NonDelegatingQueryInterface(iid, out);
}

HRESULT AnalogPin::CheckMediaType(const dshow::MediaType& type)
{
    return type.majortype == major_ ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT AnalogPin::GetMediaType(int position, dshow::MediaType* type)
{
    if (position < 0)
        return E_INVALIDARG;
    // An input takes what its wire brings, so it proposes nothing of its own.
    if (position > 0 || Direction() == PINDIR_INPUT)
        return VFW_S_NO_MORE_ITEMS;
    *type = dshow::MediaType(major_, GUID_NULL, FORMAT_None);
    return S_OK;
}

STDMETHODIMP AnalogPin::KsPinFactory(ULONG* id)
{
    if (!id)
        return E_POINTER;
    *id = factoryId_;
    return S_OK;
}

STDMETHODIMP AnalogPin::KsQueryMediums(PKSMULTIPLE_ITEM* list)
{
    if (!list)
        return E_POINTER;
    const ULONG size = sizeof(KSMULTIPLE_ITEM) + sizeof(KSPIN_MEDIUM);
    auto* items = static_cast<KSMULTIPLE_ITEM*>(CoTaskMemAlloc(size));
    if (!items)
        return E_OUTOFMEMORY;
    items->Size = size;
    items->Count = 1;
    std::memcpy(items + 1, &medium_, sizeof medium_);
    *list = items;
    return S_OK;
}

STDMETHODIMP AnalogPin::KsQueryInterfaces(PKSMULTIPLE_ITEM* list)
{
    if (!list)
        return E_POINTER;
    auto* items = static_cast<KSMULTIPLE_ITEM*>(CoTaskMemAlloc(sizeof(KSMULTIPLE_ITEM)));
    if (!items)
        return E_OUTOFMEMORY;
    items->Size = sizeof(KSMULTIPLE_ITEM);
    items->Count = 0;
    *list = items;
    return S_OK;
}

STDMETHODIMP AnalogPin::KsGetCurrentCommunication(KSPIN_COMMUNICATION* c, KSPIN_INTERFACE* i, KSPIN_MEDIUM* m)
{
    if (c)
        *c = Direction() == PINDIR_INPUT ? KSPIN_COMMUNICATION_SINK : KSPIN_COMMUNICATION_SOURCE;
    if (i)
        *i = KSPIN_INTERFACE{};
    if (m)
        *m = medium_;
    return S_OK;
}

}  // namespace vcap
