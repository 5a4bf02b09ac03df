#pragma once
// The per-application settings of the skin framework: value names, kinds and defaults.
namespace skelda {

enum class RegistrySetting {
    UseDefaultGraphicsFile,
    UseDefaultTextFile,
    PromptForGraphicsFile,
    PromptForTextFile,
    AllowEditingGraphics,
    AllowEditingText,
    ShowGraphicsErrorDialogs,
    ShowTextErrorDialogs,
    GraphicsFile,
    TextFile,
    ParentFolder,
};

struct RegistrySettingInfo {
    RegistrySetting setting;
    const char* valueName;
    bool isFlag;          // REG_DWORD flag; otherwise a REG_SZ of at most MAX_PATH bytes
    bool defaultFlag;     // for flags: the value when key or value is absent
};

const RegistrySettingInfo& SettingInfo(RegistrySetting setting);

// Path of the settings below HKEY_LOCAL_MACHINE.
constexpr const char* kSoftwareKey = "Software";
constexpr const char* kCompanyKey = "Corvale";
constexpr const char* kAppSettingsKey = "GraphicsEngineAppSettings";

// Runtime default files, next to the executable.
constexpr const char* kRuntimeGraphicsFile = "\\GEGraphics.lmx";
constexpr const char* kRuntimeTextFile = "\\GEText.lmx";

}  // namespace skelda
