#pragma once
// The value store over the registry: sections are sub-keys of one base key (the
// application's settings root), integers REG_DWORD and strings REG_SZ.
#include <windows.h>

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
    std::string Path(const std::string& section) const;

    HKEY root_;
    std::string basePath_;
};

}  // namespace tuner
