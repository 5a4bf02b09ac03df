// The encoder's interface: validation, preparation of the tables, and the buffer rules.
#include "JpegEncoder.h"

#include <exception>
#include <memory>

#include "JpegEncoderState.h"

namespace {

int Validate(const JpegEncoderParams& params, jpeg::Frame* frame) {
    if (params.precision != 8 || !jpeg::MakeFrame(params, frame)) return kJpegUnsupportedFormat;
    if (params.quality < 1 || params.quality > 100) return kJpegBadQuality;
    if (params.mode != kJpegBaseline && params.mode != kJpegProgressive)
        return kJpegUnsupportedMode;
    return kJpegOk;
}

// The smallest buffer EncodeJpeg accepts: quality * components * width * height / 200.
size_t MinimumBuffer(const JpegEncoder& encoder) {
    return static_cast<size_t>(encoder.params.quality) * static_cast<size_t>(encoder.frame.count) *
           static_cast<size_t>(encoder.frame.width) * static_cast<size_t>(encoder.frame.height) /
           200;
}

}  // namespace

int CreateJpegEncoder(const JpegEncoderParams& params, JpegEncoder** encoder) {
    if (!encoder) return kJpegNoEncoder;
    *encoder = nullptr;
    jpeg::Frame frame;
    if (const int result = Validate(params, &frame); result != kJpegOk) return result;
    try {
        auto created = std::make_unique<JpegEncoder>();
        created->params = params;
        created->frame = frame;
        // RGB samples are all treated like luminance.
        const bool rgb = params.format == kJpegRgb;
        created->quant[0] = jpeg::MakeQuantTable(jpeg::kLuminanceQuant, params.quality);
        created->quant[1] = jpeg::MakeQuantTable(
            rgb ? jpeg::kLuminanceQuant : jpeg::kChrominanceQuant, params.quality);
        created->dc[0] = jpeg::MakeHuffmanCodes(jpeg::kDcLuminance);
        created->dc[1] = jpeg::MakeHuffmanCodes(jpeg::kDcChrominance);
        created->ac[0] = jpeg::MakeHuffmanCodes(jpeg::kAcLuminance);
        created->ac[1] = jpeg::MakeHuffmanCodes(jpeg::kAcChrominance);
        if (params.mode == kJpegProgressive) {
            for (int i = 0; i < frame.count; ++i) {
                const jpeg::Component& c = frame.comp[i];
                created->coefficients[i].resize(static_cast<size_t>(c.blocksX) *
                                                static_cast<size_t>(c.blocksY) * 64);
            }
        }
        *encoder = created.release();
        return kJpegOk;
    } catch (const std::exception&) {
        return kJpegNoEncoder;  // out of memory for the progressive coefficient store
    }
}

int EncodeJpeg(JpegEncoder* encoder, const uint8_t* planes, uint8_t* output, size_t* size) {
    if (!encoder) return kJpegNoEncoder;
    if (!planes) return kJpegUnsupportedFormat;
    const size_t minimum = MinimumBuffer(*encoder);
    if (!size) return kJpegBufferTooSmall;
    if (!output || *size < minimum) {
        *size = minimum;
        return kJpegBufferTooSmall;
    }
    jpeg::ByteSink sink(output, *size);
    if (encoder->params.mode == kJpegProgressive)
        jpeg::WriteProgressiveStream(*encoder, planes, sink);
    else
        jpeg::WriteBaselineStream(*encoder, planes, sink);
    *size = sink.Count();
    return sink.Overflowed() ? kJpegBufferTooSmall : kJpegOk;
}

void DestroyJpegEncoder(JpegEncoder* encoder) { delete encoder; }

size_t JpegInputSize(const JpegEncoderParams& params) {
    jpeg::Frame frame;
    return jpeg::MakeFrame(params, &frame) ? frame.inputSize : 0;
}
