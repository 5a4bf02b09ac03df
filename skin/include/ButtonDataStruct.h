#pragma once
// The skin data of one button element: its names, its sixteen state bitmaps (index = state +
// 4 x identity; state 0 up, 1 down, 2 focus, 3 disabled), four positions and the transparent
// radio settings.
#include <string>

struct ButtonDataStruct {
    std::string controlName;
    std::string templateName;
    bool usingTemplate = false;
    std::string bitmapFiles[16];  // resolved paths (or resource names); empty slot: none
    int x[4] = {0, 0, 0, 0};      // position groups 1 to 4
    int y[4] = {0, 0, 0, 0};
    int transparentRadioHeight = 0;
    int transparentRadioWidth = 0;
    bool transparentRadioBtnLeftJustified = false;
    bool transparentRadioTextLeftJustified = false;
};
