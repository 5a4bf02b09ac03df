#include "framework/ProfileStore.h"

#include <cstring>
#include <utility>
#include <vector>

#include <win/Handle.h>

namespace framework {

namespace {

void AppendPart(std::string& path, const std::string& part)
{
    if (part.empty())
        return;
    path += '\\';
    path += part;
}

}  // namespace

std::string ProfileSectionPath(const std::string& registryKey, const std::string& profileName,
                               const std::string& section)
{
    if (registryKey.empty())
        return {};
    std::string path = "Software";
    AppendPart(path, registryKey);
    AppendPart(path, profileName);
    AppendPart(path, section);
    return path;
}

std::optional<int> IntFromRegistryValue(DWORD type, const BYTE* data, DWORD size)
{
    if (type != REG_DWORD || size != sizeof(DWORD) || !data)
        return std::nullopt;
    DWORD value = 0;
    std::memcpy(&value, data, sizeof(value));
    return static_cast<int>(value);
}

std::optional<std::string> StringFromRegistryValue(DWORD type, const BYTE* data, DWORD size)
{
    if (type != REG_SZ || (!data && size))
        return std::nullopt;
    std::string text(reinterpret_cast<const char*>(data), size);
    const size_t end = text.find('\0');
    if (end != std::string::npos)
        text.resize(end);
    return text;
}

ProfileStore::ProfileStore(HKEY root, std::string registryKey, std::string profileName)
    : root_(root), registryKey_(std::move(registryKey)), profileName_(std::move(profileName))
{
}

std::string ProfileStore::Path(const char* section) const
{
    return ProfileSectionPath(registryKey_, profileName_, section ? section : "");
}

namespace {

// The value's type and bytes, or false when the section or the value is missing.
bool ReadRaw(HKEY root, const std::string& path, const char* entry, DWORD* type,
             std::vector<BYTE>* data)
{
    if (path.empty() || !entry)
        return false;
    win::RegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        return false;
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExA(key.Get(), entry, nullptr, type, nullptr, &size) != ERROR_SUCCESS)
            return false;
        data->assign(size, 0);
        const LONG status = RegQueryValueExA(key.Get(), entry, nullptr, type, data->data(), &size);
        if (status == ERROR_SUCCESS) {
            data->resize(size);
            return true;
        }
        if (status != ERROR_MORE_DATA)  // grew between the two calls: ask again
            return false;
    }
    return false;
}

bool WriteRaw(HKEY root, const std::string& path, const char* entry, DWORD type,
              const void* data, DWORD size)
{
    if (path.empty() || !entry)
        return false;
    win::RegKey key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.Get(), entry, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

}  // namespace

int ProfileStore::GetInt(const char* section, const char* entry, int defaultValue) const
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadRaw(root_, Path(section), entry, &type, &data))
        return defaultValue;
    return IntFromRegistryValue(type, data.data(), static_cast<DWORD>(data.size())).value_or(defaultValue);
}

bool ProfileStore::WriteInt(const char* section, const char* entry, int value) const
{
    const DWORD raw = static_cast<DWORD>(value);
    return WriteRaw(root_, Path(section), entry, REG_DWORD, &raw, sizeof(raw));
}

std::string ProfileStore::GetString(const char* section, const char* entry, const char* defaultValue) const
{
    DWORD type = 0;
    std::vector<BYTE> data;
    const std::string fallback = defaultValue ? defaultValue : "";
    if (!ReadRaw(root_, Path(section), entry, &type, &data))
        return fallback;
    return StringFromRegistryValue(type, data.data(), static_cast<DWORD>(data.size())).value_or(fallback);
}

bool ProfileStore::WriteString(const char* section, const char* entry, const char* value) const
{
    if (!value)
        return DeleteEntry(section, entry);
    return WriteRaw(root_, Path(section), entry, REG_SZ, value, static_cast<DWORD>(std::strlen(value) + 1));
}

bool ProfileStore::DeleteEntry(const char* section, const char* entry) const
{
    const std::string path = Path(section);
    if (path.empty() || !entry)
        return false;
    win::RegKey key;
    if (RegOpenKeyExA(root_, path.c_str(), 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS)
        return true;  // nothing to delete
    const LONG status = RegDeleteValueA(key.Get(), entry);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool ProfileStore::DeleteSection(const char* section) const
{
    if (!section || !*section)
        return false;  // never the whole profile by accident
    const std::string path = Path(section);
    if (path.empty())
        return false;
    // RegDeleteTree empties the key; the key itself goes with RegDeleteKey.
    LONG status = RegDeleteTreeA(root_, path.c_str());
    if (status == ERROR_SUCCESS)
        status = RegDeleteKeyA(root_, path.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace framework
