#include "DeviceModel.h"

#include <cwchar>

namespace vcap {

const GUID kCaptureInterfaceClass = {0xF0B3DD10, 0xE296, 0x49FD, {0x98, 0x87, 0x7C, 0xAC, 0x73, 0xF7, 0x5B, 0x04}};

namespace {

const GUID kCategoryTvTuner = {0xA799A800, 0xA46D, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0x24, 0x01, 0xDC, 0xD4}};
const GUID kCategoryCrossbar = {0xA799A801, 0xA46D, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0x24, 0x01, 0xDC, 0xD4}};
const GUID kCategoryTvAudio = {0xA799A802, 0xA46D, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0x24, 0x01, 0xDC, 0xD4}};
const GUID kCategoryCapture = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
const GUID kCategoryEncoder = {0x19689BF6, 0xC384, 0x48FD, {0xAD, 0x51, 0x90, 0xE5, 0x8C, 0x79, 0xF7, 0x0B}};
const GUID kCategoryMultiplexer = {0x7A5DE1D3, 0x01A1, 0x452C, {0xB4, 0x81, 0x4F, 0xA2, 0xB9, 0x62, 0x71, 0xE8}};
const GUID kCategoryMediaEncoder = {0x7D22E920, 0x5CA9, 0x4787, {0x8C, 0x2B, 0xA6, 0x77, 0x9B, 0xD1, 0x17, 0x81}};

const GUID kClsidTuner = {0x7D8FC11D, 0xA8DB, 0x484E, {0x91, 0xEA, 0x80, 0x3B, 0x4C, 0x9D, 0xE8, 0xEB}};
const GUID kClsidTvAudio = {0xC6C886A4, 0x0A7C, 0x47AA, {0xBC, 0xB8, 0x43, 0x88, 0x85, 0x63, 0x5E, 0x70}};
const GUID kClsidCrossbar = {0xCEF82C47, 0xB79D, 0x476F, {0xB7, 0x18, 0x5A, 0x3F, 0xDA, 0x6A, 0x7E, 0xA2}};
const GUID kClsidCapture = {0x66A09BA9, 0x6D15, 0x4275, {0x94, 0xA4, 0xE6, 0x80, 0x52, 0x64, 0x8D, 0x84}};
const GUID kClsidEncoder = {0xE2418AFE, 0xBED6, 0x4D36, {0x8E, 0x8C, 0xE2, 0x15, 0x53, 0xD9, 0x0D, 0x01}};
const GUID kClsidCodecEncoder = {0x5B0C3E7A, 0x2D14, 0x4F6B, {0x9E, 0x31, 0x7A, 0x44, 0xC2, 0x18, 0x6D, 0x02}};

// RAII for registry keys.
class Key {
public:
    Key() = default;
    ~Key()
    {
        if (h_)
            RegCloseKey(h_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* put() { return &h_; }
    HKEY get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HKEY h_ = nullptr;
};

std::wstring CardKeyName(int number) { return std::wstring(kCardsKey) + L"\\" + std::to_wstring(number); }

bool SetString(HKEY k, const wchar_t* name, const std::wstring& v)
{
    return RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                          static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool SetDword(HKEY k, const wchar_t* name, DWORD v)
{
    return RegSetValueExW(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v) == ERROR_SUCCESS;
}

std::wstring GetString(HKEY k, const wchar_t* name)
{
    wchar_t buf[1024];
    DWORD size = sizeof buf - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) != ERROR_SUCCESS || type != REG_SZ)
        return {};
    buf[size / sizeof(wchar_t)] = 0;
    return buf;
}

DWORD GetDword(HKEY k, const wchar_t* name, DWORD fallback)
{
    DWORD v = 0, size = sizeof v, type = 0;
    if (RegQueryValueExW(k, name, nullptr, &type, reinterpret_cast<BYTE*>(&v), &size) != ERROR_SUCCESS || type != REG_DWORD)
        return fallback;
    return v;
}

const wchar_t* RoleValueName(FilterRole r)
{
    static const wchar_t* names[kRoleCount] = {L"TunerPath", L"TvAudioPath", L"CrossbarPath",
                                               L"CapturePath", L"EncoderPath", L"MultiplexerPath",
                                               L"CodecEncoderPath"};
    return names[static_cast<int>(r)];
}

}  // namespace

