#pragma once
// Integer and string values in registry sections, the store behind the application object's
// profile functions: HKEY_CURRENT_USER\Software\<key>\<profile>\<section>, integers as
// REG_DWORD and strings as REG_SZ. A missing value, or one of another type or size, reads as
// the caller's default.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "framework/FrameworkApi.h"

namespace framework {

// "Software\<key>\<profile>\<section>", leaving out empty parts; empty when key is empty.
FRAMEWORK_API std::string ProfileSectionPath(const std::string& registryKey,
                                             const std::string& profileName,
                                             const std::string& section);

// A raw registry value read as an integer or a string; nothing when the type or size does
// not fit (a REG_SZ value may lack its terminating zero).
FRAMEWORK_API std::optional<int> IntFromRegistryValue(DWORD type, const BYTE* data, DWORD size);
FRAMEWORK_API std::optional<std::string> StringFromRegistryValue(DWORD type, const BYTE* data,
                                                                 DWORD size);

class FRAMEWORK_API ProfileStore {
public:
    ProfileStore(HKEY root, std::string registryKey, std::string profileName);
    // Copies share the sections kept open; a store moved from stays usable (moving copies).
    ProfileStore(const ProfileStore&) = default;
    ProfileStore& operator=(const ProfileStore&) = default;

    int GetInt(const char* section, const char* entry, int defaultValue) const;
    bool WriteInt(const char* section, const char* entry, int value) const;
    std::string GetString(const char* section, const char* entry, const char* defaultValue) const;
    bool WriteString(const char* section, const char* entry, const char* value) const;
    bool DeleteEntry(const char* section, const char* entry) const;
    bool DeleteSection(const char* section) const;

    bool IsConfigured() const { return !registryKey_.empty(); }

private:
    struct OpenSections;
    std::string Path(const char* section) const;
    // Reads one value of the section at `path`, through the section's key that this store
    // keeps open once it has read from it; false when the section or the value is missing.
    bool Read(const std::string& path, const char* entry, DWORD* type, std::string* data) const;

    HKEY root_;
    std::string registryKey_;
    std::string profileName_;
    std::shared_ptr<OpenSections> sections_;  // shared by copies of this store
};

}  // namespace framework
