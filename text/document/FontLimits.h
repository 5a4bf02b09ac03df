#pragma once
// Keeps the font sizes read from a text file within what the system's font code and the
// display can take: a hand-edited or damaged file can hold any 32-bit number there.
#include <windows.h>

namespace lorvane {

// Largest font height or width, in pixels either way, that a skin asks for.
constexpr LONG kMaxFontPixels = 512;
// The heaviest weight a font structure describes.
constexpr LONG kMaxFontWeight = 1000;

// A height or width beyond kMaxFontPixels either way, or a weight outside 0 to 1000, becomes 0,
// the value a missing attribute reads as (the system's default height, width or weight).
void KeepFontSizesSane(LOGFONTA* font);

}  // namespace lorvane
