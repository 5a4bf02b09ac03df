#include "CapturePins.h"

#include "PinFinders.h"

namespace capture {

HRESULT ConnectToFreeInput(IGraphBuilder* graph, IBaseFilter* filter, IPin* output)
{
    if (!graph || !filter || !output)
        return E_POINTER;
    HRESULT last = VFW_E_NO_ACCEPTABLE_TYPES;
    for (const win::ComPtr<IPin>& pin : media::EnumeratePins(filter)) {
        PIN_DIRECTION d = PINDIR_OUTPUT;
        if (FAILED(pin->QueryDirection(&d)) || d != PINDIR_INPUT || media::IsConnected(pin.Get()))
            continue;
        last = graph->ConnectDirect(output, pin.Get(), nullptr);
        if (SUCCEEDED(last))
            return last;
    }
    return last;
}

win::ComPtr<IPin> LastFreeOutput(IBaseFilter* filter)
{
    win::ComPtr<IPin> found;
    for (const win::ComPtr<IPin>& pin : media::EnumeratePins(filter)) {
        PIN_DIRECTION d = PINDIR_INPUT;
        if (SUCCEEDED(pin->QueryDirection(&d)) && d == PINDIR_OUTPUT && !media::IsConnected(pin.Get()))
            found = pin;
    }
    return found;
}

win::ComPtr<IBaseFilter> OwnerOf(IPin* pin)
{
    PIN_INFO info{};
    if (!pin || FAILED(pin->QueryPinInfo(&info)))
        return {};
    return win::ComPtr<IBaseFilter>::Adopt(info.pFilter);
}

win::ComPtr<IPin> PeerOf(IPin* pin)
{
    win::ComPtr<IPin> peer;
    if (pin)
        pin->ConnectedTo(peer.Put());
    return peer;
}

}  // namespace capture
