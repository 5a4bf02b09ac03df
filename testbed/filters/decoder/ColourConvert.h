#pragma once
// 4:2:0 pictures and their conversion to the RGB layouts a video renderer accepts.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mpegv {

// A decoded picture: planes padded to whole macroblocks; `width` x `height` is the display size.
struct Picture {
    int width = 0;
    int height = 0;
    int lumaStride = 0;
    int chromaStride = 0;
    int paddedHeight = 0;
    std::vector<uint8_t> y, cb, cr;

    void Allocate(int displayWidth, int displayHeight, int paddedWidth, int paddedLines);
    bool Empty() const { return y.empty(); }
};

// ITU-R BT.601 studio-range YCbCr to RGB. `bytesPerPixel` is 3 (B, G, R) or 4 (B, G, R, 0);
// rows are written bottom-up when `bottomUp` is set, as a DIB with positive height stores them.
void ConvertToRgb(const Picture& picture, uint8_t* dst, ptrdiff_t dstStride, int bytesPerPixel,
                  bool bottomUp);

// The same as one 8-bit sample triple, for tests and single pixels.
void YCbCrToRgb(int y, int cb, int cr, uint8_t* r, uint8_t* g, uint8_t* b);

}  // namespace mpegv
