// Font size limits for values read from the text file.
#include "FontLimits.h"

namespace lorvane {
namespace {

LONG Within(LONG value, LONG lowest, LONG highest)
{
    return value >= lowest && value <= highest ? value : 0;
}

}  // namespace

void KeepFontSizesSane(LOGFONTA* font)
{
    font->lfHeight = Within(font->lfHeight, -kMaxFontPixels, kMaxFontPixels);
    font->lfWidth = Within(font->lfWidth, -kMaxFontPixels, kMaxFontPixels);
    font->lfWeight = Within(font->lfWeight, 0, kMaxFontWeight);
}

}  // namespace lorvane
