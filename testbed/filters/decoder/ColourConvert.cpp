#include "ColourConvert.h"

namespace mpegv {
namespace {

uint8_t Clamp(int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

}  // namespace

void Picture::Allocate(int displayWidth, int displayHeight, int paddedWidth, int paddedLines)
{
    width = displayWidth;
    height = displayHeight;
    lumaStride = paddedWidth;
    chromaStride = paddedWidth / 2;
    paddedHeight = paddedLines;
    // Mid grey until the first slices arrive.
    y.assign(size_t(lumaStride) * paddedLines, 16);
    cb.assign(size_t(chromaStride) * (paddedLines / 2), 128);
    cr.assign(size_t(chromaStride) * (paddedLines / 2), 128);
}

void YCbCrToRgb(int y, int cb, int cr, uint8_t* r, uint8_t* g, uint8_t* b)
{
    // Coefficients scaled by 2^16: 1.164, 1.596, 0.813, 0.391, 2.018.
    const int c = (y - 16) * 76309;
    const int d = cb - 128;
    const int e = cr - 128;
    *r = Clamp((c + 104597 * e + 32768) >> 16);
    *g = Clamp((c - 25675 * d - 53279 * e + 32768) >> 16);
    *b = Clamp((c + 132201 * d + 32768) >> 16);
}

void ConvertToRgb(const Picture& picture, uint8_t* dst, ptrdiff_t dstStride, int bytesPerPixel,
                  bool bottomUp)
{
    for (int row = 0; row < picture.height; ++row) {
        const uint8_t* ys = picture.y.data() + size_t(row) * picture.lumaStride;
        const size_t chromaRow = size_t(row / 2) * picture.chromaStride;
        const uint8_t* cbs = picture.cb.data() + chromaRow;
        const uint8_t* crs = picture.cr.data() + chromaRow;
        uint8_t* out = dst + (bottomUp ? picture.height - 1 - row : row) * dstStride;
        for (int x = 0; x < picture.width; ++x, out += bytesPerPixel) {
            YCbCrToRgb(ys[x], cbs[x / 2], crs[x / 2], out + 2, out + 1, out);
            if (bytesPerPixel == 4) out[3] = 0;
        }
    }
}

}  // namespace mpegv
