#pragma once
// Binding a card's filter the way the device layer does: through the system device
// enumerator, by the category of its role and the "DevicePath" its moniker carries.
#include "DeviceModel.h"

#include "dshowbase/ComPtr.h"

#include <dshow.h>

#include <string>

namespace vcap {

dshow::ComPtr<IBaseFilter> BindByPath(const GUID& category, const std::wstring& devicePath);
// The filter of `role` on `card`; empty when the card has no such filter or it cannot bind.
dshow::ComPtr<IBaseFilter> BindCardFilter(const CardRecord& card, FilterRole role);

}  // namespace vcap
