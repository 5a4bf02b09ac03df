#include "LinkEditLogic.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace skelda::controls {

namespace {

// True when `format` holds exactly one conversion, of one of `kinds` ("%%" aside), so that
// printing one value with it is safe.
bool SingleConversion(const std::string& format, const char* kinds)
{
    int conversions = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < format.size() && std::strchr("-+ #0123456789.", format[j]))
            ++j;
        if (j >= format.size() || !std::strchr(kinds, format[j]))
            return false;
        ++conversions;
        i = j;
    }
    return conversions == 1;
}

}  // namespace

unsigned ClassifyLinkChar(unsigned char ch, const std::string& text, int caret)
{
    if (std::iscntrl(ch))
        return kCharControl;
    if (std::isdigit(ch))
        return kCharDigit;
    if (std::isalpha(ch)) {
        const int upper = std::toupper(ch);
        if (upper == 'E')
            return kCharExponent;
        if ((upper >= 'A' && upper <= 'D') || upper == 'F' || upper == 'X')
            return kCharHexLetter;
        return kCharLetter;
    }
    switch (ch) {
    case '.': return kCharPoint;
    case '_': return kCharUnderscore;
    case '-': return (caret == 0 && text.find('-') == std::string::npos) ? kCharMinus : kCharOther;
    default: return kCharOther;
    }
}

void LinkEditLogic::SetParams(int minimum, int maximum, int step)
{
    m_floating = false;
    m_min = minimum;
    m_max = maximum;
    m_step = step == 0 ? 1 : step;
    m_format = "%d";
    m_parseType = minimum < 0 ? kParseSigned : kParseUnsigned;
    m_havePosition = false;
}

void LinkEditLogic::SetParams(double minimum, double maximum, int step, const std::string& format)
{
    m_floating = true;
    m_fmin = minimum;
    m_fmax = maximum;
    m_step = step == 0 ? 1 : step;
    m_format = format;
    m_parseType = kParseFloat;
    m_havePosition = false;
}

int LinkEditLogic::TickFrequency() const
{
    return m_floating ? m_resolution / m_step : (m_max - m_min) / m_step;
}

bool LinkEditLogic::Accepts(unsigned char ch, const std::string& text, int caret) const
{
    return (ClassifyLinkChar(ch, text, caret) & m_parseType) != 0;
}

std::string LinkEditLogic::FormatInt(int value) const
{
    char buffer[128];
    const char* format = SingleConversion(m_format, "di") ? m_format.c_str() : "%d";
    std::snprintf(buffer, sizeof(buffer), format, value);
    return buffer;
}

std::string LinkEditLogic::FormatDouble(double value) const
{
    char buffer[128];
    const char* format = SingleConversion(m_format, "fFeEgG") ? m_format.c_str() : "%g";
    std::snprintf(buffer, sizeof(buffer), format, value);
    return buffer;
}

bool LinkEditLogic::TextForPosition(int position, std::string* text, bool force)
{
    if (!force && m_havePosition && position == m_lastPosition)
        return false;
    m_havePosition = true;
    m_lastPosition = position;
    if (m_floating)
        *text = FormatDouble(m_fmin + (m_fmax - m_fmin) / m_resolution * position);
    else
        *text = FormatInt(position);
    m_lastSliderText = *text;
    return true;
}

bool LinkEditLogic::TextForValue(int value, std::string* text) const
{
    if (m_floating)
        return false;
    if (value < m_min)
        value = m_min;
    if (value > m_max)
        value = m_max;
    *text = FormatInt(value);
    return true;
}

bool LinkEditLogic::TextForValue(double value, std::string* text) const
{
    if (!m_floating || value < m_fmin || value > m_fmax)
        return false;
    *text = FormatDouble(value);
    return true;
}

int LinkEditLogic::ValueOf(const std::string& text) const
{
    return m_floating ? 0 : static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

LinkEditLogic::FocusLoss LinkEditLogic::OnFocusLoss(const std::string& text, bool toSlider, bool toCancel) const
{
    FocusLoss result;
    bool below = false, above = false;
    if (m_floating) {
        const double value = std::strtod(text.c_str(), nullptr);
        below = value < m_fmin;
        above = value > m_fmax;
    } else {
        const long value = std::strtol(text.c_str(), nullptr, 10);
        below = value < m_min;
        above = value > m_max;
    }
    if (below) {
        result.action = FocusLossAction::kReplace;
        result.text = m_floating ? FormatDouble(m_fmin) : FormatInt(m_min);
    } else if (toSlider) {
        result.action = FocusLossAction::kRefreshFromSlider;
    } else if (above && !toCancel) {
        result.action = FocusLossAction::kReportTooLarge;
        result.text = !m_lastSliderText.empty() ? m_lastSliderText : (m_floating ? FormatDouble(m_fmax) : FormatInt(m_max));
    }
    return result;
}

}  // namespace skelda::controls
