#pragma once
// The skin framework's registry manager: the per-application settings under
// HKEY_LOCAL_MACHINE\Software\Corvale\GraphicsEngineAppSettings\<application>, the runtime
// default files next to the executable, and the conversion of the relative paths stored in
// the skin files. Built into Skelda and, from the same sources, into Skeldareg.
#include <windows.h>

#include <string>

#include "SkeldaregExport.h"

class SKELDAREG_API EGERegistryMgr_API {
public:
    static HKEY GetQorHKey();
    static HKEY Get_Qor_GraphicsEngineAppSettings_HKey();
    // The caller closes the key. An empty name yields null.
    static HKEY Get_HKeyOf_One_Qor_GraphicsEngineAppSettings(const std::string& applicationName, bool create);
    static bool EnumHKeyOf_Qor_GraphicsEngineAppSettings(DWORD index, std::string* name);
    static bool MakeNewApplicationEntry(const std::string& applicationName);

    // Flag getters: `found` tells whether the registry held the value; absent values give
    // the default of the settings table.
    static bool GetUseDefaultGraphicsFile(const std::string& applicationName, bool* found);
    static bool GetUseDefaultTextFile(const std::string& applicationName, bool* found);
    static bool GetPromptForQorGraphicsFile(const std::string& applicationName, bool* found);
    static bool GetPromptForQorTextFile(const std::string& applicationName, bool* found);
    static bool GetAllowEditingQorGraphicsFile(const std::string& applicationName, bool* found);
    static bool GetAllowEditingQorTextFile(const std::string& applicationName, bool* found);
    static bool GetShowGraphicsErrorDialogs(const std::string& applicationName, bool* found);
    static bool GetShowTextErrorDialogs(const std::string& applicationName, bool* found);

    // Flag setters store 1 or 0; false when the application key does not exist.
    static bool SetUseDefaultGraphicsFile(int value, const std::string& applicationName);
    static bool SetUseDefaultTextFile(int value, const std::string& applicationName);
    static bool SetPromptForGraphicsFNameRegEntry(int value, const std::string& applicationName);
    static bool SetPromptForTextFNameRegEntry(int value, const std::string& applicationName);
    static bool SetAllowGraphicsEditingRegEntry(int value, const std::string& applicationName);
    static bool SetAllowTextEditingRegEntry(int value, const std::string& applicationName);
    static bool SetShowGraphicsErrorDlgsRegEntry(int value, const std::string& applicationName);
    static bool SetShowTextErrorDlgsRegEntry(int value, const std::string& applicationName);

    // String getters: false (value empty, found false) when the key or value is missing,
    // not a string, or longer than MAX_PATH bytes.
    static bool GetQorGraphicsFile(const std::string& applicationName, std::string* value, bool* found);
    static bool GetQorTextFile(const std::string& applicationName, std::string* value, bool* found);
    static bool GetQorParentFolder(const std::string& applicationName, std::string* value, bool* found);
    // String setters refuse values that the getters could not read back.
    static bool SetQorGraphicsFile(const std::string& value, const std::string& applicationName);
    static bool SetQorTextFile(const std::string& value, const std::string& applicationName);
    static bool SetQorParentFolder(const std::string& value, const std::string& applicationName);

    // With the use-default flag set: the executable's folder + "\GEGraphics.lmx" (or
    // "\GEText.lmx"), only if that file exists; otherwise the stored file name.
    static bool GetQorGraphicsFileForRuntime(const std::string& applicationName, std::string* path, bool* found);
    static bool GetQorTextFileForRuntime(const std::string& applicationName, std::string* path, bool* found);

    static bool GetProperPathForStoredFilepath(const std::string& base, std::string* path);
    static bool SetProperPathForStoringFilepath(const std::string& base, std::string* path);
    static bool VerifyFileExists(const std::string& path);
};
