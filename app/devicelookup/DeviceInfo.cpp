#include "DeviceInfo.h"

#include "DeviceNaming.h"

#include <cfgmgr32.h>
#include <setupapi.h>

#include <win/DevInfo.h>
#include <win/Handle.h>

#include <vector>

namespace devices {

const GUID kCaptureInterfaceClass = {0xF0B3DD10, 0xE296, 0x49FD, {0x98, 0x87, 0x7C, 0xAC, 0x73, 0xF7, 0x5B, 0x04}};

namespace {

// A registry property as text: Setup API first (size, then a buffer one byte longer), the
// configuration manager (whose property numbers are one higher) when the Setup API fails for
// any reason other than the size.
std::string ReadProperty(HDEVINFO set, SP_DEVINFO_DATA& dev, DWORD property)
{
    DWORD size = 0, type = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(set, &dev, property, &type, nullptr, 0, &size) &&
        GetLastError() == ERROR_INSUFFICIENT_BUFFER && size > 0) {
        std::vector<BYTE> buf(size + 1, 0);
        if (SetupDiGetDeviceRegistryPropertyA(set, &dev, property, &type, buf.data(), size, nullptr))
            return reinterpret_cast<const char*>(buf.data());
    }
    if (GetLastError() == ERROR_INSUFFICIENT_BUFFER)
        return {};
    ULONG cmSize = 0;
    ULONG cmType = 0;
    if (CM_Get_DevNode_Registry_PropertyA(dev.DevInst, property + 1, &cmType, nullptr, &cmSize, 0) != CR_BUFFER_SMALL ||
        cmSize == 0)
        return {};
    std::vector<BYTE> buf(cmSize + 1, 0);
    if (CM_Get_DevNode_Registry_PropertyA(dev.DevInst, property + 1, &cmType, buf.data(), &cmSize, 0) != CR_SUCCESS)
        return {};
    return reinterpret_cast<const char*>(buf.data());
}

DWORD ReadNumberProperty(HDEVINFO set, SP_DEVINFO_DATA& dev, DWORD property)
{
    DWORD value = 0, type = 0;
    if (SetupDiGetDeviceRegistryPropertyA(set, &dev, property, &type, reinterpret_cast<BYTE*>(&value), sizeof value, nullptr))
        return value;
    ULONG size = sizeof value, cmType = 0;
    if (CM_Get_DevNode_Registry_PropertyA(dev.DevInst, property + 1, &cmType, &value, &size, 0) == CR_SUCCESS)
        return value;
    return 0;
}

// Where the system keeps a driver's class key: the NT family and the older family differ.
std::string ClassKeyRoot()
{
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    GetVersionExA(&v);
    return v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? "System\\CurrentControlSet\\Services\\Class\\"
                                                       : "SYSTEM\\CurrentControlSet\\Control\\Class\\";
}

std::string ReadRegistryText(HKEY key, const char* name)
{
    DWORD size = 0, type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0)
        return {};
    std::vector<char> buf(size + 1, 0);
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) != ERROR_SUCCESS)
        return {};
    return buf.data();
}

void ReadDriverKeyValues(DeviceInfo& info)
{
    if (info.driverKey.empty())
        return;
    win::RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (ClassKeyRoot() + info.driverKey).c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return;
    info.driverVersion = ReadRegistryText(key.Get(), "DriverVersion");
    info.driverDate = ReadRegistryText(key.Get(), "DriverDate");
}

// The bus enumerator of a device, where neither property source knows it: the first part of
// its instance identifier ("PCI\VEN_...", "USB\VID_...") names the enumerator that made it.
std::string EnumeratorFromInstanceId(HDEVINFO set, SP_DEVINFO_DATA& dev)
{
    char id[512];
    if (!SetupDiGetDeviceInstanceIdA(set, &dev, id, sizeof id, nullptr))
        return {};
    std::string s = id;
    return s.substr(0, s.find('\\'));
}

// The path of an interface and the device that carries it.
bool ReadInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& ifd, std::string& path, SP_DEVINFO_DATA& dev)
{
    DWORD needed = 0;
    SetupDiGetDeviceInterfaceDetailA(set, &ifd, nullptr, 0, &needed, nullptr);
    if (needed == 0)
        return false;
    std::vector<BYTE> buf(needed + 1, 0);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buf.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    dev = SP_DEVINFO_DATA{};
    dev.cbSize = sizeof dev;
    if (!SetupDiGetDeviceInterfaceDetailA(set, &ifd, detail, needed, nullptr, &dev))
        return false;
    path = detail->DevicePath;
    return true;
}

