#pragma once
// A 5x7 pixel font for the test picture's captions: digits, upper-case letters and a little
// punctuation (lower case is drawn as upper case, anything else as a blank).
#include <cstdint>

namespace vcap {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// Seven rows of the glyph for `ch`, bit 4 of each row being the leftmost pixel.
const uint8_t* GlyphRows(char ch);

}  // namespace vcap
