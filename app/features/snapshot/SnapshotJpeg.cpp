#include "SnapshotJpeg.h"

#include <new>

#include "JpegEncoder.h"

namespace snapshot {
namespace {

constexpr int32_t kPrecision = 8;
constexpr int32_t kBestQuality = 100;

struct EncoderOwner {
    JpegEncoder* encoder = nullptr;
    ~EncoderOwner() { DestroyJpegEncoder(encoder); }
};

}  // namespace

int EncodeStillJpeg(const RgbPlanes& picture, std::vector<std::uint8_t>& stream)
{
    stream.clear();
    const JpegEncoderParams params{picture.height, picture.width, kPrecision, kJpegRgb, kBestQuality, kJpegBaseline};
    if (picture.samples.size() < JpegInputSize(params))
        return kJpegUnsupportedFormat;
    EncoderOwner owner;
    if (const int created = CreateJpegEncoder(params, &owner.encoder); created != kJpegOk)
        return created;
    // The encoder answers a buffer below its floor with that floor, and a stream that outgrew
    // the buffer with the length it measured: at most one of each, then the stream fits.
    std::size_t size = kFirstJpegBuffer;
    int result = kJpegBufferTooSmall;
    for (int pass = 0; pass < 3 && result == kJpegBufferTooSmall; ++pass) {
        const std::size_t offered = size;
        try {
            stream.resize(offered);
        } catch (const std::bad_alloc&) {
            stream.clear();
            return kJpegNoEncoder;
        }
        result = EncodeJpeg(owner.encoder, picture.samples.data(), stream.data(), &size);
        if (result == kJpegBufferTooSmall && size <= offered)
            break;
    }
    if (result != kJpegOk) {
        stream.clear();
        return result;
    }
    stream.resize(size);
    return kJpegOk;
}

}  // namespace snapshot