bool FillInfo(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& ifd, DeviceInfo& info)
{
    std::string path;
    SP_DEVINFO_DATA dev{};
    if (!ReadInterfaceDetail(set, ifd, path, dev))
        return false;
    info = DeviceInfo{};
    info.devInst = dev.DevInst;
    info.devicePath = path;
    info.enumeratorName = ReadProperty(set, dev, SPDRP_ENUMERATOR_NAME);
    if (info.enumeratorName.empty())
        info.enumeratorName = EnumeratorFromInstanceId(set, dev);
    info.uiNumber = ReadNumberProperty(set, dev, SPDRP_UI_NUMBER);
    info.location = ReadProperty(set, dev, SPDRP_LOCATION_INFORMATION);
    info.hardwareIds = ReadProperty(set, dev, SPDRP_HARDWAREID);
    info.driverKey = ReadProperty(set, dev, SPDRP_DRIVER);
    info.description = ReadProperty(set, dev, SPDRP_DEVICEDESC);
    ReadDriverKeyValues(info);
    char text[512] = "";
    if (SendDriverQuery(info.devicePath.c_str(), text, sizeof text - 1))
        info.driverText = text;
    info.displayName = FormatDisplayName(info.description, info.enumeratorName, info.uiNumber, info.devInst);
    return true;
}

// Walks the present interfaces of a class; `visit` returns true to stop.
template <class Visit>
bool ForEachInterface(const GUID* interfaceClass, Visit visit)
{
    const GUID& cls = interfaceClass ? *interfaceClass : kCaptureInterfaceClass;
    win::DevInfoList set(SetupDiGetClassDevsA(&cls, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set.Valid())
        return false;
    SP_DEVICE_INTERFACE_DATA ifd{};
    ifd.cbSize = sizeof ifd;
    for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set.Get(), nullptr, &cls, i, &ifd); ++i) {
        if (visit(set.Get(), ifd, i))
            return true;
    }
    return false;
}

DWORD ParentOf(DWORD devInst)
{
    DEVINST parent = 0;
    return CM_Get_Parent(&parent, devInst, 0) == CR_SUCCESS ? parent : 0;
}

}  // namespace

bool GetDeviceInfo(DWORD index, DeviceInfo* info, const GUID* interfaceClass)
{
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return ForEachInterface(interfaceClass, [&](HDEVINFO set, SP_DEVICE_INTERFACE_DATA& ifd, DWORD i) {
        return i == index && FillInfo(set, ifd, *info);
    });
}

bool FindDeviceInfoByPath(const char* devicePath, DeviceInfo* info, const GUID* interfaceClass)
{
    // An empty path would be a prefix of every path.
    if (!devicePath || !*devicePath || !info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const size_t length = strlen(devicePath);
    return ForEachInterface(interfaceClass, [&](HDEVINFO set, SP_DEVICE_INTERFACE_DATA& ifd, DWORD) {
        DeviceInfo candidate;
        if (!FillInfo(set, ifd, candidate) || _strnicmp(candidate.devicePath.c_str(), devicePath, length) != 0)
            return false;
        *info = std::move(candidate);
        return true;
    });
}

bool FindDevicePathByInstance(DWORD devInst, const GUID* interfaceClass, std::string* path, bool relatives)
{
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return ForEachInterface(interfaceClass, [&](HDEVINFO set, SP_DEVICE_INTERFACE_DATA& ifd, DWORD) {
        std::string candidate;
        SP_DEVINFO_DATA dev{};
        if (!ReadInterfaceDetail(set, ifd, candidate, dev))
            return false;
        if (dev.DevInst != devInst && !(relatives && AreRelatives(devInst, dev.DevInst, ParentOf)))
            return false;
        *path = std::move(candidate);
        return true;
    });
}

void FreeDeviceInfo(DeviceInfo* info)
{
    if (info)
        *info = DeviceInfo{};
}

bool SendDriverQuery(const char* devicePath, void* buffer, DWORD size)
{
    if (!devicePath || !buffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    win::Handle device(CreateFileA(devicePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!device.Valid())
        return false;
    DWORD returned = 0;
    return DeviceIoControl(device.Get(), kDriverQueryCode, nullptr, 0, buffer, size, &returned, nullptr) != FALSE;
}

}  // namespace devices
