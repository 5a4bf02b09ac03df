#pragma once
// What the system knows about one device interface: Setup API properties, the driver's class
// key values and the driver's own answer to its query. Strings are ANSI, as the program uses.
#include <windows.h>

#include <string>

namespace devices {

// The interface class every capture card of this family exposes; enumerated by default and
// registered for arrival and removal notifications.
extern const GUID kCaptureInterfaceClass;

struct DeviceInfo {
    DWORD devInst = 0;             // SP_DEVINFO_DATA.DevInst
    std::string devicePath;        // the interface's DevicePath
    std::string displayName;       // see FormatDisplayName
    std::string enumeratorName;    // SPDRP_ENUMERATOR_NAME ("PCI", "USB", ...)
    DWORD uiNumber = 0;            // SPDRP_UI_NUMBER
    std::string location;          // SPDRP_LOCATION_INFORMATION
    std::string driverText;        // the driver's answer to kDriverQueryCode; empty when it has none
    std::string hardwareIds;       // SPDRP_HARDWAREID (first entry of the list)
    std::string driverKey;         // SPDRP_DRIVER
    std::string driverVersion;     // "DriverVersion" of the driver key in the class registry
    std::string driverDate;        // "DriverDate" of the driver key in the class registry
    std::string description;       // SPDRP_DEVICEDESC
};

constexpr DWORD kDriverQueryCode = 0x80002002;

// The index-th present interface of the class (null: kCaptureInterfaceClass).
bool GetDeviceInfo(DWORD index, DeviceInfo* info, const GUID* interfaceClass);
// The first present interface whose path starts with `devicePath` (case-insensitive).
bool FindDeviceInfoByPath(const char* devicePath, DeviceInfo* info, const GUID* interfaceClass);
// The path of the first present interface of the class that belongs to `devInst` or, with
// `relatives`, to an ancestor or descendant of it.
bool FindDevicePathByInstance(DWORD devInst, const GUID* interfaceClass, std::string* path, bool relatives);
void FreeDeviceInfo(DeviceInfo* info);

// Asks the driver behind `devicePath` for its text (kDriverQueryCode); false when it does not answer.
bool SendDriverQuery(const char* devicePath, void* buffer, DWORD size);

}  // namespace devices
