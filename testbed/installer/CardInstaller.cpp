#include "CardInstaller.h"

#include <windows.h>
#include <dshow.h>
#include <setupapi.h>

#include <cwchar>
#include <vector>

#include <win/ComPtr.h>
#include <win/DevInfo.h>
#include <win/Handle.h>

namespace vcap {
namespace {

// Device setup class "MEDIA".
const GUID kMediaSetupClass = {0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

const wchar_t kDeviceClassesKey[] = L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\";

std::wstring GuidText(const GUID& g)
{
    wchar_t buf[64];
    StringFromGUID2(g, buf, 64);
    return buf;
}

std::wstring LastErrorText(const wchar_t* what)
{
    return std::wstring(what) + L" failed with error " + std::to_wstring(GetLastError());
}

// A driver marks its interfaces enabled; here the installer does it: every reference-string
// sub-key ("#...") of the interface's key gets Control\Linked = 1.
bool MarkInterfacePresent(const GUID& category, const std::wstring& path)
{
    const std::wstring classKey = kDeviceClassesKey + GuidText(category);
    win::RegKey cls;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, classKey.c_str(), 0, KEY_READ, cls.Put()) != ERROR_SUCCESS)
        return false;
    bool marked = false;
    wchar_t name[512];
    for (DWORD i = 0;; ++i) {
        DWORD len = 512;
        if (RegEnumKeyExW(cls.Get(), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        win::RegKey ifc;
        if (RegOpenKeyExW(cls.Get(), name, 0, KEY_READ, ifc.Put()) != ERROR_SUCCESS)
            continue;
        wchar_t sub[512];
        for (DWORD j = 0;; ++j) {
            DWORD subLen = 512;
            if (RegEnumKeyExW(ifc.Get(), j, sub, &subLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            if (sub[0] != L'#')
                continue;
            win::RegKey refKey;
            if (RegOpenKeyExW(ifc.Get(), sub, 0, KEY_READ, refKey.Put()) != ERROR_SUCCESS)
                continue;
            wchar_t link[1024];
            DWORD size = sizeof link - sizeof(wchar_t), type = 0;
            if (RegQueryValueExW(refKey.Get(), L"SymbolicLink", nullptr, &type, reinterpret_cast<BYTE*>(link), &size) != ERROR_SUCCESS)
                continue;
            link[size / sizeof(wchar_t)] = 0;
            if (_wcsicmp(link, path.c_str()) != 0)
                continue;
            win::RegKey control;
            const std::wstring controlKey = classKey + L"\\" + name + L"\\" + sub + L"\\Control";
            if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, controlKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                control.Put(), nullptr) != ERROR_SUCCESS)
                return false;
            const DWORD one = 1;
            marked = RegSetValueExW(control.Get(), L"Linked", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one) == ERROR_SUCCESS;
        }
    }
    return marked;
}

bool CreateInterface(HDEVINFO set, SP_DEVINFO_DATA& dev, const GUID& category, const wchar_t* reference,
                     std::wstring& path, std::wstring& error)
{
    SP_DEVICE_INTERFACE_DATA ifd{};
    ifd.cbSize = sizeof ifd;
    if (!SetupDiCreateDeviceInterfaceW(set, &dev, &category, reference, 0, &ifd)) {
        error = LastErrorText(L"SetupDiCreateDeviceInterface");
        return false;
    }
    DWORD needed = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &ifd, nullptr, 0, &needed, nullptr);
    std::vector<BYTE> buf(needed + sizeof(wchar_t));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buf.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (needed == 0 || !SetupDiGetDeviceInterfaceDetailW(set, &ifd, detail, needed, nullptr, nullptr)) {
        error = LastErrorText(L"SetupDiGetDeviceInterfaceDetail");
        return false;
    }
    path = detail->DevicePath;
    if (!MarkInterfacePresent(category, path)) {
        error = L"could not mark the interface " + path + L" present";
        return false;
    }
    return true;
}

std::wstring MapperInstanceName(int number, FilterRole role)
{
    return L"Virtual MPEG Card " + std::to_wstring(number) + L" " + Role(role).suffix;
}

bool RegisterFilter(IFilterMapper2* mapper, const CardRecord& card, const RoleInfo& r, std::wstring& error)
{
    REGFILTER2 rf = {};
    rf.dwVersion = 1;
    rf.dwMerit = MERIT_DO_NOT_USE;
    rf.cPins = 0;
    const std::wstring friendly = FilterFriendlyName(card, r.role);
    const std::wstring instance = MapperInstanceName(card.number, r.role);
    HRESULT hr = mapper->RegisterFilter(*r.filterClsid, friendly.c_str(), nullptr, r.category, instance.c_str(), &rf);
    if (FAILED(hr)) {
        error = L"IFilterMapper2::RegisterFilter failed for " + friendly;
        return false;
    }
    // The device enumerator hands every value of the instance key to the filter's property bag.
    const std::wstring key = L"Software\\Classes\\CLSID\\" + GuidText(*r.category) + L"\\Instance\\" + instance;
    win::RegKey k;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_SET_VALUE, k.Put()) != ERROR_SUCCESS) {
        error = L"filter key missing: " + key;
        return false;
    }
    const std::wstring& path = card.paths[static_cast<int>(r.role)];
    if (RegSetValueExW(k.Get(), L"DevicePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
        error = L"cannot write DevicePath under " + key;
        return false;
    }
    return true;
}

const wchar_t* LocationText(Bus bus)
{
    switch (bus) {
    case Bus::Pci: return L"PCI bus 2, device 3, function 0";
    case Bus::Usb11: return L"Port_#0001.Hub_#0001";
    case Bus::Usb20: return L"Port_#0002.Hub_#0003";
    default: return L"IEEE 1394 node 1";
    }
}

class ComInit {
public:
    ComInit() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComInit()
    {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }

private:
    HRESULT hr_;
};

}  // namespace

