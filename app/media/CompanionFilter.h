#pragma once
// Finding the device filter of a category that connects to a given filter, tried in a
// scratch graph so the caller's graph is never disturbed.
#include "DeviceInfo.h"

#include <windows.h>
#include <dshow.h>

#include <string>

namespace media {

// Walks the devices of `category`; the first one that connects to `source` (render-all mode:
// RenderAllOutputs, else ConnectByMedium) is returned with, when asked, its DeviceInfo, its
// "CLSID" and its friendly name. E_FAIL when none connects.
HRESULT FindCompanionFilter(IBaseFilter* source, const GUID& category, bool renderAll, IBaseFilter** companion,
                            devices::DeviceInfo* info, CLSID* clsid, std::string* friendlyName);

}  // namespace media
