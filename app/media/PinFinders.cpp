#include "PinFinders.h"
#include "dshowbase/MediaType.h"

#include <ks.h>
#include <ksmedia.h>
#include <ddraw.h>
#include <amvideo.h>

namespace media {

using win::ComPtr;

namespace {

constexpr ULONG kPinBatch = 64;

// AMPROPSETID_Pin / AMPROPERTY_PIN_CATEGORY
const GUID kPinPropertySet = {0x9B00F101, 0x1567, 0x11D1, {0xB3, 0xF1, 0x00, 0xAA, 0x00, 0x37, 0x61, 0xC5}};
constexpr DWORD kPinCategoryProperty = 0;

PIN_DIRECTION DirectionOf(IPin* pin)
{
    PIN_DIRECTION d = PINDIR_INPUT;
    pin->QueryDirection(&d);
    return d;
}

// The first examined pin that satisfies `accept`.
template <class Accept>
ComPtr<IPin> FirstExamined(IBaseFilter* filter, Accept accept)
{
    const std::vector<ComPtr<IPin>> pins = EnumeratePins(filter);
    for (int i : ExaminationOrder(static_cast<int>(pins.size()))) {
        if (accept(pins[i].Get()))
            return pins[i];
    }
    return {};
}

}  // namespace

std::vector<int> ExaminationOrder(int count)
{
    std::vector<int> order;
    for (int i = count - 1; i >= 0; --i)
        order.push_back(i);
    return order;
}

int PickByOrdinal(const std::vector<PIN_DIRECTION>& enumerated, PIN_DIRECTION direction, int n)
{
    int seen = 0;
    for (int i : ExaminationOrder(static_cast<int>(enumerated.size()))) {
        if (enumerated[i] != direction)
            continue;
        if (seen++ == n)
            return i;
    }
    return -1;
}

std::vector<ComPtr<IPin>> EnumeratePins(IBaseFilter* filter)
{
    std::vector<ComPtr<IPin>> pins;
    if (!filter)
        return pins;
    ComPtr<IEnumPins> e;
    if (FAILED(filter->EnumPins(e.Put())) || !e)
        return pins;
    IPin* batch[kPinBatch] = {};
    ULONG fetched = 0;
    e->Next(kPinBatch, batch, &fetched);
    for (ULONG i = 0; i < fetched && i < kPinBatch; ++i)
        pins.push_back(ComPtr<IPin>::Adopt(batch[i]));
    return pins;
}

bool IsConnected(IPin* pin)
{
    ComPtr<IPin> peer;
    return pin && SUCCEEDED(pin->ConnectedTo(peer.Put())) && peer;
}

bool PinOffersType(IPin* pin, const GUID& major, const GUID& subtype)
{
    ComPtr<IEnumMediaTypes> types;
    if (FAILED(pin->EnumMediaTypes(types.Put())) || !types)
        return false;
    AM_MEDIA_TYPE* type = nullptr;
    bool found = false;
    while (!found && types->Next(1, &type, nullptr) == S_OK) {
        found = (major == GUID_NULL || type->majortype == major) && (subtype == GUID_NULL || type->subtype == subtype);
        dshow::DeleteMediaType(type);
        type = nullptr;
    }
    return found;
}

ComPtr<IPin> FindPinByType(IBaseFilter* filter, PIN_DIRECTION direction, const GUID& major, const GUID& subtype)
{
    return FirstExamined(filter, [&](IPin* pin) {
        if (DirectionOf(pin) != direction)
            return false;
        return (major == GUID_NULL && subtype == GUID_NULL) || PinOffersType(pin, major, subtype);
    });
}

ComPtr<IPin> FindPinByOrdinal(IBaseFilter* filter, PIN_DIRECTION direction, int n)
{
    const std::vector<ComPtr<IPin>> pins = EnumeratePins(filter);
    std::vector<PIN_DIRECTION> directions;
    for (const ComPtr<IPin>& p : pins)
        directions.push_back(DirectionOf(p.Get()));
    const int index = PickByOrdinal(directions, direction, n);
    return index >= 0 ? pins[index] : ComPtr<IPin>();
}

ComPtr<IPin> FindPinOfDirection(IBaseFilter* filter, PIN_DIRECTION direction)
{
    return FindPinByOrdinal(filter, direction, 0);
}

ComPtr<IPin> FindPinByName(IBaseFilter* filter, const wchar_t* name)
{
    if (!name)
        return {};
    return FirstExamined(filter, [&](IPin* pin) {
        PIN_INFO info{};
        if (FAILED(pin->QueryPinInfo(&info)))
            return false;
        if (info.pFilter)
            info.pFilter->Release();
        return wcscmp(info.achName, name) == 0;
    });
}

ComPtr<IPin> FindPinByCategory(IBaseFilter* filter, const GUID& category)
{
    return FirstExamined(filter, [&](IPin* pin) {
        ComPtr<IKsPropertySet> props;
        if (FAILED(pin->QueryInterface(IID_IKsPropertySet, props.PutVoid())))
            return false;
        DWORD support = 0;
        if (FAILED(props->QuerySupported(kPinPropertySet, kPinCategoryProperty, &support)) ||
            !(support & KSPROPERTY_SUPPORT_GET))
            return false;
        GUID value = GUID_NULL;
        DWORD returned = 0;
        return SUCCEEDED(props->Get(kPinPropertySet, kPinCategoryProperty, nullptr, 0, &value, sizeof value, &returned)) &&
               returned == sizeof value && value == category;
    });
}

ComPtr<IPin> PinAtIndex(IBaseFilter* filter, int n)
{
    if (!filter || n < 0)
        return {};
    ComPtr<IEnumPins> e;
    if (FAILED(filter->EnumPins(e.Put())) || !e)
        return {};
    if (n > 0 && e->Skip(static_cast<ULONG>(n)) != S_OK)
        return {};
    ComPtr<IPin> pin;
    if (e->Next(1, pin.Put(), nullptr) != S_OK)
        return {};
    return pin;
}

std::vector<ComPtr<IBaseFilter>> EnumerateFilters(IGraphBuilder* graph)
{
    std::vector<ComPtr<IBaseFilter>> filters;
    ComPtr<IEnumFilters> e;
    if (!graph || FAILED(graph->EnumFilters(e.Put())) || !e)
        return filters;
    ComPtr<IBaseFilter> f;
    while (e->Next(1, f.Put(), nullptr) == S_OK)
        filters.push_back(f);
    return filters;
}

void UseOverlayWhenFullScreen(IGraphBuilder* graph)
{
    for (const ComPtr<IBaseFilter>& f : EnumerateFilters(graph)) {
        ComPtr<IDirectDrawVideo> dd;
        if (SUCCEEDED(f->QueryInterface(IID_IDirectDrawVideo, dd.PutVoid())))
            dd->UseWhenFullScreen(TRUE);
    }
}

}  // namespace media
