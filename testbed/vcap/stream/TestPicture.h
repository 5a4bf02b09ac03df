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

struct PictureCaption {
    std::string inputName;
    std::string standardName;
    bool signal = true;
};

void RenderTestPicture(Picture& pic, const PictureCaption& caption, uint64_t frameNumber);

// The box's left edge in frame `frameNumber` of a picture `width` wide (tests follow it).
int MovingBoxX(int width, uint64_t frameNumber);

}  // namespace vcap
