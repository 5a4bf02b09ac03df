#pragma once
// The numeric rules of an edit coupled to a slider, without windows: the integer and floating
// ranges, which typed characters the edit accepts, the texts written for slider positions and
// values, and what happens to an out-of-range value when the edit loses the focus.
#include <string>

namespace skelda::controls {

// Character classes; a character is accepted when its class and the parse type share a bit.
enum LinkCharClass : unsigned {
    kCharControl = 0xFF,
    kCharDigit = 0x55,
    kCharHexLetter = 0x42,  // A to D, F and X
    kCharExponent = 0x46,   // E
    kCharLetter = 0x02,
    kCharPoint = 0x04,
    kCharUnderscore = 0x28,
    kCharMinus = 0x14,
    kCharOther = 0x08,
};

enum LinkParseType : unsigned {
    kParseUnsigned = 1,
    kParseFloat = 4,
    kParseSigned = 17,
};

// The class of `ch` typed at `caret` into `text`. A minus counts only as the first character
// of a text that holds none yet.
unsigned ClassifyLinkChar(unsigned char ch, const std::string& text, int caret);

class LinkEditLogic {
public:
    // Integer mode over min..max; a step of 0 counts as 1.
    void SetParams(int minimum, int maximum, int step);
    // Floating mode over min..max, mapped onto slider positions 0..resolution.
    void SetParams(double minimum, double maximum, int step, const std::string& format);
    void SetResolution(int resolution) { m_resolution = resolution > 0 ? resolution : 1; }
    void SetFormatString(const std::string& format) { m_format = format; }
    void SetParseType(unsigned type) { m_parseType = type; }

    bool Floating() const { return m_floating; }
    unsigned ParseType() const { return m_parseType; }
    const std::string& Format() const { return m_format; }
    int SliderMin() const { return m_floating ? 0 : m_min; }
    int SliderMax() const { return m_floating ? m_resolution : m_max; }
    int TickFrequency() const;
    int Step() const { return m_step; }

    bool Accepts(unsigned char ch, const std::string& text, int caret) const;

    // The text for a slider position; false when the position is the last one written,
    // unless `force`.
    bool TextForPosition(int position, std::string* text, bool force = false);
    // Integer mode only: the value clamped to the range, written with the format.
    bool TextForValue(int value, std::string* text) const;
    // Floating mode only: false outside the range.
    bool TextForValue(double value, std::string* text) const;
    // Integer mode: the text read as a decimal integer; 0 in floating mode.
    int ValueOf(const std::string& text) const;

    // What the edit does with its text when it loses the focus.
    enum class FocusLossAction { kKeep, kReplace, kRefreshFromSlider, kReportTooLarge };
    struct FocusLoss {
        FocusLossAction action = FocusLossAction::kKeep;
        std::string text;  // the replacement for kReplace and kReportTooLarge
    };
    // `toSlider`: the focus goes to the linked slider; `toCancel`: to the control with id 2.
    FocusLoss OnFocusLoss(const std::string& text, bool toSlider, bool toCancel) const;

private:
    std::string FormatInt(int value) const;
    std::string FormatDouble(double value) const;

    bool m_floating = false;
    int m_min = 0, m_max = 100, m_step = 1;
    double m_fmin = 0.0, m_fmax = 1.0;
    int m_resolution = 100;
    std::string m_format = "%d";
    unsigned m_parseType = kParseUnsigned;
    bool m_havePosition = false;
    int m_lastPosition = 0;
    std::string m_lastSliderText;
};

}  // namespace skelda::controls
