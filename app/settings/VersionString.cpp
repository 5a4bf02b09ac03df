#include "VersionString.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace settings {

std::string FormatVersionString(const std::optional<ProductVersion>& version,
                                const std::string& buildNumber)
{
    if (!version) {
        std::string text = "X.XX";
        text.resize(10, '0');
        return text;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d.%s", version->major, version->minor,
                  buildNumber.c_str());
    return text;
}

std::optional<ProductVersion> ReadProductVersion(const std::string& modulePath)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(modulePath.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoA(modulePath.c_str(), 0, size, block.data()))
        return std::nullopt;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &infoSize) ||
        info == nullptr || infoSize < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    return ProductVersion{static_cast<int>(HIWORD(info->dwProductVersionMS)),
                          static_cast<int>(LOWORD(info->dwProductVersionMS))};
}

}  // namespace settings
