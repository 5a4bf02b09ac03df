#include "RegistryValueStore.h"

#include <cstring>
#include <utility>
#include <vector>


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

HKEY RegistryValueStore::ForReading(const std::string& section) const
{
    auto found = sections_.find(section);
    if (found == sections_.end()) {
        Section opened;
        // A section that cannot be opened stays missing until this store writes to it.
        HKEY key = nullptr;
        if (RegOpenKeyExA(root_, Path(section).c_str(), 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS)
            opened.key.Reset(key);
        found = sections_.emplace(section, std::move(opened)).first;
    }
    return found->second.key.Get();
}

HKEY RegistryValueStore::ForWriting(const std::string& section)
{
    Section& cached = sections_[section];
    if (cached.writable)
        return cached.key.Get();
    HKEY key = nullptr;
    if (RegCreateKeyExA(root_, Path(section).c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    cached.key.Reset(key);
    cached.writable = true;
    return key;
}

std::optional<int> RegistryValueStore::GetInt(const std::string& section,
                                              const std::string& name) const
{
    const HKEY key = ForReading(section);
    if (!key)
        return std::nullopt;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<std::string> RegistryValueStore::GetString(const std::string& section,
                                                         const std::string& name) const
{
    const HKEY key = ForReading(section);
    if (!key)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ || size > kMaxStringBytes)
        return std::nullopt;
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    // The stored bytes may lack their terminating zero; the extra byte supplies one.
    return std::string(data.data(), strnlen(data.data(), size));
}

void RegistryValueStore::SetInt(const std::string& section, const std::string& name, int value)
{
    const HKEY key = ForWriting(section);
    if (!key)
        return;
    const DWORD data = static_cast<DWORD>(value);
    RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                   sizeof(data));
}

void RegistryValueStore::SetString(const std::string& section, const std::string& name,
                                   const std::string& value)
{
    const HKEY key = ForWriting(section);
    if (!key)
        return;
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

}  // namespace tuner
