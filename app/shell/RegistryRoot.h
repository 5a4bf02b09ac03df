#pragma once
// Where the settings live: HKEY_CURRENT_USER\Software\<key>\<profile>. An installation names
// its root in HKEY_LOCAL_MACHINE under a key made from the program's folder, so that copies
// installed in different folders keep separate settings.
#include <windows.h>

#include <string>

namespace shell {

struct RegistryRoot {
    std::string key;
    std::string profile;
};

constexpr char kDefaultRegistryKey[] = "Halvark";

// "Software\Halvark, Inc.\Marovin\" + the folder with forward slashes, ending in "/".
std::string InstallationKeyPath(const std::string& programFolder);
// "<key>\<profile>" when the first backslash is neither the first nor the last character;
// otherwise the default key with the application name as profile.
RegistryRoot ChooseRegistryRoot(const std::string& registryKeyValue, const std::string& appName);
// Reads "RegistryKey" under the installation key of `machineRoot` (HKEY_LOCAL_MACHINE in the
// program); empty when the key or value is missing or not a string.
std::string ReadRegistryKeyValue(HKEY machineRoot, const std::string& programFolder);

// Drive and directory of a module's file, ending in a backslash.
std::string ModuleFolder(HMODULE module);
// The module file's base name without extension.
std::string ModuleBaseName(HMODULE module);

}  // namespace shell
