#pragma once
// Sequence, extension and picture headers of MPEG-1 and MPEG-2 video.
#include <cstdint>

#include "BitReader.h"

namespace mpegv {

enum StartCode : uint8_t {
    kPictureStart = 0x00,
    kSliceFirst = 0x01,
    kSliceLast = 0xAF,
    kSequenceHeader = 0xB3,
    kExtensionStart = 0xB5,
    kSequenceEnd = 0xB7,
    kGroupStart = 0xB8,
};

enum PictureType { kIntra = 1, kPredicted = 2, kBidirectional = 3, kDcOnly = 4 };
enum PictureStructure { kTopField = 1, kBottomField = 2, kFramePicture = 3 };

extern const uint8_t kZigzag[64];         // scan index -> raster position
extern const uint8_t kAlternateScan[64];
extern const uint8_t kDefaultIntraMatrix[64];  // raster order

struct SequenceInfo {
    int width = 0;
    int height = 0;
    int aspectCode = 0;
    int frameRateCode = 0;
    uint32_t bitRate = 0;           // units of 400 bit/s
    uint8_t intraMatrix[64] = {};   // raster order
    bool mpeg2 = false;             // a sequence extension followed the header
    bool progressiveSequence = true;
    int chromaFormat = 1;           // 1 = 4:2:0
};

struct PictureInfo {
    int temporalReference = 0;
    int codingType = 0;
    int fCode[2][2] = {{1, 1}, {1, 1}};
    int intraDcPrecision = 0;
    int structure = kFramePicture;
    bool framePredFrameDct = true;
    bool concealmentVectors = false;
    bool qScaleType = false;
    bool intraVlcFormat = false;
    bool alternateScan = false;
};

// Each parser reads the unit after its 4-byte start code; false on values no stream may carry.
bool ParseSequenceHeader(BitReader& br, SequenceInfo* seq);
void ParseSequenceExtension(BitReader& br, SequenceInfo* seq);
void ParseQuantMatrixExtension(BitReader& br, SequenceInfo* seq);
bool ParsePictureHeader(BitReader& br, PictureInfo* pic);
void ParsePictureCodingExtension(BitReader& br, PictureInfo* pic);

// Frame rate of a frame_rate_code as a 100-ns frame duration; 0 when reserved.
int64_t FrameDuration(int frameRateCode);

}  // namespace mpegv
