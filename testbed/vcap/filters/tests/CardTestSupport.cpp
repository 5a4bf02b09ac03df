#include "CardTestSupport.h"

#include "CardBinding.h"
#include "CardInstaller.h"

#include "KsPinInterfaces.h"
#include "TestSupport.h"

#include <algorithm>

using win::ComPtr;

namespace cardtest {

void CardTest::SetUpTestSuite()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(testsupport::RegisterTestBedFilters());
}

void CardTest::TearDownTestSuite() { CoUninitialize(); }

void CardTest::SetUp() { RemoveAll(); }

void CardTest::TearDown() { RemoveAll(); }

void CardTest::RemoveAll()
{
    std::wstring error;
    for (const vcap::CardRecord& c : vcap::LoadAllCards())
        vcap::UninstallCard(c.number, error);
}

vcap::CardRecord CardTest::Install(int number, const vcap::Personality& personality)
{
    vcap::CardRecord card;
    std::wstring error;
    EXPECT_TRUE(vcap::InstallCard(number, personality, card, error)) << error;
    return card;
}

vcap::CardRecord CardTest::Install(int number, uint32_t deviceType)
{
    vcap::Personality p;
    p.deviceType = deviceType;
    return Install(number, p);
}

ComPtr<IBaseFilter> CardTest::Bind(const vcap::CardRecord& card, vcap::FilterRole role)
{
    return vcap::BindByPath(*vcap::Role(role).category, card.paths[static_cast<int>(role)]);
}

std::vector<ComPtr<IPin>> Pins(IBaseFilter* f, PIN_DIRECTION dir)
{
    std::vector<ComPtr<IPin>> out;
    ComPtr<IEnumPins> e;
    if (FAILED(f->EnumPins(e.Put())))
        return out;
    ComPtr<IPin> p;
    while (e->Next(1, p.Put(), nullptr) == S_OK) {
        PIN_DIRECTION d;
        if (SUCCEEDED(p->QueryDirection(&d)) && d == dir)
            out.push_back(p);
    }
    return out;
}

std::vector<GUID> MediumSets(IPin* pin)
{
    std::vector<GUID> sets;
    ComPtr<IKsPin> ks;
    KSMULTIPLE_ITEM* items = nullptr;
    if (FAILED(pin->QueryInterface(vcap::kIidKsPin, ks.PutVoid())) || FAILED(ks->KsQueryMediums(&items)))
        return sets;
    const auto* m = reinterpret_cast<const KSPIN_MEDIUM*>(items + 1);
    for (ULONG i = 0; i < items->Count; ++i) {
        if (m[i].Set != GUID_NULL && m[i].Set != vcap::kMediumSetStandard)
            sets.push_back(m[i].Set);
    }
    CoTaskMemFree(items);
    return sets;
}

// The medium rule the program uses: an output whose filter reports one necessary instance
// connects to an unconnected target input that shares a medium set.
HRESULT ConnectByMedium(IGraphBuilder* graph, IBaseFilter* source, IBaseFilter* target)
{
    ComPtr<IKsControl> control;
    source->QueryInterface(vcap::kIidKsControl, control.PutVoid());
    int connected = 0;
    for (const ComPtr<IPin>& out : Pins(source, PINDIR_OUTPUT)) {
        ComPtr<IPin> peer;
        if (out->ConnectedTo(peer.Put()) == S_OK)
            continue;
        ComPtr<IKsPinFactory> factory;
        ULONG id = 0;
        if (control && SUCCEEDED(out->QueryInterface(vcap::kIidKsPinFactory, factory.PutVoid())) &&
            SUCCEEDED(factory->KsPinFactory(&id))) {
            KSP_PIN prop{};
            prop.Property.Set = vcap::kPropSetPin;
            prop.Property.Id = KSPROPERTY_PIN_NECESSARYINSTANCES;
            prop.Property.Flags = KSPROPERTY_TYPE_GET;
            prop.PinId = id;
            ULONG instances = 0, returned = 0;
            if (SUCCEEDED(control->KsProperty(&prop.Property, sizeof prop, &instances, sizeof instances, &returned)) &&
                returned == 4 && instances != 1)
                continue;
        }
        const std::vector<GUID> mine = MediumSets(out.Get());
        for (const ComPtr<IPin>& in : Pins(target, PINDIR_INPUT)) {
            ComPtr<IPin> other;
            if (in->ConnectedTo(other.Put()) == S_OK)
                continue;
            bool match = false;
            for (const GUID& g : MediumSets(in.Get()))
                match = match || std::find(mine.begin(), mine.end(), g) != mine.end();
            if (match && SUCCEEDED(graph->Connect(out.Get(), in.Get()))) {
                ++connected;
                break;
            }
        }
    }
    return connected ? S_OK : E_FAIL;
}

}  // namespace cardtest
