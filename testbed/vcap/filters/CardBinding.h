#pragma once
// Binding a card's filter the way the device layer does: through the system device
// enumerator, by the category of its role and the "DevicePath" its moniker carries.
#include "DeviceModel.h"

#include <win/ComPtr.h>

#include <dshow.h>

#include <string>

namespace vcap {

win::ComPtr<IBaseFilter> BindByPath(const GUID& category, const std::wstring& devicePath);
// The filter of `role` on `card`; empty when the card has no such filter or it cannot bind.
win::ComPtr<IBaseFilter> BindCardFilter(const CardRecord& card, FilterRole role);

}  // namespace vcap
