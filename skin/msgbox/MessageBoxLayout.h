#pragma once
// The arithmetic of the skinned message box: the buttons a style shows, the message's lines,
// and the size of the box and the places of its text, caption and buttons for a given skin
// and screen. Pure logic: text is measured through a callback.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace skelda::msgbox {

constexpr int kMargin = 5;   // around the text, around and between the buttons
constexpr int kRowGap = 10;  // between the message and the button row

// The button ids (IDOK .. IDNO) of the style's low four bits, in order. False (and no ids)
// for a value without a button set.
bool ButtonSetForStyle(UINT style, std::vector<int>* ids);

// The message's lines: real line breaks (CR, LF, and CR LF or LF CR as one) and the typed
// two-character sequences backslash-n and backslash-r (a typed pair of them as one) break it.
std::vector<std::string> SplitMessageLines(const std::string& text);

// The pixel width of a text in the box's font.
using TextWidth = std::function<int(const std::string&)>;

// Breaks every line wider than `maxWidth` at blanks; a word wider than that on its own is
// broken between characters (never inside a double-byte character).
std::vector<std::string> WrapLines(const std::vector<std::string>& lines, int maxWidth, const TextWidth& width);

// What the skin says about the box.
struct SkinMetrics {
    int left = 0, right = 0, top = 0, bottom = 0;              // region offsets
    int minWidth = 0, maxWidth = 0, minHeight = 0, maxHeight = 0;  // 0: no limit
    POINT caption{0, 0};                                        // where the caption starts
};

// The widest a message line may be: the box at its widest (the skin's maximum, never more
// than the work area) less offsets and margins. At least one pixel.
int MaxTextWidth(const SkinMetrics& skin, int workAreaWidth);

struct LayoutInput {
    SkinMetrics skin;
    int buttonCount = 0;   // 0: no button row
    SIZE button{0, 0};     // every button has the size of the first
    SIZE text{0, 0};       // widest line, all lines
    SIZE caption{0, 0};    // 0 x 0 when there is no caption
    bool centerText = false;
    SIZE workArea{0, 0};
};

struct LayoutResult {
    int width = 0, height = 0;
    RECT text{};            // the message, clipped to the box when it is taller than the screen
    RECT caption{};         // the caption, clipped at the right region offset
    std::vector<POINT> buttons;
    int rowWidth = 0;       // (button width + 5) x count + 5
};

// Sizes the box around its text, caption and button row: width and height within the skin's
// limits and the work area; the row centred under wider content and kept at the bottom.
LayoutResult LayOutMessageBox(const LayoutInput& input);

// Where a box of `size` goes: centred on `owner` (or on the work area when the owner is
// empty), then moved inside the work area as far as its size allows.
POINT PlaceMessageBox(SIZE size, const RECT& owner, const RECT& workArea);

}  // namespace skelda::msgbox
