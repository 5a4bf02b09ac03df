#include "UpdateRules.h"

#include <algorithm>
#include <cctype>

namespace update {
namespace {

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    std::size_t i = 0;
    for (; prefix[i]; ++i)
        if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

}  // namespace

std::string ProgramFolderName(const std::string& programPath)
{
    const std::size_t file = programPath.find_last_of("\\/");
    if (file == std::string::npos || file == 0)
        return {};
    const std::size_t folder = programPath.find_last_of("\\/:", file - 1);
    return programPath.substr(folder == std::string::npos ? 0 : folder + 1, file - (folder == std::string::npos ? 0 : folder + 1));
}

std::string UpdateSectionName(const std::string& folderName, const std::string& version)
{
    std::string folder = folderName;
    std::replace(folder.begin(), folder.end(), ' ', '_');
    std::string v = version;
    std::replace(v.begin(), v.end(), ' ', '_');
    std::replace(v.begin(), v.end(), '.', '_');
    return folder + v;
}

UpdateValue ClassifyUpdateValue(const std::string& value)
{
    if (value.empty())
        return UpdateValue::None;
    if (value.size() >= kUpdateValueRoom - 1)
        return UpdateValue::Refused;
    std::size_t host = 0;
    if (StartsWithNoCase(value, "http://"))
        host = 7;
    else if (StartsWithNoCase(value, "https://"))
        host = 8;
    else
        return UpdateValue::Refused;
    // A host must follow, and nothing in the address may be a control character or a blank.
    if (host >= value.size() || value[host] == '/' || value[host] == '\\')
        return UpdateValue::Refused;
    for (unsigned char c : value)
        if (c <= ' ' || c == 0x7F)
            return UpdateValue::Refused;
    return UpdateValue::Address;
}

std::string UpdateServiceAgent(const std::string& commonFilesFolder)
{
    return commonFilesFolder + "\\InstallShield\\UpdateService\\Agent.exe";
}

std::string UpdateServiceArguments(const std::string& productCode)
{
    return "/au" + productCode + " /AppMenu";
}

AboutLines MakeAboutLines(const std::string& version, const std::string& versionText, const std::string& buildText)
{
    const std::string v = version.empty() ? "1.0.0" : version;
    const std::size_t first = v.find('.');
    const std::size_t second = first == std::string::npos ? std::string::npos : v.find('.', first + 1);
    const std::string head = second == std::string::npos ? v : v.substr(0, second);
    const std::string build = second == std::string::npos ? std::string() : v.substr(second + 1);
    return {versionText + " " + head, buildText + ": " + build};
}

void PlaceBesideVideo(const Box& video, const Box& mainWindow, int width, int screenWidth, int* x, int* y)
{
    *y = video.top + 50;
    *x = video.right + 20;
    if (*x + width <= screenWidth)
        return;
    *x = video.left - 20 - width;
    if (*x >= 0)
        return;
    *x = mainWindow.right > screenWidth ? 0 : screenWidth - width;
}

}  // namespace update
