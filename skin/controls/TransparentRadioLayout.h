#pragma once
// Where a transparent radio button puts its mark and its text: the mark at the left or right
// edge, the text left-aligned beside it or right-aligned at the far edge, both centred
// vertically.
#include <windows.h>

namespace skelda::controls {

// Side of the mark drawn when the button has no bitmap for it; never taller than the button.
inline constexpr int kDrawnRadioMarkSize = 13;
// Space between the mark and the text area.
inline constexpr int kRadioMarkGap = 4;

struct RadioLayout {
    RECT mark;   // client coordinates, right and bottom exclusive
    POINT text;  // top-left corner of the text
};

RadioLayout LayoutTransparentRadio(SIZE client, SIZE mark, SIZE text, bool markLeft, bool textLeft);

// The side of a drawn mark for a button `clientHeight` pixels high.
int DrawnRadioMarkSide(int clientHeight);

}  // namespace skelda::controls
