// The control editing dialogs' field rules.
#include "FieldRules.h"

#include <cstdint>

namespace skelda::editing {
namespace {

constexpr const char* kNotANumber = "Please enter a number (no non-numeric chars)";
constexpr const char* kNotANumberCaption = "Please enter a number";

FieldCheck Refuse(const std::string& message, const std::string& caption)
{
    FieldCheck check;
    check.message = message;
    check.caption = caption;
    return check;
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Decimal digits with an optional sign, saturating far beyond any range checked here.
bool ParseDecimal(const std::string& text, bool allowSign, std::int64_t* value)
{
    size_t i = 0;
    bool negative = false;
    if (allowSign && i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (i == text.size())
        return false;
    std::int64_t number = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        if (number < (std::int64_t{1} << 40))
            number = number * 10 + (text[i] - '0');
    }
    *value = negative ? -number : number;
    return true;
}

}  // namespace

FieldCheck CheckNumberField(FieldKind kind, const std::string& typed)
{
    const std::string text = Trimmed(typed);
    std::int64_t number = 0;
    if (!ParseDecimal(text, kind == FieldKind::kNumber, &number))
        return Refuse(kNotANumber, kNotANumberCaption);
    switch (kind) {
    case FieldKind::kSize:
        if (number > 32767)
            return Refuse("A size must lie between 0 and 32767 pixels.", "Number out of range");
        break;
    case FieldKind::kColour:
        if (number > 0xFFFFFF)
            return Refuse("The combined color is invalid (out of range)", "Color out of range");
        break;
    default:
        if (number < INT32_MIN || number > INT32_MAX)
            return Refuse("The number is too large.", "Number out of range");
        break;
    }
    FieldCheck check;
    check.accepted = true;
    check.value = std::to_string(number);
    return check;
}

std::string ButtonBitmapAttribute(int state, int identity)
{
    static const char* const kStates[4] = {"ControlUpBitmapFile", "ControlDownBitmapFile", "ControlFocusBitmapFile",
                                           "ControlDisabledBitmapFile"};
    if (state < 0 || state > 3 || identity < 0 || identity > 3)
        return std::string();
    return kStates[state] + (identity ? std::to_string(identity) : std::string());
}

}  // namespace skelda::editing
