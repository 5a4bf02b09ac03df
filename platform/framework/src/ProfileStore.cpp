#include "framework/ProfileStore.h"

#include <cstring>
#include <iterator>
#include <map>
#include <utility>

#include <win/Handle.h>
#include <win/Lock.h>

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

// The sections a store has read from, kept open while it lives: a start reads a few hundred
// values from a handful of sections, and each opening and closing of a key is a round trip to
// the registry's owner (the Wine server, here).
struct ProfileStore::OpenSections {
    win::CritSec lock;
    std::map<std::string, win::RegKey> keys;
};

ProfileStore::ProfileStore(HKEY root, std::string registryKey, std::string profileName)
    : root_(root), registryKey_(std::move(registryKey)), profileName_(std::move(profileName)),
      sections_(std::make_shared<OpenSections>())
{
}

std::string ProfileStore::Path(const char* section) const
{
    return ProfileSectionPath(registryKey_, profileName_, section ? section : "");
}

namespace {

// The value's type and bytes (ERROR_SUCCESS), or why not. Most values fit the first buffer,
// so that one query gives them, not one for the size and one for the bytes.
LONG ReadValue(HKEY key, const char* entry, DWORD* type, std::string* data)
{
    data->assign(256, '\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD size = static_cast<DWORD>(data->size());
        const LONG status = RegQueryValueExA(key, entry, nullptr, type, reinterpret_cast<BYTE*>(data->data()), &size);
        if (status == ERROR_SUCCESS) {
            data->resize(size);
            return status;
        }
        if (status != ERROR_MORE_DATA)
            return status;
        data->assign(size, '\0');  // larger, or grown since the last query: ask again
    }
    return ERROR_MORE_DATA;
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

bool ProfileStore::Read(const std::string& path, const char* entry, DWORD* type, std::string* data) const
{
    if (path.empty() || !entry)
        return false;
    win::AutoLock guard(sections_->lock);
    // A missing section is not remembered: a write may create it.
    const auto open = [&]() -> HKEY {
        win::RegKey key;
        if (RegOpenKeyExA(root_, path.c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
            return nullptr;
        return sections_->keys.insert_or_assign(path, std::move(key)).first->second.Get();
    };
    const auto found = sections_->keys.find(path);
    HKEY key = found != sections_->keys.end() ? found->second.Get() : open();
    if (!key)
        return false;
    LONG status = ReadValue(key, entry, type, data);
    if (status == ERROR_KEY_DELETED) {
        // Deleted, and perhaps made again, by another store or program since it was opened.
        sections_->keys.erase(path);
        key = open();
        status = key ? ReadValue(key, entry, type, data) : status;
    }
    return status == ERROR_SUCCESS;
}

int ProfileStore::GetInt(const char* section, const char* entry, int defaultValue) const
{
    DWORD type = 0;
    std::string data;
    if (!Read(Path(section), entry, &type, &data))
        return defaultValue;
    return IntFromRegistryValue(type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()))
        .value_or(defaultValue);
}

bool ProfileStore::WriteInt(const char* section, const char* entry, int value) const
{
    const DWORD raw = static_cast<DWORD>(value);
    return WriteRaw(root_, Path(section), entry, REG_DWORD, &raw, sizeof(raw));
}

std::string ProfileStore::GetString(const char* section, const char* entry, const char* defaultValue) const
{
    DWORD type = 0;
    std::string data;
    const std::string fallback = defaultValue ? defaultValue : "";
    if (!Read(Path(section), entry, &type, &data))
        return fallback;
    return StringFromRegistryValue(type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()))
        .value_or(fallback);
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
    {
        // Keys kept open on the section or below it would read a deleted key for ever.
        win::AutoLock guard(sections_->lock);
        for (auto it = sections_->keys.begin(); it != sections_->keys.end();)
            it = it->first == path || it->first.rfind(path + "\\", 0) == 0 ? sections_->keys.erase(it) : std::next(it);
    }
    // RegDeleteTree empties the key; the key itself goes with RegDeleteKey.
    LONG status = RegDeleteTreeA(root_, path.c_str());
    if (status == ERROR_SUCCESS)
        status = RegDeleteKeyA(root_, path.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace framework
