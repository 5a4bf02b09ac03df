#include "PropertyLog.h"

#include "DeviceModel.h"

#include <cstring>
#include <string>

namespace vcap {
namespace {

// Record layout: set flag, set identifier, id, size, result, data length, data.
struct RecordHead {
    uint32_t set;
    GUID propertySet;
    uint32_t id;
    uint32_t size;
    int32_t result;
    uint32_t length;
};

constexpr wchar_t kLogValue[] = L"PropertyLog";

std::wstring CardKey(int card) { return std::wstring(kCardsKey) + L"\\" + std::to_wstring(card); }

// Filters of one card in several threads or processes append to the same value.
class LogMutex {
public:
    explicit LogMutex(int card)
        : h_(CreateMutexW(nullptr, FALSE, (L"Marovin Test Bed Card " + std::to_wstring(card) + L" Property Log").c_str()))
    {
        if (h_)
            WaitForSingleObject(h_, 5000);
    }
    ~LogMutex()
    {
        if (h_) {
            ReleaseMutex(h_);
            CloseHandle(h_);
        }
    }
    LogMutex(const LogMutex&) = delete;
    LogMutex& operator=(const LogMutex&) = delete;

private:
    HANDLE h_;
};

std::vector<uint8_t> ReadRaw(HKEY k)
{
    DWORD size = 0, type = 0;
    if (RegQueryValueExW(k, kLogValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_BINARY)
        return {};
    std::vector<uint8_t> raw(size);
    if (size && RegQueryValueExW(k, kLogValue, nullptr, &type, raw.data(), &size) != ERROR_SUCCESS)
        return {};
    raw.resize(size);
    return raw;
}

std::vector<PropertyCall> Parse(const std::vector<uint8_t>& raw)
{
    std::vector<PropertyCall> calls;
    size_t at = 0;
    while (at + sizeof(RecordHead) <= raw.size()) {
        RecordHead head;
        std::memcpy(&head, raw.data() + at, sizeof head);
        at += sizeof head;
        if (head.length > raw.size() - at)
            break;
        PropertyCall c;
        c.set = head.set != 0;
        c.propertySet = head.propertySet;
        c.id = head.id;
        c.size = head.size;
        c.result = head.result;
        c.data.assign(raw.begin() + static_cast<std::ptrdiff_t>(at), raw.begin() + static_cast<std::ptrdiff_t>(at + head.length));
        at += head.length;
        calls.push_back(std::move(c));
    }
    return calls;
}

std::vector<uint8_t> Serialise(const std::vector<PropertyCall>& calls)
{
    std::vector<uint8_t> raw;
    for (const PropertyCall& c : calls) {
        const RecordHead head = {c.set ? 1u : 0u, c.propertySet, c.id, c.size, c.result, static_cast<uint32_t>(c.data.size())};
        const uint8_t* p = reinterpret_cast<const uint8_t*>(&head);
        raw.insert(raw.end(), p, p + sizeof head);
        raw.insert(raw.end(), c.data.begin(), c.data.end());
    }
    return raw;
}

}  // namespace

bool AppendPropertyCall(int card, const PropertyCall& call)
{
    LogMutex lock(card);
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_READ | KEY_SET_VALUE, &k) != ERROR_SUCCESS)
        return false;
    std::vector<PropertyCall> calls = Parse(ReadRaw(k));
    calls.push_back(call);
    if (calls.size() > kPropertyLogLimit)
        calls.erase(calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(calls.size() - kPropertyLogLimit));
    const std::vector<uint8_t> raw = Serialise(calls);
    const bool ok = RegSetValueExW(k, kLogValue, 0, REG_BINARY, raw.data(), static_cast<DWORD>(raw.size())) == ERROR_SUCCESS;
    RegCloseKey(k);
    return ok;
}

void LogPropertyCall(int card, bool set, const GUID& propertySet, DWORD id, DWORD size, HRESULT result, const void* data,
                     DWORD length)
{
    PropertyCall c;
    c.set = set;
    c.propertySet = propertySet;
    c.id = id;
    c.size = size;
    c.result = result;
    if (data && length)
        c.data.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + length);
    AppendPropertyCall(card, c);
}

std::vector<PropertyCall> ReadPropertyLog(int card)
{
    LogMutex lock(card);
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return {};
    std::vector<PropertyCall> calls = Parse(ReadRaw(k));
    RegCloseKey(k);
    return calls;
}

bool ClearPropertyLog(int card)
{
    LogMutex lock(card);
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS)
        return false;
    const LONG r = RegDeleteValueW(k, kLogValue);
    RegCloseKey(k);
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

}  // namespace vcap
