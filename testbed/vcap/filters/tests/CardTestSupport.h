#pragma once
// What the card's filter tests share: registering vcap.ax and binding a card's filter the way
// the device layer does (system device enumerator, matched by "DevicePath").
#include "dshowbase/ComPtr.h"

#include <windows.h>
#include <dshow.h>

#include <string>
#include <vector>

namespace cardtest {

// The card's filters registered by the test bed's installer, as the demo has them.
bool RegisterFilters();
dshow::ComPtr<IBaseFilter> BindByPath(const GUID& category, const std::wstring& path);

std::vector<dshow::ComPtr<IPin>> Pins(IBaseFilter* f, PIN_DIRECTION dir);
// The medium set identifiers of a pin (IKsPin::KsQueryMediums), without the standard medium.
std::vector<GUID> MediumSets(IPin* pin);
// The program's medium rule: an output whose filter reports one necessary instance connects
// to an unconnected target input sharing a medium set. S_OK when any pin connected.
HRESULT ConnectByMedium(IGraphBuilder* graph, IBaseFilter* source, IBaseFilter* target);

}  // namespace cardtest
