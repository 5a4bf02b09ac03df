#pragma once
// MPEG-1 or MPEG-2 video elementary stream of intra-coded pictures at a constant bit rate.
// Every picture period gets exactly its share of the bit rate: the quantiser is chosen so the
// picture fits, and the rest is zero stuffing before the next start code. When even the
// coarsest quantiser does not fit, the encoder sends cheap repeat pictures (P pictures whose
// macroblocks all copy the previous picture) until enough budget has gathered.
#include "IntraBlockCoder.h"
#include "StreamConfig.h"
#include "TestPicture.h"

#include <cstdint>
#include <vector>

namespace vcap {

class VideoEncoder {
public:
    explicit VideoEncoder(const StreamConfig& config);

    struct Result {
        bool intra = false;
        int quantiser = 0;
        size_t codedBytes = 0;  // before stuffing
    };

    // Appends the access unit of the next picture period (headers, picture, stuffing).
    Result encode(const Picture& picture, std::vector<uint8_t>& out);

    static void writeSequenceEnd(std::vector<uint8_t>& out);

    uint64_t picturesEncoded() const { return pictures_; }

private:
    void writeSequenceHeader(BitWriter& bw) const;
    void writeGopHeader(BitWriter& bw) const;
    void writePictureHeader(BitWriter& bw, bool intra, int temporalReference) const;
    void transform(const Picture& picture);
    void codeIntraSlices(BitWriter& bw, int quantiser);
    void codeRepeatSlices(BitWriter& bw) const;
    size_t codeIntraPicture(std::vector<uint8_t>& out, int quantiser, bool groupStart);

    StreamConfig config_;
    bool mpeg2_;
    int mbWidth_ = 0;
    int mbHeight_ = 0;
    std::vector<Coefficients> blocks_;  // six per macroblock, raster order
    IntraBlockCoder coder_;
    int quantiser_ = 8;
    uint64_t pictures_ = 0;
    int gopIndex_ = 0;      // pictures since the last group start
    bool gopOpen_ = false;  // a group header has been sent and pictures follow it
    uint64_t bytesSent_ = 0;
};

}  // namespace vcap
