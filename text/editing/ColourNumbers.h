#pragma once
// Colours typed as numbers in the text editing dialogs: three decimal components of 0 to 255,
// or one decimal COLORREF of 0 to 0xFFFFFF. Every refusal carries the text and caption the
// dialog shows; nothing wraps around, however long the number.
#include <cstdint>
#include <string>

namespace lorvane::editing {

struct ColourEntry {
    bool accepted = false;
    std::uint32_t colour = 0;  // red + 256 x green + 65536 x blue
    std::string message, caption;  // why it was refused
};

// A decimal integer with an optional sign and surrounding blanks; false when the text is not
// one. Values beyond the 64-bit range are clamped there (and so out of any colour's range).
bool ParseDecimal(const std::string& text, std::int64_t* value);

ColourEntry ColourFromComponents(const std::string& red, const std::string& green, const std::string& blue);
ColourEntry ColourFromCombined(const std::string& combined);

// The three low bytes of a COLORREF.
void SplitColour(std::uint32_t colour, int* red, int* green, int* blue);

}  // namespace lorvane::editing
