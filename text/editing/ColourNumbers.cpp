// Colours by numbers.
#include "ColourNumbers.h"

#include <limits>

namespace lorvane::editing {
namespace {

constexpr const char* kNotANumberCaption = "Please enter a number";
constexpr const char* kNotANumber = "Please enter a number (no non-numeric chars)";
constexpr const char* kOutOfRangeCaption = "Color out of range";
constexpr const char* kComponentsOutOfRange = "Red, Green, and Blue must be between 0 and 255";
constexpr const char* kCombinedOutOfRange = "The combined color is invalid (out of range)";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

ColourEntry Refused(const char* message, const char* caption)
{
    ColourEntry entry;
    entry.message = message;
    entry.caption = caption;
    return entry;
}

}  // namespace

bool ParseDecimal(const std::string& text, std::int64_t* value)
{
    size_t i = 0, end = text.size();
    while (i < end && IsBlank(text[i]))
        ++i;
    while (end > i && IsBlank(text[end - 1]))
        --end;
    bool negative = false;
    if (i < end && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (i == end)
        return false;
    const std::int64_t limit = std::numeric_limits<std::int64_t>::max();
    std::int64_t result = 0;
    for (; i < end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        const int digit = c - '0';
        result = result > (limit - digit) / 10 ? limit : result * 10 + digit;
    }
    *value = negative ? -result : result;
    return true;
}

ColourEntry ColourFromComponents(const std::string& red, const std::string& green, const std::string& blue)
{
    std::int64_t parts[3] = {};
    const std::string* texts[3] = {&red, &green, &blue};
    for (int i = 0; i < 3; ++i)
        if (!ParseDecimal(*texts[i], &parts[i]))
            return Refused(kNotANumber, kNotANumberCaption);
    for (std::int64_t part : parts)
        if (part < 0 || part > 255)
            return Refused(kComponentsOutOfRange, kOutOfRangeCaption);
    ColourEntry entry;
    entry.accepted = true;
    entry.colour = static_cast<std::uint32_t>(parts[0] + 256 * parts[1] + 65536 * parts[2]);
    return entry;
}

ColourEntry ColourFromCombined(const std::string& combined)
{
    std::int64_t value = 0;
    if (!ParseDecimal(combined, &value))
        return Refused(kNotANumber, kNotANumberCaption);
    if (value < 0 || value > 0xFFFFFF)
        return Refused(kCombinedOutOfRange, kOutOfRangeCaption);
    ColourEntry entry;
    entry.accepted = true;
    entry.colour = static_cast<std::uint32_t>(value);
    return entry;
}

void SplitColour(std::uint32_t colour, int* red, int* green, int* blue)
{
    *red = static_cast<int>(colour & 0xFF);
    *green = static_cast<int>((colour >> 8) & 0xFF);
    *blue = static_cast<int>((colour >> 16) & 0xFF);
}

}  // namespace lorvane::editing
