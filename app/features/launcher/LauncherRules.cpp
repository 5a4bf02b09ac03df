#include "LauncherRules.h"

#include <algorithm>
#include <cctype>

namespace launcher {

std::string ButtonSection(int index)
{
    return "Launching\\Btn" + std::to_string(index);
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool NamesExecutable(const std::string& path)
{
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find(".exe") != std::string::npos;
}

std::string TooltipFor(const std::string& path, bool exists, const std::string& noProgramText)
{
    if (path.empty() || !exists || !NamesExecutable(path))
        return noProgramText;
    return FileNameOf(path);
}

std::string QuotedCommandLine(const std::string& path)
{
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        return path;
    return "\"" + path + "\"";
}

DropVerdict JudgeLauncherDrop(const std::vector<std::string>& files)
{
    if (files.size() != 1)
        return DropVerdict::SeveralFiles;
    return NamesExecutable(files.front()) ? DropVerdict::Accepted : DropVerdict::NotExecutable;
}

}  // namespace launcher
