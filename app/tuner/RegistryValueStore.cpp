#include "RegistryValueStore.h"

#include <cstring>
#include <utility>
#include <vector>

#include <win/Handle.h>

namespace tuner {

namespace {

// Longer strings are not settings this program wrote; they read as missing.
constexpr DWORD kMaxStringBytes = 4096;

}  // namespace

RegistryValueStore::RegistryValueStore(HKEY root, std::string basePath)
    : root_(root), basePath_(std::move(basePath))
{
}

std::string RegistryValueStore::Path(const std::string& section) const
{
    if (section.empty())
        return basePath_;
    return basePath_.empty() ? section : basePath_ + "\\" + section;
}

std::optional<int> RegistryValueStore::GetInt(const std::string& section,
                                              const std::string& name) const
{
    win::RegKey key;
    if (RegOpenKeyExA(root_, Path(section).c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<std::string> RegistryValueStore::GetString(const std::string& section,
                                                         const std::string& name) const
{
    win::RegKey key;
    if (RegOpenKeyExA(root_, Path(section).c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ || size > kMaxStringBytes)
        return std::nullopt;
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    // The stored bytes may lack their terminating zero; the extra byte supplies one.
    return std::string(data.data(), strnlen(data.data(), size));
}

void RegistryValueStore::SetInt(const std::string& section, const std::string& name, int value)
{
    win::RegKey key;
    if (RegCreateKeyExA(root_, Path(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.Put(), nullptr) != ERROR_SUCCESS)
        return;
    const DWORD data = static_cast<DWORD>(value);
    RegSetValueExA(key.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                   sizeof(data));
}

void RegistryValueStore::SetString(const std::string& section, const std::string& name,
                                   const std::string& value)
{
    win::RegKey key;
    if (RegCreateKeyExA(root_, Path(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.Put(), nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

}  // namespace tuner
