// Stored-path rules of the skin files.
#include "StoredPath.h"

#include <windows.h>

namespace skelda {
namespace {

std::string Upper(std::string text)
{
    // The ANSI code page's own upper-casing keeps double-byte characters intact.
    if (!text.empty())
        CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace

std::string WithTrailingBackslash(const std::string& folder)
{
    if (folder.empty() || folder.back() == '\\')
        return folder;
    return folder + '\\';
}

bool ToAbsoluteStoredPath(const std::string& base, std::string* path)
{
    if (!path)
        return false;
    if (base.empty())
        return true;
    const std::string root = WithTrailingBackslash(base);
    if (path->find(':') == std::string::npos) {
        *path = root + *path;
        return true;
    }
    return path->size() > root.size() && path->compare(0, root.size(), root) == 0;
}

bool ToRelativeStoredPath(const std::string& base, std::string* path)
{
    if (!path)
        return false;
    if (base.empty() || path->find(':') == std::string::npos)
        return true;
    const std::string root = WithTrailingBackslash(base);
    if (path->size() <= root.size() || Upper(path->substr(0, root.size())) != Upper(root))
        return false;
    path->erase(0, root.size());
    return true;
}

}  // namespace skelda
