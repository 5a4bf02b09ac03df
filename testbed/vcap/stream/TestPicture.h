#pragma once
// The generated camera: a 4:2:0 picture with colour bars, a box that moves one step per frame
// and captions naming the input, the standard and the frame number. Without a signal the
// picture is plain blue, as the decoder chips of capture cards show it.
#include <cstdint>
#include <string>
#include <vector>

namespace vcap {

struct Picture {
    int width = 0;   // coded size: the configured size rounded up to whole macroblocks
    int height = 0;
    std::vector<uint8_t> y, cb, cr;  // planes without padding; chroma is width/2 x height/2

    void resize(int w, int h);
    uint8_t lumaAt(int x, int y) const { return this->y[static_cast<size_t>(y) * width + x]; }
};

// The decoder's picture adjustments, in the ranges of its VideoProcAmp properties: brightness
// 0..255 (128 unchanged), contrast and saturation 0..127 (64 unchanged), hue -128..127 (a turn
// of the colours by hue/128 of half a circle).
struct PictureAdjust {
    long brightness = 128;
    long contrast = 64;
    long hue = 0;
    long saturation = 64;
};

struct PictureCaption {
    std::string inputName;
    std::string standardName;
    bool signal = true;
    PictureAdjust adjust;
};

// Applies the adjustments to the whole picture (nothing changes at the neutral values).
void AdjustPicture(Picture& pic, const PictureAdjust& adjust);

void RenderTestPicture(Picture& pic, const PictureCaption& caption, uint64_t frameNumber);

// The box's left edge in frame `frameNumber` of a picture `width` wide (tests follow it).
int MovingBoxX(int width, uint64_t frameNumber);

}  // namespace vcap
