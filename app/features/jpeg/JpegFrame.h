#pragma once
// Geometry of a frame: components with their sampling, planes and block grids, and the
// reading of 8x8 sample blocks with the picture's edge samples repeated past its border.
#include <cstddef>
#include <cstdint>

#include "JpegEncoder.h"

namespace jpeg {

struct Component {
    int id;         // 1, 2, 3
    int h, v;       // sampling factors
    int table;      // quantisation and Huffman table index
    int width;      // plane size in samples
    int height;
    size_t offset;  // of the plane within the input
    int blocksX;    // block grid covering whole MCUs
    int blocksY;
    // Blocks a non-interleaved scan covers: the plane rounded up to whole blocks only.
    int ScanBlocksX() const { return (width + 7) / 8; }
    int ScanBlocksY() const { return (height + 7) / 8; }
};

struct Frame {
    int width = 0;
    int height = 0;
    int count = 0;  // components
    Component comp[3] = {};
    int mcuWidth = 0;
    int mcuHeight = 0;
    int mcusX = 0;
    int mcusY = 0;
    size_t inputSize = 0;
};

// False for an unknown format or a size outside 1 to 65535.
bool MakeFrame(const JpegEncoderParams& params, Frame* frame);

// Copies the 8x8 block at block position (bx, by) of a component plane, repeating the last
// column and row of the plane where the block reaches past it.
void LoadEdgeBlock(const uint8_t* plane, const Component& c, int bx, int by, uint8_t out[64]);

}  // namespace jpeg
