#pragma once
// The value store over the registry: sections are sub-keys of one base key (the
// application's settings root), integers REG_DWORD and strings REG_SZ. Each section's key is
// opened once for the store's life: a channel list reads hundreds of values, and every open
// is a round trip to the system (under Wine, to its server).
#include <windows.h>

#include <map>

#include <win/Handle.h>

#include "ValueStore.h"

namespace tuner {

class RegistryValueStore : public ValueStore {
public:
    // root and basePath name the application's settings key, e.g. HKEY_CURRENT_USER and
    // "Software\<registry key>\<profile name>".
    RegistryValueStore(HKEY root, std::string basePath);

    std::optional<int> GetInt(const std::string& section, const std::string& name) const override;
    std::optional<std::string> GetString(const std::string& section,
                                         const std::string& name) const override;
    void SetInt(const std::string& section, const std::string& name, int value) override;
    void SetString(const std::string& section, const std::string& name,
                   const std::string& value) override;

private:
    struct Section {
        win::RegKey key;  // empty: the section did not exist when it was read
        bool writable = false;
    };
    std::string Path(const std::string& section) const;
    // The section's key for reading, or null when it does not exist.
    HKEY ForReading(const std::string& section) const;
    // The section's key for writing, created when missing; null when that fails.
    HKEY ForWriting(const std::string& section);

    HKEY root_;
    std::string basePath_;
    mutable std::map<std::string, Section> sections_;
};

}  // namespace tuner
