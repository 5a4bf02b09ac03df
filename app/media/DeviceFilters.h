#pragma once
// DirectShow filters of devices, found through the system device enumerator.
#include "DeviceInfo.h"

#include <dshow.h>

#include <string>

namespace devices {

// The first device of `category` whose "DevicePath" equals `devicePath` and whose
// "FriendlyName" equals `friendlyName` (each case-insensitive, each only when given), bound to a
// filter. A bind that reports file-not-found counts as success with no filter. E_UNEXPECTED
// when the category holds no such device. `name` receives the device's friendly name.
HRESULT FindDeviceFilter(const GUID& category, const char* friendlyName, const char* devicePath, IBaseFilter** filter,
                         std::string* name);

// The filter of the interface of `category` that belongs to `devInst` or a relative of it.
HRESULT FindDeviceFilterByInstance(DWORD devInst, const GUID& category, IBaseFilter** filter, std::string* name,
                                   DeviceInfo* info);

// Wide and ANSI conversions at the COM boundary.
std::wstring Widen(const std::string& s);
std::string Narrow(const wchar_t* s);

}  // namespace devices
