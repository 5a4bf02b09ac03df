#include "CardPreview.h"

#include "CardControl.h"
#include "CardInstaller.h"
#include "CrossbarModel.h"
#include "DeviceCategories.h"
#include "PinFinders.h"

#include <uuids.h>

namespace standardtest {

namespace {

const CLSID kNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

void RemoveAllCards()
{
    std::wstring error;
    for (const vcap::CardRecord& c : vcap::LoadAllCards())
        vcap::UninstallCard(c.number, error);
}

std::string PathOf(const vcap::CardRecord& card, vcap::FilterRole role)
{
    const std::wstring& path = card.paths[static_cast<int>(role)];
    return std::string(path.begin(), path.end());
}

win::ComPtr<IBaseFilter> Shared(const win::ComPtr<IBaseFilter>& filter)
{
    return win::ComPtr<IBaseFilter>::Share(filter.Get());
}

}  // namespace

CardPreview::CardPreview(const std::string& profile) : profile_(profile)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kRegistryKey).c_str());
    RemoveAllCards();
    std::wstring error;
    vcap::InstallCard(1, vcap::Personality{}, card, error);
    settings.templateSection = "Custom\\Test";
    settings.source = 1;  // composite, the card's own choice at power-up
    engine = std::make_shared<media::VideoStandardEngine>(Store(), &settings);
    engine->SetHost(&host);
}

CardPreview::~CardPreview()
{
    engine->Detach();
    engine->SetHost(nullptr);
    if (control)
        control->Stop();
    control.Reset();
    crossbar.Reset();
    capture.Reset();
    encoder.Reset();
    graph.DestroyGraph();
    RemoveAllCards();
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kRegistryKey).c_str());
}

bool CardPreview::Start(std::string* error)
{
    win::ComPtr<IBaseFilter> x, c, e, sink;
    HRESULT hr = graph.AddDeviceFilterByPath(PathOf(card, vcap::FilterRole::Crossbar).c_str(), devices::kCategoryCrossbar, x.Put());
    if (SUCCEEDED(hr))
        hr = graph.AddDeviceFilterByPath(PathOf(card, vcap::FilterRole::Capture).c_str(), devices::kCategoryCapture, c.Put());
    if (SUCCEEDED(hr))
        hr = graph.AddDeviceFilterByPath(PathOf(card, vcap::FilterRole::Encoder).c_str(), devices::kCategoryEncoder, e.Put());
    if (FAILED(hr)) {
        *error = "the card's filters were not added";
        return false;
    }
    if (FAILED(graph.ConnectByMedium(x.Get(), c.Get())) || FAILED(graph.ConnectByMedium(c.Get(), e.Get()))) {
        *error = "the card's wires did not connect";
        return false;
    }
    win::ComPtr<IPin> stream = media::FindPinByType(e.Get(), PINDIR_OUTPUT, MEDIATYPE_Stream, GUID_NULL);
    if (!stream || FAILED(graph.AddFilterByClsid(kNullRenderer, L"Null Renderer", sink.Put())) ||
        FAILED(graph.ConnectToFirstInput(sink.Get(), stream.Get()))) {
        *error = "the stream did not reach the renderer";
        return false;
    }
    crossbar = Shared(x);
    capture = Shared(c);
    encoder = Shared(e);
    graph.Graph()->QueryInterface(IID_IMediaControl, control.PutVoid());
    media::StandardGraph g;
    g.crossbar = crossbar;
    g.capture = capture;
    g.control = control;
    engine->Attach(std::move(g));
    if (FAILED(hr = graph.RunGraph())) {
        *error = "the graph did not run";
        return false;
    }
    return true;
}

OAFilterState CardPreview::State() const
{
    OAFilterState state = -1;
    if (control)
        control->GetState(3000, &state);
    return state;
}

void CardPreview::Route(long* video, long* audio) const
{
    vcap::ReadRoute(card.number, *video, *audio);
}

long CardPreview::DecoderStandard() const
{
    long standard = -1;
    if (const win::ComPtr<IAMAnalogVideoDecoder> decoder = media::DecoderOf(capture.Get()))
        decoder->get_TVFormat(&standard);
    return standard;
}

void OnlyLive(long live, long standard)
{
    vcap::SetSignal(1, false);
    vcap::SetInputSignal(1, live, true);
    vcap::SetInputStandard(1, live, standard);
}

}  // namespace standardtest
