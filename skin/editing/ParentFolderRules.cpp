// Parent folder rules: paths resolve as the engine resolves them at start-up.
#include "ParentFolderRules.h"

#include <algorithm>

#include "EGERegistryMgr_API.h"
#include "QorXmlDom.h"

namespace skelda::editing {

std::string NormaliseParentFolder(const std::string& typed)
{
    const size_t first = typed.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::string folder = typed.substr(first, typed.find_last_not_of(" \t") - first + 1);
    std::replace(folder.begin(), folder.end(), '/', '\\');
    while (folder.size() > 1 && folder.back() == '\\' && folder[folder.size() - 2] == '\\')
        folder.pop_back();
    if (folder.back() != '\\')
        folder += '\\';
    return folder;
}

const std::vector<std::string>& StoredBitmapAttributes()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all{"DlgBitmapFile",          "BitmapFile",
                                     "BackgroundBitmapFile",   "BackgroundLeftBitmapFile",
                                     "ThumbUpBitmapFile",      "ThumbDownBitmapFile",
                                     "ThumbFocusBitmapFile",   "ThumbDisabledBitmapFile",
                                     "ThumbShadowBitmapFile"};
        for (const char* state : {"Up", "Down", "Focus", "Disabled"})
            for (const char* identity : {"", "1", "2", "3"})
                all.push_back(std::string("Control") + state + "BitmapFile" + identity);
        return all;
    }();
    return names;
}

std::vector<std::string> StoredBitmapPaths(IXMLDOMNode* root)
{
    std::vector<std::string> paths;
    std::function<void(IXMLDOMNode*)> visit = [&](IXMLDOMNode* node) {
        for (const std::string& name : StoredBitmapAttributes()) {
            std::string value;
            if (qorxml::GetAttribute(node, name.c_str(), &value) && !value.empty() &&
                std::find(paths.begin(), paths.end(), value) == paths.end())
                paths.push_back(value);
        }
        qorxml::ForEachChildElement(node, [&](IXMLDOMNode* child) {
            visit(child);
            return true;
        });
    };
    if (root)
        visit(root);
    return paths;
}

std::vector<std::string> PathsLostInNewFolder(const std::vector<std::string>& stored, const std::string& currentFolder,
                                              const std::string& newFolder, const FileExists& exists)
{
    const auto found = [&](const std::string& folder, std::string path) {
        return EGERegistryMgr_API::GetProperPathForStoredFilepath(folder, &path) && exists(path);
    };
    std::vector<std::string> lost;
    for (const std::string& path : stored)
        if (found(currentFolder, path) && !found(newFolder, path))
            lost.push_back(path);
    return lost;
}

std::string LostPathsMessage(const std::string& newFolder, const std::vector<std::string>& lost, size_t shown)
{
    std::string text = "These bitmap files of the skin cannot be found from " + newFolder + ":\r\n";
    for (size_t i = 0; i < lost.size() && i < shown; ++i)
        text += "\r\n    " + lost[i];
    if (lost.size() > shown)
        text += "\r\n    ... and " + std::to_string(lost.size() - shown) + " more";
    text += "\r\n\r\nThe parent folder is kept.  Copy the bitmaps there first, or choose another folder.";
    return text;
}

}  // namespace skelda::editing
