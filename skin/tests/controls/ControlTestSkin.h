#pragma once
// The skin of the skinned control dialog tests, written next to the test program: bitmaps in
// plain distinct colours (so a painted pixel says which bitmap it came from), broken and
// mismatched bitmaps, and graphics and text entries for every kind of control, some of them
// deliberately incomplete.
#include <windows.h>

#include <string>

namespace controltest {

constexpr COLORREF kFace = RGB(60, 60, 90);
// The skinned button's four state bitmaps.
constexpr COLORREF kButtonColours[4] = {RGB(200, 40, 40), RGB(40, 200, 40), RGB(40, 40, 200), RGB(128, 128, 128)};
constexpr int kButtonWidth = 60, kButtonHeight = 24;
// The skinned slider: thumb states, channel, filled part and shadow.
constexpr COLORREF kThumbColours[4] = {RGB(250, 250, 250), RGB(250, 150, 0), RGB(0, 200, 250), RGB(90, 90, 90)};
constexpr COLORREF kChannel = RGB(20, 20, 20), kFilled = RGB(0, 160, 80), kShadow = RGB(100, 0, 100);
constexpr int kThumbWidth = 10, kThumbHeight = 20, kChannelWidth = 200, kChannelHeight = 20;
constexpr int kShadowLeft = 3, kShadowDown = 2;
// Text file colours of the generic controls.
constexpr COLORREF kComboBackground = RGB(200, 230, 120), kComboText = RGB(10, 20, 30);
constexpr COLORREF kListText = RGB(200, 0, 0), kListBackground = RGB(240, 240, 200);
constexpr int kComboFontHeight = -15;
// The control set dialog: its buttons' face and caption colour, its edits' colours and size.
constexpr COLORREF kBigButtonFace = RGB(30, 90, 160), kCaptionColour = RGB(255, 255, 255);
constexpr int kBigButtonWidth = 120, kBigButtonHeight = 40;
constexpr COLORREF kEditBackground = RGB(230, 230, 180), kEditText = RGB(0, 0, 0);
constexpr int kEditWidth = 120, kEditHeight = 40;
// The skinned edit's background bitmap; its border is drawn in its text colour (kComboText).
constexpr COLORREF kEditPattern = RGB(90, 170, 210);
// The frame the skin calls a placement control, although the template makes it a static.
constexpr RECT kFrameRect = {10, 110, 110, 160};

// Writes Graphics1033.xml, Text1033.xml and the bitmaps into `folder` (no trailing backslash).
void WriteControlSkin(const std::string& folder);

}  // namespace controltest
