#pragma once
// What the card's filter tests share: registering vcap.ax and binding a card's filter the way
// the device layer does (system device enumerator, matched by "DevicePath").
#include "dshowbase/ComPtr.h"

#include <windows.h>
#include <dshow.h>

#include <string>

namespace cardtest {

bool RegisterFilters();
dshow::ComPtr<IBaseFilter> BindByPath(const GUID& category, const std::wstring& path);

}  // namespace cardtest
