#pragma once
// A small skin for the dialog tests, written into the skin folder next to the test program:
// a rounded background with transparent corners, bitmaps of every depth, broken files and
// the graphics and text files that name them.
#include <windows.h>

#include <functional>
#include <string>

namespace dialogtest {

constexpr COLORREF kTransparent = RGB(255, 0, 255);
constexpr COLORREF kFace = RGB(40, 90, 160);
constexpr COLORREF kStripe = RGB(230, 200, 40);
constexpr int kFaceWidth = 240, kFaceHeight = 160, kCornerRadius = 30;
// The transparent static's and transparent radios' colours in the test text file.
constexpr COLORREF kTextWhite = RGB(255, 255, 255);
constexpr COLORREF kTextYellow = RGB(255, 255, 0);  // down (checked) text colour of the radios
constexpr COLORREF kTextGrey = RGB(128, 128, 128);  // disabled text colour
// The bitmap marks of the second transparent radio.
constexpr COLORREF kMarkOff = RGB(0, 160, 0), kMarkOn = RGB(200, 30, 30), kMarkDisabled = RGB(90, 90, 200);
constexpr int kMarkSide = 10;

// Writes a bottom-up BMP file of 8, 16, 24 or 32 bits per pixel.
bool WriteBmp(const std::string& path, int width, int height, int bits,
              const std::function<COLORREF(int, int)>& colourAt);
// The test background: a rounded rectangle with a stripe, magenta outside.
COLORREF FaceColour(int x, int y);

// A face whose only tab sits on the upper left, above a plain rectangle: a face read upside
// down or mirrored shows the tab elsewhere.
constexpr int kTabLeft = 10, kTabRight = 60, kTabHeight = 12;
COLORREF TabbedFaceColour(int x, int y);

// Writes Graphics1033.xml, Text1033.xml and the bitmaps into `folder` (no trailing backslash).
void WriteTestSkin(const std::string& folder);

}  // namespace dialogtest
