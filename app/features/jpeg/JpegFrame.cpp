#include "JpegFrame.h"

namespace jpeg {

bool MakeFrame(const JpegEncoderParams& params, Frame* frame) {
    if (params.width < 1 || params.width > 65535 || params.height < 1 || params.height > 65535)
        return false;
    int lumaH = 1, lumaV = 1;
    switch (params.format) {
    case kJpegYCbCr420: lumaH = 2; lumaV = 2; break;
    case kJpegYCbCr422: lumaH = 2; break;
    case kJpegYCbCr444:
    case kJpegGrey:
    case kJpegRgb: break;
    default: return false;
    }
    Frame f;
    f.width = params.width;
    f.height = params.height;
    f.count = params.format == kJpegGrey ? 1 : 3;
    f.mcuWidth = 8 * lumaH;
    f.mcuHeight = 8 * lumaV;
    f.mcusX = (f.width + f.mcuWidth - 1) / f.mcuWidth;
    f.mcusY = (f.height + f.mcuHeight - 1) / f.mcuHeight;
    size_t offset = 0;
    for (int i = 0; i < f.count; ++i) {
        Component& c = f.comp[i];
        c.id = i + 1;
        c.h = i == 0 ? lumaH : 1;
        c.v = i == 0 ? lumaV : 1;
        c.table = i == 0 ? 0 : 1;
        // A subsampled plane covers the picture: ceil(size * factor / max factor) (T.81 A.1.1).
        c.width = (f.width * c.h + lumaH - 1) / lumaH;
        c.height = (f.height * c.v + lumaV - 1) / lumaV;
        c.offset = offset;
        offset += static_cast<size_t>(c.width) * static_cast<size_t>(c.height);
        c.blocksX = f.mcusX * c.h;
        c.blocksY = f.mcusY * c.v;
    }
    f.inputSize = offset;
    *frame = f;
    return true;
}

void LoadEdgeBlock(const uint8_t* plane, const Component& c, int bx, int by, uint8_t out[64]) {
    int xs[8];
    for (int i = 0; i < 8; ++i) {
        const int x = bx * 8 + i;
        xs[i] = x < c.width ? x : c.width - 1;
    }
    for (int j = 0; j < 8; ++j) {
        const int y = by * 8 + j < c.height ? by * 8 + j : c.height - 1;
        const uint8_t* row = plane + static_cast<size_t>(y) * static_cast<size_t>(c.width);
        for (int i = 0; i < 8; ++i) out[j * 8 + i] = row[xs[i]];
    }
}

}  // namespace jpeg
