#pragma once
// Where an edit's single line of text sits when it is centred vertically: the client area is
// narrowed to the text's height, with the spare height split above and below it (the odd
// pixel below), as a transparent static centres its text.

namespace skelda::controls {

struct TextBand {
    int top = 0, bottom = 0;
};

// The band of `textHeight` centred in [top, bottom); the whole span when the text does not
// fit or has no height.
inline TextBand CentredTextBand(int top, int bottom, int textHeight)
{
    const int spare = bottom - top - textHeight;
    if (textHeight <= 0 || spare <= 0)
        return {top, bottom};
    return {top + spare / 2, top + spare / 2 + textHeight};
}

}  // namespace skelda::controls
