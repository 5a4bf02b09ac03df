#pragma once
// Where the skin and text files are when the per-application settings leave it to the
// defaults: the client key's values, then "Skins\Skin" next to the executable, then
// "Graphics<lang>.xml", "Graphics1033.xml" and "Skin.dll". Pure: the file system is asked
// through `exists`.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace skelda {

// Splits "HKEY_LOCAL_MACHINE\..." or "HKEY_CURRENT_USER\..." into root and sub-key; false for
// any other prefix.
bool SplitClientRegistryKey(const std::string& key, HKEY* root, std::string* subKey);

struct ClientSkinValues {
    std::optional<std::string> parentFolder;  // "GraphicsAndTextParentDirectory"
    std::optional<std::string> graphicsFile;  // "GraphicsDataXMLFilename"
    std::optional<std::string> textFile;      // "TextXMLFilename"
};

struct DefaultSkinFiles {
    std::string parentFolder, graphicsFile, textFile;
};

enum class SkinFileKind { None = 0, File = 1, Library = 2 };

using FileExists = std::function<bool(const std::string&)>;

// `parentFolder` as found (a trailing backslash is tolerated).
SkinFileKind SearchSkinFile(const std::string& parentFolder, const std::string& baseName, DWORD languageId,
                            const FileExists& exists, std::string* found);

// `executableFolder` ends in a backslash.
DefaultSkinFiles RunDefaultSkinSearch(const ClientSkinValues& client, const std::string& executableFolder,
                                      DWORD languageId, const FileExists& exists);

// Reads the three values of the client key (REG_SZ only, at most MAX_PATH bytes).
ClientSkinValues ReadClientSkinValues(const std::string& clientRegistryKey);

}  // namespace skelda
