// Connecting pins: directly, to a filter's input, by rendering, and by kernel-streaming medium.
#include "MediaGraph.h"
#include "dshowbase/MediaType.h"
#include "MediumMatch.h"
#include "PinFinders.h"
#include "Trace.h"

#include <ks.h>
#include <ksmedia.h>

namespace media {

// The first methods of the proxy's pin interfaces, which is all this code calls; the system
// header declares them only inside the kernel-streaming build environment. They live outside
// the unnamed namespace on purpose: a compiler that sees every class of an unnamed namespace
// may conclude that an interface nobody here implements can never be called.
namespace ks {
const IID kIidKsPin = {0xB61178D1, 0xA2D9, 0x11CF, {0x9E, 0x53, 0x00, 0xAA, 0x00, 0xA2, 0x16, 0xA1}};
const IID kIidKsPinFactory = {0xCD5EBE6B, 0x8B6E, 0x11D1, {0x8A, 0xE0, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
struct KsPinMediums : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE KsQueryMediums(KSMULTIPLE_ITEM** mediums) = 0;
};
const IID kIidKsControl = {0x28F54685, 0x06FD, 0x11D2, {0xB2, 0x7A, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
struct KsControl : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE KsProperty(KSPROPERTY* property, ULONG propertySize, void* data, ULONG dataSize,
                                                 ULONG* returned) = 0;
};
struct KsPinFactoryId : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE KsPinFactory(ULONG* id) = 0;
};

}  // namespace ks

namespace {

using ks::kIidKsControl;
using ks::kIidKsPin;
using ks::kIidKsPinFactory;
using ks::KsControl;
using ks::KsPinFactoryId;
using ks::KsPinMediums;

// KSPROPSETID_Pin and its "necessary instances" property.
const GUID kKsPinPropertySet = {0x8C134960, 0x51AD, 0x11CF, {0x87, 0x8A, 0x94, 0xF8, 0x01, 0xC1, 0x00, 0x00}};
constexpr ULONG kPinNecessaryInstances = 9;

// The medium set identifiers of a pin; `known` false when it reports none.
std::vector<GUID> PinMediumSets(IPin* pin, bool& known)
{
    known = false;
    std::vector<GUID> sets;
    ComPtr<KsPinMediums> ks;
    if (FAILED(pin->QueryInterface(kIidKsPin, ks.PutVoid())))
        return sets;
    KSMULTIPLE_ITEM* list = nullptr;
    if (FAILED(ks->KsQueryMediums(&list)) || !list)
        return sets;
    const auto* medium = reinterpret_cast<const KSPIN_MEDIUM*>(list + 1);
    const ULONG available = list->Size > sizeof(KSMULTIPLE_ITEM) ? (list->Size - sizeof(KSMULTIPLE_ITEM)) / sizeof(KSPIN_MEDIUM) : 0;
    for (ULONG i = 0; i < list->Count && i < available; ++i)
        sets.push_back(medium[i].Set);
    CoTaskMemFree(list);
    known = !sets.empty();
    return sets;
}

// A pin whose filter needs other than exactly one instance of it cannot be joined by medium.
bool MediumsUsable(IBaseFilter* source, IPin* pin)
{
    ComPtr<KsPinFactoryId> factory;
    ComPtr<KsControl> control;
    ULONG id = 0;
    if (FAILED(pin->QueryInterface(kIidKsPinFactory, factory.PutVoid())) || FAILED(factory->KsPinFactory(&id)) ||
        FAILED(source->QueryInterface(kIidKsControl, control.PutVoid())))
        return true;
    KSP_PIN property{};
    property.Property.Set = kKsPinPropertySet;
    property.Property.Id = kPinNecessaryInstances;
    property.Property.Flags = KSPROPERTY_TYPE_GET;
    property.PinId = id;
    ULONG instances = 0, returned = 0;
    const HRESULT hr = control->KsProperty(&property.Property, sizeof property, &instances, sizeof instances, &returned);
    return !(SUCCEEDED(hr) && returned == sizeof instances && instances != 1);
}

std::vector<TypePair> PinTypes(IPin* pin)
{
    std::vector<TypePair> types;
    ComPtr<IEnumMediaTypes> e;
    if (FAILED(pin->EnumMediaTypes(e.Put())) || !e)
        return types;
    AM_MEDIA_TYPE* t = nullptr;
    while (e->Next(1, &t, nullptr) == S_OK) {
        types.emplace_back(t->majortype, t->subtype);
        dshow::DeleteMediaType(t);
        t = nullptr;
    }
    return types;
}

PIN_DIRECTION Opposite(PIN_DIRECTION d)
{
    return d == PINDIR_OUTPUT ? PINDIR_INPUT : PINDIR_OUTPUT;
}

}  // namespace

HRESULT MediaGraph::ConnectPins(IPin* input, IPin* output, const AM_MEDIA_TYPE* type)
{
    if (!input || !output)
        return E_FAIL;
    ComPtr<IPin> peer;
    if (SUCCEEDED(input->ConnectedTo(peer.Put())) && peer)
        return peer.Get() == output ? S_OK : E_FAIL;
    if (SUCCEEDED(output->ConnectedTo(peer.Put())) && peer)
        return peer.Get() == input ? S_OK : E_FAIL;
    if (!d_pGraph)
        return E_FAIL;
    const HRESULT hr = d_pGraph->ConnectDirect(output, input, type);
    if (FAILED(hr))
        return TraceFailure("IGraphBuilder::ConnectDirect", hr);
    return hr;
}

HRESULT MediaGraph::ConnectToFirstInput(IBaseFilter* filter, IPin* output)
{
    if (!filter || !output)
        return E_FAIL;
    ComPtr<IPin> input = FindPinByType(filter, PINDIR_INPUT, GUID_NULL, GUID_NULL);
    if (!input)
        return E_FAIL;
    return ConnectPins(input.Get(), output, nullptr);
}

HRESULT MediaGraph::RenderAllOutputs(IBaseFilter* source, IBaseFilter* target)
{
    if (!source || !target || !d_pGraph)
        return E_FAIL;
    ComPtr<ICaptureGraphBuilder2> builder;
    HRESULT hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                                  builder.PutVoid());
    if (FAILED(hr))
        return TraceFailure("CoCreateInstance(CLSID_CaptureGraphBuilder2)", hr);
    if (FAILED(hr = builder->SetFiltergraph(d_pGraph.Get())))
        return TraceFailure("ICaptureGraphBuilder2::SetFiltergraph", hr);
    bool any = false;
    for (int n = 0;; ++n) {
        ComPtr<IPin> pin = FindPinByOrdinal(source, PINDIR_OUTPUT, n);
        if (!pin)
            break;
        if (IsConnected(pin.Get())) {
            any = true;
            continue;
        }
        if (!PinOffersType(pin.Get(), MEDIATYPE_Video, GUID_NULL) && !PinOffersType(pin.Get(), MEDIATYPE_Audio, GUID_NULL) &&
            !PinOffersType(pin.Get(), MEDIATYPE_Stream, GUID_NULL))
            continue;
        hr = builder->RenderStream(nullptr, nullptr, pin.Get(), nullptr, target);
        if (SUCCEEDED(hr))
            any = true;
        else
            TraceFailure("ICaptureGraphBuilder2::RenderStream", hr);
    }
    return any ? S_OK : E_FAIL;
}

HRESULT MediaGraph::ConnectByMedium(IBaseFilter* source, IBaseFilter* target)
{
    if (!source || !target || !d_pGraph)
        return E_FAIL;
    bool any = false;
    for (int n = 0;; ++n) {
        ComPtr<IPin> out = FindPinByOrdinal(source, PINDIR_OUTPUT, n);
        if (!out)
            break;
        if (IsConnected(out.Get()))
            continue;
        bool outHasMediums = false;
        std::vector<GUID> outSets;
        if (MediumsUsable(source, out.Get()))
            outSets = PinMediumSets(out.Get(), outHasMediums);
        const std::vector<TypePair> outTypes = outHasMediums ? std::vector<TypePair>() : PinTypes(out.Get());
        const std::vector<ComPtr<IPin>> candidates = EnumeratePins(target);
        for (int i : ExaminationOrder(static_cast<int>(candidates.size()))) {
            IPin* candidate = candidates[i].Get();
            PIN_DIRECTION d = PINDIR_OUTPUT;
            if (FAILED(candidate->QueryDirection(&d)) || d != Opposite(PINDIR_OUTPUT) || IsConnected(candidate))
                continue;
            bool candidateKnown = false;
            const bool match = outHasMediums ? MediumsMatch(outSets, PinMediumSets(candidate, candidateKnown))
                                             : TypesMatch(outTypes, PinTypes(candidate));
            if (!match)
                continue;
            const HRESULT hr = d_pGraph->Connect(out.Get(), candidate);
            if (SUCCEEDED(hr)) {
                any = true;
                break;
            }
            TraceFailure("IGraphBuilder::Connect", hr);
            break;  // the first matching candidate is the one to use
        }
    }
    return any ? S_OK : E_FAIL;
}

}  // namespace media
