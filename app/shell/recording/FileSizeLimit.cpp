#include "FileSizeLimit.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace recording {

std::string LimitChoiceText(int index, const std::string& freeSpaceText)
{
    switch (index) {
    case 0: return "Available Space (" + freeSpaceText + ")";
    case 1: return "Maximum FAT32 File Size (4GB)";
    case 2: return "DVD Disk Size (4.38GB)";
    case 3: return "VCD Disk Size (800MB)";
    default: return "";
    }
}

std::optional<std::uint64_t> LimitOfChoice(int index)
{
    switch (index) {
    case 0: return kNoFixedLimit;
    case 1: return kFat32Limit;
    case 2: return kDvdDiskLimit;
    case 3: return kVcdDiskLimit;
    default: return std::nullopt;
    }
}

std::string FreeSpaceText(std::uint64_t freeBytes, bool haveFolder)
{
    if (!haveFolder)
        return "<set rec. folder>";
    char text[64];
    if ((freeBytes >> 32) != 0 || freeBytes > 0x3FFFFFFFull)
        std::snprintf(text, sizeof text, "%llu GB", static_cast<unsigned long long>(freeBytes / kGigabyte));
    else if (freeBytes <= 1023)
        std::snprintf(text, sizeof text, "%u Bytes", static_cast<unsigned>(freeBytes));
    else if (freeBytes <= 0xFFFFF)
        std::snprintf(text, sizeof text, "%u KB", static_cast<unsigned>(freeBytes / 1024));
    else
        std::snprintf(text, sizeof text, "%u MB", static_cast<unsigned>(freeBytes / kMegabyte));
    return text;
}

std::optional<double> ParseCustomSize(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const std::string number = text.substr(first, text.find_last_not_of(' ') - first + 1);
    // Digits and one decimal point only: no sign, exponent, words or hexadecimal.
    if (number.find_first_not_of("0123456789.") != std::string::npos ||
        number.find('.') != number.rfind('.') || number.find_first_of("0123456789") == std::string::npos)
        return std::nullopt;
    const double value = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(value) || value <= 0)
        return std::nullopt;
    return value;
}

std::optional<std::uint64_t> CustomLimit(double value, int unit, std::uint64_t freeSpace)
{
    if (!(value > 0) || !std::isfinite(value))
        return std::nullopt;
    double bytes = 0;
    if (unit == kUnitGigabytes)
        bytes = value * static_cast<double>(kGigabyte);
    else if (unit == kUnitMegabytes)
        bytes = value * static_cast<double>(kMegabyte);
    else
        return std::nullopt;
    // Past 2^63 the product no longer converts; it is far above any free space anyway.
    constexpr double kLargest = 9.2e18;
    std::uint64_t limit = bytes >= kLargest ? static_cast<std::uint64_t>(kLargest) : static_cast<std::uint64_t>(bytes);
    if (limit == 0)
        return std::nullopt;
    if (freeSpace != 0 && limit > freeSpace)
        limit = freeSpace;
    return limit;
}

}  // namespace recording
