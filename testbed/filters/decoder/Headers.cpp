#include "Headers.h"

#include <cstring>

namespace mpegv {

const uint8_t kZigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

const uint8_t kAlternateScan[64] = {
    0,  8,  16, 24, 1,  9,  2,  10, 17, 25, 32, 40, 48, 56, 57, 49,
    41, 33, 26, 18, 3,  11, 4,  12, 19, 27, 34, 42, 50, 58, 35, 43,
    51, 59, 20, 28, 5,  13, 6,  14, 21, 29, 36, 44, 52, 60, 37, 45,
    53, 61, 22, 30, 7,  15, 23, 31, 38, 46, 54, 62, 39, 47, 55, 63};

const uint8_t kDefaultIntraMatrix[64] = {
    8,  16, 19, 22, 26, 27, 29, 34, 16, 16, 22, 24, 27, 29, 34, 37,
    19, 22, 26, 27, 29, 34, 34, 38, 22, 22, 26, 27, 29, 34, 37, 40,
    22, 26, 27, 29, 32, 35, 40, 48, 26, 27, 29, 32, 35, 40, 48, 58,
    26, 27, 29, 34, 38, 46, 56, 69, 27, 29, 35, 38, 46, 56, 69, 83};

namespace {

// Matrices travel in zigzag order whatever scan the pictures use.
bool LoadMatrix(BitReader& br, uint8_t* raster)
{
    for (int i = 0; i < 64; ++i) {
        const uint32_t v = br.Get(8);
        if (v == 0) return false;
        raster[kZigzag[i]] = uint8_t(v);
    }
    return true;
}

}  // namespace

bool ParseSequenceHeader(BitReader& br, SequenceInfo* seq)
{
    SequenceInfo s;
    s.width = int(br.Get(12));
    s.height = int(br.Get(12));
    s.aspectCode = int(br.Get(4));
    s.frameRateCode = int(br.Get(4));
    s.bitRate = br.Get(18);
    if (!br.Flag()) return false;  // marker
    br.Skip(10 + 1);               // buffer size, constrained parameters
    std::memcpy(s.intraMatrix, kDefaultIntraMatrix, 64);
    if (br.Flag() && !LoadMatrix(br, s.intraMatrix)) return false;
    if (br.Overrun() || s.width == 0 || s.height == 0 || s.aspectCode == 0) return false;
    *seq = s;
    return true;
}

void ParseSequenceExtension(BitReader& br, SequenceInfo* seq)
{
    br.Skip(4 + 8);  // extension id, profile and level
    seq->progressiveSequence = br.Flag();
    seq->chromaFormat = int(br.Get(2));
    seq->width |= int(br.Get(2)) << 12;
    seq->height |= int(br.Get(2)) << 12;
    seq->mpeg2 = true;
}

void ParseQuantMatrixExtension(BitReader& br, SequenceInfo* seq)
{
    br.Skip(4);
    uint8_t matrix[64];
    if (br.Flag() && LoadMatrix(br, matrix)) std::memcpy(seq->intraMatrix, matrix, 64);
}

bool ParsePictureHeader(BitReader& br, PictureInfo* pic)
{
    PictureInfo p;
    p.temporalReference = int(br.Get(10));
    p.codingType = int(br.Get(3));
    br.Skip(16);  // buffer delay
    if (p.codingType == kPredicted || p.codingType == kBidirectional) {
        br.Skip(1);
        p.fCode[0][0] = p.fCode[0][1] = int(br.Get(3));
    }
    if (p.codingType == kBidirectional) {
        br.Skip(1);
        p.fCode[1][0] = p.fCode[1][1] = int(br.Get(3));
    }
    if (p.codingType < kIntra || p.codingType > kDcOnly || br.Overrun()) return false;
    *pic = p;
    return true;
}

void ParsePictureCodingExtension(BitReader& br, PictureInfo* pic)
{
    br.Skip(4);
    for (auto& direction : pic->fCode)
        for (int& f : direction) f = int(br.Get(4));
    pic->intraDcPrecision = int(br.Get(2));
    pic->structure = int(br.Get(2));
    br.Skip(1);  // top field first
    pic->framePredFrameDct = br.Flag();
    pic->concealmentVectors = br.Flag();
    pic->qScaleType = br.Flag();
    pic->intraVlcFormat = br.Flag();
    pic->alternateScan = br.Flag();
}

int64_t FrameDuration(int frameRateCode)
{
    static const int64_t kDurations[9] = {0, 417083, 416667, 400000, 333667,
                                          333333, 200000, 166833, 166667};
    return frameRateCode > 0 && frameRateCode < 9 ? kDurations[frameRateCode] : 0;
}

}  // namespace mpegv