bool InstallCard(int number, const Personality& personality, CardRecord& card, std::wstring& error)
{
    CardRecord existing;
    if (LoadCard(number, existing)) {
        error = L"card " + std::to_wstring(number) + L" is already installed";
        return false;
    }
    ComInit com;
    card = CardRecord{};
    card.number = number;
    card.name = CardName(number);
    card.personality = personality;

    win::DevInfoList set(SetupDiCreateDeviceInfoList(&kMediaSetupClass, nullptr));
    if (!set.Valid()) {
        error = LastErrorText(L"SetupDiCreateDeviceInfoList");
        return false;
    }
    SP_DEVINFO_DATA dev{};
    dev.cbSize = sizeof dev;
    if (!SetupDiCreateDeviceInfoW(set.Get(), L"MAROVIN_VCAP", &kMediaSetupClass, card.name.c_str(), nullptr,
                                  DICD_GENERATE_ID, &dev) ||
        !SetupDiRegisterDeviceInfo(set.Get(), &dev, 0, nullptr, nullptr, nullptr)) {
        error = LastErrorText(L"creating the device");
        return false;
    }
    static const wchar_t hardwareId[] = L"ROOT\\MAROVIN_VCAP\0";
    const wchar_t* location = LocationText(personality.bus);
    SetupDiSetDeviceRegistryPropertyW(set.Get(), &dev, SPDRP_HARDWAREID, reinterpret_cast<const BYTE*>(hardwareId), sizeof hardwareId);
    SetupDiSetDeviceRegistryPropertyW(set.Get(), &dev, SPDRP_DEVICEDESC, reinterpret_cast<const BYTE*>(card.name.c_str()),
                                      static_cast<DWORD>((card.name.size() + 1) * sizeof(wchar_t)));
    SetupDiSetDeviceRegistryPropertyW(set.Get(), &dev, SPDRP_LOCATION_INFORMATION, reinterpret_cast<const BYTE*>(location),
                                      static_cast<DWORD>((wcslen(location) + 1) * sizeof(wchar_t)));
    wchar_t instanceId[512];
    if (!SetupDiGetDeviceInstanceIdW(set.Get(), &dev, instanceId, 512, nullptr)) {
        error = LastErrorText(L"SetupDiGetDeviceInstanceId");
        return false;
    }
    card.instanceId = instanceId;

    std::wstring classPath;
    bool ok = !HasCaptureInterfaceClass(personality) ||
              CreateInterface(set.Get(), dev, kCaptureInterfaceClass, L"Card", classPath, error);
    for (const RoleInfo& r : Roles()) {
        if (ok && RoleExists(personality, r.role))
            ok = CreateInterface(set.Get(), dev, *r.category, r.suffix, card.paths[static_cast<int>(r.role)], error);
    }
    win::ComPtr<IFilterMapper2> mapper;
    if (ok && FAILED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                      mapper.PutVoid()))) {
        error = L"the filter mapper is not available";
        ok = false;
    }
    for (const RoleInfo& r : Roles()) {
        if (ok && RoleExists(personality, r.role))
            ok = RegisterFilter(mapper.Get(), card, r, error);
    }
    ok = ok && SaveCard(card);
    if (!ok) {
        std::wstring ignored;
        SaveCard(card);
        UninstallCard(number, ignored);
    }
    return ok;
}

bool UninstallCard(int number, std::wstring& error)
{
    CardRecord card;
    if (!LoadCard(number, card)) {
        error = L"card " + std::to_wstring(number) + L" is not installed";
        return false;
    }
    ComInit com;
    bool ok = true;
    win::ComPtr<IFilterMapper2> mapper;
    if (SUCCEEDED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                   mapper.PutVoid()))) {
        for (const RoleInfo& r : Roles()) {
            if (RoleExists(card.personality, r.role))
                mapper->UnregisterFilter(r.category, MapperInstanceName(number, r.role).c_str(), *r.filterClsid);
        }
    }
    win::DevInfoList set(SetupDiCreateDeviceInfoList(&kMediaSetupClass, nullptr));
    SP_DEVINFO_DATA dev{};
    dev.cbSize = sizeof dev;
    if (!set.Valid() || !SetupDiOpenDeviceInfoW(set.Get(), card.instanceId.c_str(), nullptr, 0, &dev) ||
        !SetupDiRemoveDevice(set.Get(), &dev)) {
        error = LastErrorText(L"removing the device");
        ok = false;
    }
    DeleteCard(number);
    return ok;
}

}  // namespace vcap
