#pragma once
// Finding pins on a filter. Pins are enumerated in one batch of at most 64 and examined from
// the last enumerated to the first; the first hit wins. Pins come back with a reference.
#include <win/ComPtr.h>

#include <windows.h>
#include <dshow.h>

#include <vector>

namespace media {

// The examination order over `count` enumerated pins: indices from the last to the first.
std::vector<int> ExaminationOrder(int count);
// Index of the pin of `direction` that has `n` pins of the same direction before it in the
// examination order; -1 when there is none.
int PickByOrdinal(const std::vector<PIN_DIRECTION>& enumerated, PIN_DIRECTION direction, int n);

// Major and sub-type GUID_NULL are wildcards; both null matches any pin of the direction.
win::ComPtr<IPin> FindPinByType(IBaseFilter* filter, PIN_DIRECTION direction, const GUID& major, const GUID& subtype);
win::ComPtr<IPin> FindPinByOrdinal(IBaseFilter* filter, PIN_DIRECTION direction, int n);
win::ComPtr<IPin> FindPinOfDirection(IBaseFilter* filter, PIN_DIRECTION direction);
win::ComPtr<IPin> FindPinByName(IBaseFilter* filter, const wchar_t* name);
win::ComPtr<IPin> FindPinByCategory(IBaseFilter* filter, const GUID& category);
win::ComPtr<IPin> PinAtIndex(IBaseFilter* filter, int n);

// Helpers the connection and teardown code share.
std::vector<win::ComPtr<IPin>> EnumeratePins(IBaseFilter* filter);
bool IsConnected(IPin* pin);
// The filters of a graph, each with a reference.
std::vector<win::ComPtr<IBaseFilter>> EnumerateFilters(IGraphBuilder* graph);
// Every filter of the graph that can draw through an overlay keeps doing so in full screen.
void UseOverlayWhenFullScreen(IGraphBuilder* graph);
bool PinOffersType(IPin* pin, const GUID& major, const GUID& subtype);

}  // namespace media
