#include "TunerState.h"

#include "DeviceModel.h"

#include <cwchar>

namespace vcap {
namespace {

const wchar_t kDefaultStations[] = L"3,5,7,12,21,30";

std::wstring CardKey(int card) { return std::wstring(kCardsKey) + L"\\" + std::to_wstring(card); }

long ReadLong(HKEY k, const wchar_t* name, long fallback)
{
    DWORD v = 0, size = sizeof v, type = 0;
    return RegQueryValueExW(k, name, nullptr, &type, reinterpret_cast<BYTE*>(&v), &size) == ERROR_SUCCESS && type == REG_DWORD
               ? static_cast<long>(v)
               : fallback;
}

bool WriteLong(HKEY k, const wchar_t* name, long value)
{
    const DWORD v = static_cast<DWORD>(value);
    return RegSetValueExW(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v) == ERROR_SUCCESS;
}

}  // namespace

bool LoadTuner(int card, TunerRecord& t)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    const TunerRecord d;
    t.country = ReadLong(k, L"TunerCountry", d.country);
    t.channel = ReadLong(k, L"TunerChannel", d.channel);
    t.frequency = ReadLong(k, L"TunerFrequency", d.frequency);
    t.tunedAt = static_cast<uint32_t>(ReadLong(k, L"TunerTunedAt", 0));
    t.mode = ReadLong(k, L"TunerMode", d.mode);
    t.standard = ReadLong(k, L"TunerStandard", d.standard);
    t.inputType = ReadLong(k, L"TunerInputType", d.inputType);
    t.connectInput = ReadLong(k, L"TunerConnectInput", d.connectInput);
    t.audioMode = ReadLong(k, L"TvAudioMode", d.audioMode);
    RegCloseKey(k);
    return true;
}

bool SaveTuner(int card, const TunerRecord& t)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS)
        return false;
    const bool ok = WriteLong(k, L"TunerCountry", t.country) && WriteLong(k, L"TunerChannel", t.channel) &&
                    WriteLong(k, L"TunerFrequency", t.frequency) &&
                    WriteLong(k, L"TunerTunedAt", static_cast<long>(t.tunedAt)) && WriteLong(k, L"TunerMode", t.mode) &&
                    WriteLong(k, L"TunerStandard", t.standard) && WriteLong(k, L"TunerInputType", t.inputType) &&
                    WriteLong(k, L"TunerConnectInput", t.connectInput) &&
                    WriteLong(k, L"TvAudioMode", t.audioMode);
    RegCloseKey(k);
    return ok;
}

TunerModel ModelOf(const TunerRecord& t)
{
    TunerModel m(t.country);
    m.Restore(t.country, t.channel, t.frequency, t.tunedAt);
    return m;
}

bool ParseChannelList(const std::wstring& text, std::set<long>& channels)
{
    channels.clear();
    const wchar_t* p = text.c_str();
    while (*p) {
        wchar_t* end = nullptr;
        const long n = std::wcstol(p, &end, 10);
        if (end == p || n < 0 || n > 199)
            return false;
        channels.insert(n);
        p = end;
        if (*p == L',')
            ++p;
        else if (*p)
            return false;
    }
    return true;
}

std::wstring FormatChannelList(const std::set<long>& channels)
{
    std::wstring s;
    for (long c : channels)
        s += (s.empty() ? L"" : L",") + std::to_wstring(c);
    return s;
}

std::set<long> ReadStations(int card)
{
    std::set<long> stations;
    ParseChannelList(kDefaultStations, stations);
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return stations;
    wchar_t buf[1024];
    DWORD size = sizeof buf - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(k, L"Stations", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS && type == REG_SZ) {
        buf[size / sizeof(wchar_t)] = 0;
        std::set<long> stored;
        if (ParseChannelList(buf, stored))
            stations = stored;
    }
    RegCloseKey(k);
    return stations;
}

bool SetStation(int card, long channel, bool present)
{
    if (channel < 0 || channel > 199)
        return false;
    std::set<long> stations = ReadStations(card);
    if (present)
        stations.insert(channel);
    else
        stations.erase(channel);
    const std::wstring text = FormatChannelList(stations);
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExW(k, L"Stations", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(k);
    return ok;
}

}  // namespace vcap
