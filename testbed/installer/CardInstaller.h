#pragma once
// Installs a virtual card into the running Wine prefix the way a driver package would leave it:
// a root-enumerated device with one device interface per filter category plus the capture
// interface class, all made present, and the filters listed with the filter mapper in those
// categories with the interface path as their "DevicePath".
#include "DeviceModel.h"

#include <string>

namespace vcap {

// Installs card `number` (1, 2, ...). Fails when that card is already installed.
bool InstallCard(int number, const Personality& personality, CardRecord& installed, std::wstring& error);

// Removes the card's device (its interfaces go with it) and its filter registrations.
bool UninstallCard(int number, std::wstring& error);

}  // namespace vcap
