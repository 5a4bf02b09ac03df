// The registry manager: per-application settings of the skin framework.
#include "EGERegistryMgr_API.h"

#include <sys/stat.h>

#include <string>

#include <win/Handle.h>

#include "RegistrySettingsTable.h"
#include "RegistryValues.h"
#include "StoredPath.h"

using skelda::RegistrySetting;

namespace {

// The application key for reading or writing; never created here.
win::RegKey OpenApplicationKey(const std::string& applicationName, REGSAM access)
{
    win::RegKey settings(EGERegistryMgr_API::Get_Qor_GraphicsEngineAppSettings_HKey());
    HKEY key = nullptr;
    if (!settings || applicationName.empty() ||
        RegOpenKeyExA(settings.Get(), applicationName.c_str(), 0, access, &key) != ERROR_SUCCESS)
        return win::RegKey();
    return win::RegKey(key);
}

bool GetFlag(RegistrySetting setting, const std::string& applicationName, bool* found)
{
    const auto& info = skelda::SettingInfo(setting);
    if (found)
        *found = false;
    DWORD value = 0;
    if (!skelda::ReadDword(OpenApplicationKey(applicationName, KEY_READ).Get(), info.valueName, &value))
        return info.defaultFlag;
    if (found)
        *found = true;
    return value != 0;
}

// Says why a write did not happen; only writes report, reads fall back to the defaults.
bool ReportWrite(bool written, const std::string& applicationName, const char* valueName)
{
    if (!written)
        OutputDebugStringA(("Skeldareg:  cannot write \"" + std::string(valueName) + "\" of \"" + applicationName +
                            "\" (no such application key, or no write access)\r\n")
                               .c_str());
    return written;
}

bool SetFlag(RegistrySetting setting, int value, const std::string& applicationName)
{
    win::RegKey key = OpenApplicationKey(applicationName, KEY_SET_VALUE);
    const DWORD data = value ? 1 : 0;
    const char* name = skelda::SettingInfo(setting).valueName;
    return ReportWrite(key && RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                             sizeof(data)) == ERROR_SUCCESS,
                       applicationName, name);
}

bool GetString(RegistrySetting setting, const std::string& applicationName, std::string* value, bool* found)
{
    if (found)
        *found = false;
    if (!value)
        return false;
    value->clear();
    if (!skelda::ReadPathString(OpenApplicationKey(applicationName, KEY_READ).Get(), skelda::SettingInfo(setting).valueName, value))
        return false;
    if (found)
        *found = true;
    return true;
}

bool SetString(RegistrySetting setting, const std::string& value, const std::string& applicationName)
{
    if (value.size() >= MAX_PATH)
        return false;
    win::RegKey key = OpenApplicationKey(applicationName, KEY_SET_VALUE);
    const char* name = skelda::SettingInfo(setting).valueName;
    return ReportWrite(key && RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                             static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS,
                       applicationName, name);
}

std::string ExecutableFolder()
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

bool GetFileForRuntime(RegistrySetting useDefault, RegistrySetting fileName, const char* runtimeName,
                       const std::string& applicationName, std::string* path, bool* found)
{
    if (found)
        *found = false;
    if (!path)
        return false;
    path->clear();
    if (GetFlag(useDefault, applicationName, nullptr)) {
        const std::string candidate = ExecutableFolder() + runtimeName;
        if (!EGERegistryMgr_API::VerifyFileExists(candidate))
            return false;
        *path = candidate;
        if (found)
            *found = true;
        return true;
    }
    return GetString(fileName, applicationName, path, found);
}

}  // namespace

HKEY EGERegistryMgr_API::GetQorHKey()
{
    HKEY software = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, skelda::kSoftwareKey, 0, KEY_QUERY_VALUE | KEY_CREATE_SUB_KEY,
                      &software) != ERROR_SUCCESS &&
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, skelda::kSoftwareKey, 0, KEY_READ, &software) != ERROR_SUCCESS)
        return nullptr;
    win::RegKey owner(software);
    return skelda::CreateOrOpenForReading(software, skelda::kCompanyKey);
}

HKEY EGERegistryMgr_API::Get_Qor_GraphicsEngineAppSettings_HKey()
{
    // Every getter and setter comes here: once the keys exist (after the first run), one
    // opening of the whole path does what creating or opening each key in turn does.
    const std::string path = std::string(skelda::kSoftwareKey) + "\\" + skelda::kCompanyKey + "\\" + skelda::kAppSettingsKey;
    HKEY existing = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &existing) == ERROR_SUCCESS)
        return existing;
    win::RegKey company(GetQorHKey());
    return company ? skelda::CreateOrOpenForReading(company.Get(), skelda::kAppSettingsKey) : nullptr;
}

