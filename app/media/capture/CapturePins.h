#pragma once
// Small pin helpers the capture engine's builders share.
#include <windows.h>
#include <dshow.h>

#include "win/ComPtr.h"

namespace capture {

// Connects `output` directly to the first free input of `filter` that takes it.
HRESULT ConnectToFreeInput(IGraphBuilder* graph, IBaseFilter* filter, IPin* output);
// The last free output of a filter (an infinite tee's spare output).
win::ComPtr<IPin> LastFreeOutput(IBaseFilter* filter);
// The filter a pin belongs to.
win::ComPtr<IBaseFilter> OwnerOf(IPin* pin);
// The pin a pin is connected to, empty when it is free.
win::ComPtr<IPin> PeerOf(IPin* pin);

}  // namespace capture
