// The default search for the skin graphics and text files.
#include "DefaultSkinSearch.h"

#include <win/Handle.h>

#include "RegistryValues.h"
#include "StoredPath.h"

namespace skelda {

bool SplitClientRegistryKey(const std::string& key, HKEY* root, std::string* subKey)
{
    static const std::string kMachine = "HKEY_LOCAL_MACHINE\\", kUser = "HKEY_CURRENT_USER\\";
    if (key.compare(0, kMachine.size(), kMachine) == 0) {
        *root = HKEY_LOCAL_MACHINE;
        *subKey = key.substr(kMachine.size());
        return true;
    }
    if (key.compare(0, kUser.size(), kUser) == 0) {
        *root = HKEY_CURRENT_USER;
        *subKey = key.substr(kUser.size());
        return true;
    }
    return false;
}

SkinFileKind SearchSkinFile(const std::string& parentFolder, const std::string& baseName, DWORD languageId,
                            const FileExists& exists, std::string* found)
{
    const std::string folder = WithTrailingBackslash(parentFolder);
    std::string candidate = folder + baseName + std::to_string(languageId) + ".xml";
    if (exists(candidate)) {
        *found = candidate;
        return SkinFileKind::File;
    }
    if (languageId != 1033) {
        candidate = folder + baseName + "1033.xml";
        if (exists(candidate)) {
            *found = candidate;
            return SkinFileKind::File;
        }
    }
    // "...\Skins\Skin" -> "...\Skins\Skin.dll": a resource library holding graphics and text.
    std::string library = parentFolder;
    while (!library.empty() && library.back() == '\\')
        library.pop_back();
    library += ".dll";
    if (!library.empty() && library != ".dll" && exists(library)) {
        *found = library;
        return SkinFileKind::Library;
    }
    return SkinFileKind::None;
}

DefaultSkinFiles RunDefaultSkinSearch(const ClientSkinValues& client, const std::string& executableFolder,
                                      DWORD languageId, const FileExists& exists)
{
    DefaultSkinFiles result;
    result.parentFolder = client.parentFolder ? *client.parentFolder : executableFolder + "Skins\\Skin";
    if (client.graphicsFile) {
        result.graphicsFile = *client.graphicsFile;
    } else if (SearchSkinFile(result.parentFolder, "Graphics", languageId, exists, &result.graphicsFile) ==
               SkinFileKind::Library) {
        result.textFile = result.graphicsFile;
        return result;
    }
    if (client.textFile)
        result.textFile = *client.textFile;
    else
        SearchSkinFile(result.parentFolder, "Text", languageId, exists, &result.textFile);
    return result;
}

ClientSkinValues ReadClientSkinValues(const std::string& clientRegistryKey)
{
    ClientSkinValues values;
    HKEY root = nullptr, opened = nullptr;
    std::string subKey;
    if (!SplitClientRegistryKey(clientRegistryKey, &root, &subKey) ||
        RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return values;
    win::RegKey key(opened);
    // An empty string names nothing, so it counts as absent.
    auto read = [&key](const char* name, std::optional<std::string>* out) {
        std::string text;
        if (ReadPathString(key.Get(), name, &text) && !text.empty())
            *out = text;
    };
    read("GraphicsAndTextParentDirectory", &values.parentFolder);
    read("GraphicsDataXMLFilename", &values.graphicsFile);
    read("TextXMLFilename", &values.textFile);
    return values;
}

}  // namespace skelda