const wchar_t kCardsKey[] = L"Software\\Marovin Test Bed\\Virtual Capture Cards";

const std::vector<RoleInfo>& Roles()
{
    static const std::vector<RoleInfo> roles = {
        {FilterRole::Tuner, &kCategoryTvTuner, L"Tuner", &kClsidTuner},
        {FilterRole::TvAudio, &kCategoryTvAudio, L"TV Audio", &kClsidTvAudio},
        {FilterRole::Crossbar, &kCategoryCrossbar, L"Crossbar", &kClsidCrossbar},
        {FilterRole::Capture, &kCategoryCapture, L"Capture", &kClsidCapture},
        // The stream filter is one class listed in both stream categories.
        {FilterRole::Encoder, &kCategoryEncoder, L"Encoder", &kClsidEncoder},
        {FilterRole::Multiplexer, &kCategoryMultiplexer, L"Multiplexer", &kClsidEncoder},
        {FilterRole::CodecEncoder, &kCategoryMediaEncoder, L"Codec Encoder", &kClsidCodecEncoder},
    };
    return roles;
}

const RoleInfo& Role(FilterRole role) { return Roles()[static_cast<size_t>(role)]; }

std::wstring CardName(int number)
{
    return number <= 1 ? std::wstring(L"Virtual MPEG Card") : L"Virtual MPEG Card #" + std::to_wstring(number);
}

std::wstring FilterFriendlyName(const CardRecord& card, FilterRole role)
{
    return card.name + L" " + Role(role).suffix;
}

bool RoleExists(const Personality& p, FilterRole role)
{
    switch (role) {
    case FilterRole::Encoder: return p.deviceType == 1 || p.deviceType == 2;
    case FilterRole::Multiplexer: return p.deviceType == 1;  // the encoder that multiplexes is listed twice
    case FilterRole::CodecEncoder: return p.deviceType == 4;
    default: return true;
    }
}

bool HasCaptureInterfaceClass(const Personality& p) { return p.deviceType != 4; }

bool SaveCard(const CardRecord& card)
{
    Key k;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, CardKeyName(card.number).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, k.put(), nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = SetString(k.get(), L"Name", card.name) && SetString(k.get(), L"InstanceId", card.instanceId) &&
              SetDword(k.get(), L"DeviceType", card.personality.deviceType) &&
              SetDword(k.get(), L"Bus", static_cast<DWORD>(card.personality.bus)) &&
              SetDword(k.get(), L"ParamsBytes", card.personality.paramsBytes);
    for (const RoleInfo& r : Roles())
        ok = ok && SetString(k.get(), RoleValueName(r.role), card.paths[static_cast<int>(r.role)]);
    return ok;
}

bool LoadCard(int number, CardRecord& card)
{
    Key k;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKeyName(number).c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS)
        return false;
    card = CardRecord{};
    card.number = number;
    card.name = GetString(k.get(), L"Name");
    card.instanceId = GetString(k.get(), L"InstanceId");
    card.personality.deviceType = GetDword(k.get(), L"DeviceType", 1);
    card.personality.bus = static_cast<Bus>(GetDword(k.get(), L"Bus", 2));
    card.personality.paramsBytes = GetDword(k.get(), L"ParamsBytes", 44);
    for (const RoleInfo& r : Roles())
        card.paths[static_cast<int>(r.role)] = GetString(k.get(), RoleValueName(r.role));
    return !card.instanceId.empty();
}

bool DeleteCard(int number)
{
    return RegDeleteKeyW(HKEY_LOCAL_MACHINE, CardKeyName(number).c_str()) == ERROR_SUCCESS;
}

std::vector<CardRecord> LoadAllCards()
{
    std::vector<CardRecord> cards;
    for (int n = 1; n <= 16; ++n) {
        CardRecord c;
        if (LoadCard(n, c))
            cards.push_back(c);
    }
    return cards;
}

bool FindCardByPath(const std::wstring& devicePath, CardRecord& card, FilterRole* role)
{
    for (const CardRecord& c : LoadAllCards()) {
        for (const RoleInfo& r : Roles()) {
            const std::wstring& p = c.paths[static_cast<int>(r.role)];
            if (!p.empty() && _wcsicmp(p.c_str(), devicePath.c_str()) == 0) {
                card = c;
                if (role)
                    *role = r.role;
                return true;
            }
        }
    }
    return false;
}

}  // namespace vcap
