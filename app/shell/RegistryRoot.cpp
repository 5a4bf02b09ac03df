#include "RegistryRoot.h"

#include <framework/ProfileStore.h>

#include <algorithm>
#include <vector>

namespace shell {

std::string InstallationKeyPath(const std::string& programFolder)
{
    std::string folder = programFolder;
    std::replace(folder.begin(), folder.end(), '\\', '/');
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return "Software\\Halvark, Inc.\\Marovin\\" + folder;
}

RegistryRoot ChooseRegistryRoot(const std::string& registryKeyValue, const std::string& appName)
{
    const std::string::size_type p = registryKeyValue.find('\\');
    if (p != std::string::npos && p > 0 && p + 1 < registryKeyValue.size())
        return {registryKeyValue.substr(0, p), registryKeyValue.substr(p + 1)};
    return {kDefaultRegistryKey, appName};
}

std::string ReadRegistryKeyValue(HKEY machineRoot, const std::string& programFolder)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(machineRoot, InstallationKeyPath(programFolder).c_str(), 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return {};
    DWORD type = 0;
    DWORD size = 0;
    std::string value;
    if (RegQueryValueExA(key, "RegistryKey", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        size > 0 && size < 4096) {
        std::vector<BYTE> data(size);
        if (RegQueryValueExA(key, "RegistryKey", nullptr, &type, data.data(), &size) ==
            ERROR_SUCCESS)
            value = framework::StringFromRegistryValue(type, data.data(), size).value_or("");
    }
    RegCloseKey(key);
    return value;
}

std::string ModuleFolder(HMODULE module)
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::string folder(path, length);
    const std::string::size_type slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

std::string ModuleBaseName(HMODULE module)
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::string name(path, length);
    const std::string::size_type slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const std::string::size_type dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

}  // namespace shell