HKEY EGERegistryMgr_API::Get_HKeyOf_One_Qor_GraphicsEngineAppSettings(const std::string& applicationName, bool create)
{
    if (applicationName.empty())
        return nullptr;
    win::RegKey settings(Get_Qor_GraphicsEngineAppSettings_HKey());
    if (!settings)
        return nullptr;
    HKEY key = nullptr;
    if (create)
        return RegCreateKeyExA(settings.Get(), applicationName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                               &key, nullptr) == ERROR_SUCCESS
                   ? key
                   : nullptr;
    return skelda::OpenWritableOrReadable(settings.Get(), applicationName.c_str());
}

bool EGERegistryMgr_API::EnumHKeyOf_Qor_GraphicsEngineAppSettings(DWORD index, std::string* name)
{
    win::RegKey settings(Get_Qor_GraphicsEngineAppSettings_HKey());
    char buffer[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH + 1;
    if (!name || !settings ||
        RegEnumKeyExA(settings.Get(), index, buffer, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    *name = buffer;
    return true;
}

bool EGERegistryMgr_API::MakeNewApplicationEntry(const std::string& applicationName)
{
    win::RegKey key(Get_HKeyOf_One_Qor_GraphicsEngineAppSettings(applicationName, true));
    return static_cast<bool>(key);
}

#define QOR_FLAG_ACCESSORS(getter, setter, setting)                                        \
    bool EGERegistryMgr_API::getter(const std::string& applicationName, bool* found)       \
    {                                                                                      \
        return GetFlag(RegistrySetting::setting, applicationName, found);                  \
    }                                                                                      \
    bool EGERegistryMgr_API::setter(int value, const std::string& applicationName)         \
    {                                                                                      \
        return SetFlag(RegistrySetting::setting, value, applicationName);                  \
    }

QOR_FLAG_ACCESSORS(GetUseDefaultGraphicsFile, SetUseDefaultGraphicsFile, UseDefaultGraphicsFile)
QOR_FLAG_ACCESSORS(GetUseDefaultTextFile, SetUseDefaultTextFile, UseDefaultTextFile)
QOR_FLAG_ACCESSORS(GetPromptForQorGraphicsFile, SetPromptForGraphicsFNameRegEntry, PromptForGraphicsFile)
QOR_FLAG_ACCESSORS(GetPromptForQorTextFile, SetPromptForTextFNameRegEntry, PromptForTextFile)
QOR_FLAG_ACCESSORS(GetAllowEditingQorGraphicsFile, SetAllowGraphicsEditingRegEntry, AllowEditingGraphics)
QOR_FLAG_ACCESSORS(GetAllowEditingQorTextFile, SetAllowTextEditingRegEntry, AllowEditingText)
QOR_FLAG_ACCESSORS(GetShowGraphicsErrorDialogs, SetShowGraphicsErrorDlgsRegEntry, ShowGraphicsErrorDialogs)
QOR_FLAG_ACCESSORS(GetShowTextErrorDialogs, SetShowTextErrorDlgsRegEntry, ShowTextErrorDialogs)
#undef QOR_FLAG_ACCESSORS

#define QOR_STRING_ACCESSORS(getter, setter, setting)                                                   \
    bool EGERegistryMgr_API::getter(const std::string& applicationName, std::string* value, bool* found) \
    {                                                                                                   \
        return GetString(RegistrySetting::setting, applicationName, value, found);                      \
    }                                                                                                   \
    bool EGERegistryMgr_API::setter(const std::string& value, const std::string& applicationName)       \
    {                                                                                                   \
        return SetString(RegistrySetting::setting, value, applicationName);                             \
    }

QOR_STRING_ACCESSORS(GetQorGraphicsFile, SetQorGraphicsFile, GraphicsFile)
QOR_STRING_ACCESSORS(GetQorTextFile, SetQorTextFile, TextFile)
QOR_STRING_ACCESSORS(GetQorParentFolder, SetQorParentFolder, ParentFolder)
#undef QOR_STRING_ACCESSORS

bool EGERegistryMgr_API::GetQorGraphicsFileForRuntime(const std::string& applicationName, std::string* path,
                                                      bool* found)
{
    return GetFileForRuntime(RegistrySetting::UseDefaultGraphicsFile, RegistrySetting::GraphicsFile,
                             skelda::kRuntimeGraphicsFile, applicationName, path, found);
}

bool EGERegistryMgr_API::GetQorTextFileForRuntime(const std::string& applicationName, std::string* path, bool* found)
{
    return GetFileForRuntime(RegistrySetting::UseDefaultTextFile, RegistrySetting::TextFile, skelda::kRuntimeTextFile,
                             applicationName, path, found);
}

bool EGERegistryMgr_API::GetProperPathForStoredFilepath(const std::string& base, std::string* path)
{
    return skelda::ToAbsoluteStoredPath(base, path);
}

bool EGERegistryMgr_API::SetProperPathForStoringFilepath(const std::string& base, std::string* path)
{
    return skelda::ToRelativeStoredPath(base, path);
}

bool EGERegistryMgr_API::VerifyFileExists(const std::string& path)
{
    struct _stat64 status;
    return !path.empty() && _stat64(path.c_str(), &status) == 0;
}
