// Attribute text conversions shared by the XML helpers.
#include "QorXmlText.h"

#include <windows.h>

#include <cstdint>

namespace qorxml {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Parses [blanks][sign]digits[blanks] into a 64-bit value; false on anything else or on
// more digits than any 32-bit value needs.
bool ParseDecimal(const std::string& text, int64_t* value)
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
    int64_t result = 0;
    for (; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        result = result * 10 + (text[i] - '0');
        if (result > 0xFFFFFFFFLL)
            return false;
    }
    *value = negative ? -result : result;
    return true;
}

}  // namespace

bool ParseInt32(const std::string& text, int* value)
{
    int64_t v = 0;
    if (!ParseDecimal(text, &v) || v < INT32_MIN || v > INT32_MAX)
        return false;
    *value = static_cast<int>(v);
    return true;
}

bool ParseUInt32(const std::string& text, unsigned int* value)
{
    int64_t v = 0;
    if (!ParseDecimal(text, &v) || v < INT32_MIN || v > UINT32_MAX)
        return false;
    *value = static_cast<unsigned int>(v);
    return true;
}

bool ParseByte(const std::string& text, unsigned char* value)
{
    int64_t v = 0;
    if (!ParseDecimal(text, &v) || v < 0 || v > 255)
        return false;
    *value = static_cast<unsigned char>(v);
    return true;
}

std::wstring AnsiToWide(const std::string& text)
{
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string WideToAnsi(const std::wstring& text)
{
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

}  // namespace qorxml
