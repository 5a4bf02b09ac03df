#pragma once
// The program's own JPEG encoder (ITU-T T.81): baseline sequential and progressive DCT,
// 8-bit samples, typical Huffman tables, quantisation tables scaled from the standard ones.
// Pure C++ with no platform dependency; no exception leaves these functions.
#include <cstddef>
#include <cstdint>

struct JpegEncoderParams {
    int32_t height;     // pixels, 1 to 65535
    int32_t width;      // pixels, 1 to 65535
    int32_t precision;  // bits per sample; only 8
    int32_t format;     // JpegFormat
    int32_t quality;    // 1 (smallest) to 100 (best)
    int32_t mode;       // JpegMode
};

// Input planes, stored one after another in `planes` (8-bit samples, rows top to bottom, no
// padding). A subsampled plane is ceil(width / 2) wide, and for 4:2:0 ceil(height / 2) high.
enum JpegFormat : int32_t {
    kJpegYCbCr420 = 1,  // Y, Cb, Cr; MCU 16x16
    kJpegYCbCr422 = 2,  // Y, Cb, Cr; MCU 16x8
    kJpegYCbCr444 = 3,  // Y, Cb, Cr; MCU 8x8
    kJpegGrey = 4,      // Y; MCU 8x8
    kJpegRgb = 5,       // R, G, B coded as they are (Adobe marker, no colour transform)
};

enum JpegMode : int32_t {
    kJpegBaseline = 1,     // sequential DCT, one MCU row per restart interval
    kJpegProgressive = 2,  // progressive DCT, DC first then spectral bands with refinement
};

enum JpegResult : int {
    kJpegOk = 0,
    kJpegUnsupportedFormat = 240,  // also: precision not 8, size outside 1 to 65535, no planes
    kJpegBadQuality = 241,
    kJpegUnsupportedMode = 242,
    kJpegNoEncoder = 243,          // also: the encoder could not be created (out of memory)
    kJpegBufferTooSmall = 244,     // the size argument then holds the bytes needed
};

class JpegEncoder;

// On success *encoder receives a new encoder; on failure it receives nullptr.
int CreateJpegEncoder(const JpegEncoderParams& params, JpegEncoder** encoder);

// Encodes one picture into output[0 .. *size). The buffer must hold at least
// quality * components * width * height / 200 bytes. On success *size becomes the stream's
// length. When the buffer is below that figure, or the stream turns out longer than the buffer,
// nothing is written past the buffer, 244 is returned and *size holds the bytes needed.
int EncodeJpeg(JpegEncoder* encoder, const uint8_t* planes, uint8_t* output, size_t* size);

void DestroyJpegEncoder(JpegEncoder* encoder);

// Bytes of input `planes` that a picture with these parameters takes (0 for an invalid format).
size_t JpegInputSize(const JpegEncoderParams& params);
