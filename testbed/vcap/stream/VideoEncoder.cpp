#include "VideoEncoder.h"

#include <algorithm>

namespace vcap {
namespace {

constexpr uint8_t kPictureStart = 0x00;
constexpr uint8_t kSequenceHeader = 0xB3;
constexpr uint8_t kExtensionStart = 0xB5;
constexpr uint8_t kSequenceEnd = 0xB7;
constexpr uint8_t kGroupStart = 0xB8;

}  // namespace

VideoEncoder::VideoEncoder(const StreamConfig& config)
    : config_(config), mpeg2_(IsMpeg2(config)), coder_(mpeg2_)
{
    mbWidth_ = static_cast<int>((config.width + 15) / 16);
    mbHeight_ = static_cast<int>((config.height + 15) / 16);
    blocks_.resize(static_cast<size_t>(mbWidth_) * mbHeight_ * 6);
}

void VideoEncoder::writeSequenceHeader(BitWriter& bw) const
{
    // At a variable bit rate the header carries the ceiling, not the average.
    const uint32_t rate400 = (std::max(config_.videoBitRate, config_.peakBitRate) + 399) / 400;
    bw.startCode(kSequenceHeader);
    bw.put(config_.width & 0xFFF, 12);
    bw.put(config_.height & 0xFFF, 12);
    // MPEG-2: display aspect 4:3. MPEG-1: pixel aspect of ITU-R 601 sampling for the line count.
    bw.put(mpeg2_ ? 2 : (config_.lines525 ? 12 : 8), 4);
    bw.put(config_.lines525 ? 4 : 3, 4);  // 29.97 or 25 frames/s
    bw.put(rate400 & 0x3FFFF, 18);
    bw.put(1, 1);
    const uint32_t vbvSize = (mpeg2_ || config_.videoBitRate > 1856000) ? 112 : 20;  // 16 kbit units
    bw.put(vbvSize, 10);
    bw.put(0, 1);  // constrained_parameters_flag
    bw.put(0, 1);  // default intra matrix
    bw.put(0, 1);  // default non-intra matrix
    if (!mpeg2_)
        return;
    bw.startCode(kExtensionStart);
    bw.put(1, 4);        // sequence extension
    bw.put(0x48, 8);     // main profile, main level
    bw.put(0, 1);        // progressive_sequence: the source is interlaced video
    bw.put(1, 2);        // 4:2:0
    bw.put(0, 2);        // horizontal size extension
    bw.put(0, 2);        // vertical size extension
    bw.put((rate400 >> 18) & 0xFFF, 12);
    bw.put(1, 1);
    bw.put(0, 8);        // vbv_buffer_size_extension
    bw.put(1, 1);        // low_delay: no B pictures
    bw.put(0, 2);
    bw.put(0, 5);
}

void VideoEncoder::writeGopHeader(BitWriter& bw) const
{
    const uint64_t fps = config_.lines525 ? 30 : 25;
    const uint64_t n = pictures_;
    bw.startCode(kGroupStart);
    bw.put(0, 1);  // drop_frame_flag
    bw.put(static_cast<uint32_t>((n / (fps * 3600)) % 24), 5);
    bw.put(static_cast<uint32_t>((n / (fps * 60)) % 60), 6);
    bw.put(1, 1);
    bw.put(static_cast<uint32_t>((n / fps) % 60), 6);
    bw.put(static_cast<uint32_t>(n % fps), 6);
    bw.put(1, 1);  // closed_gop: every group starts with an intra picture and has no B pictures
    bw.put(0, 1);  // broken_link
}

void VideoEncoder::writePictureHeader(BitWriter& bw, bool intra, int temporalReference) const
{
    bw.startCode(kPictureStart);
    bw.put(static_cast<uint32_t>(temporalReference) & 0x3FF, 10);
    bw.put(intra ? 1 : 2, 3);
    bw.put(0xFFFF, 16);  // vbv_delay not given
    if (!intra) {
        bw.put(0, 1);                // full_pel_forward_vector
        bw.put(mpeg2_ ? 7 : 1, 3);   // MPEG-2 carries f_code in the extension
    }
    bw.put(0, 1);  // extra_bit_picture
    if (!mpeg2_)
        return;
    bw.startCode(kExtensionStart);
    bw.put(8, 4);  // picture coding extension
    bw.put(intra ? 15 : 1, 4);
    bw.put(intra ? 15 : 1, 4);
    bw.put(15, 4);
    bw.put(15, 4);
    bw.put(0, 2);  // intra_dc_precision: 8 bits
    bw.put(3, 2);  // frame picture
    bw.put(1, 1);  // top_field_first
    bw.put(1, 1);  // frame_pred_frame_dct
    bw.put(0, 1);  // concealment_motion_vectors
    bw.put(0, 1);  // q_scale_type: linear
    bw.put(0, 1);  // intra_vlc_format
    bw.put(0, 1);  // alternate_scan
    bw.put(0, 1);  // repeat_first_field
    bw.put(1, 1);  // chroma_420_type
    bw.put(1, 1);  // progressive_frame
    bw.put(0, 1);  // composite_display_flag
}

void VideoEncoder::transform(const Picture& p)
{
    const int cw = p.width / 2;
    size_t b = 0;
    for (int my = 0; my < mbHeight_; ++my) {
        for (int mx = 0; mx < mbWidth_; ++mx) {
            const uint8_t* luma = &p.y[static_cast<size_t>(my * 16) * p.width + mx * 16];
            ForwardDct(luma, p.width, blocks_[b++]);
            ForwardDct(luma + 8, p.width, blocks_[b++]);
            ForwardDct(luma + 8 * p.width, p.width, blocks_[b++]);
            ForwardDct(luma + 8 * p.width + 8, p.width, blocks_[b++]);
            const size_t chroma = static_cast<size_t>(my * 8) * cw + mx * 8;
            ForwardDct(&p.cb[chroma], cw, blocks_[b++]);
            ForwardDct(&p.cr[chroma], cw, blocks_[b++]);
        }
    }
}

void VideoEncoder::codeIntraSlices(BitWriter& bw, int quantiser)
{
    size_t b = 0;
    for (int my = 0; my < mbHeight_; ++my) {
        bw.startCode(static_cast<uint8_t>(my + 1));
        bw.put(static_cast<uint32_t>(quantiser), 5);
        bw.put(0, 1);  // extra_bit_slice
        coder_.resetDcPredictors();
        for (int mx = 0; mx < mbWidth_; ++mx) {
            bw.put(1, 1);  // macroblock_address_increment 1
            bw.put(1, 1);  // intra, quantiser from the slice
            for (int i = 0; i < 6; ++i)
                coder_.codeBlock(bw, blocks_[b++], i < 4 ? 0 : i - 3, quantiser);
        }
    }
}

void VideoEncoder::codeRepeatSlices(BitWriter& bw) const
{
    // Each macroblock: increment 1, "motion compensated, not coded", zero motion vectors.
    // Skipped macroblocks would be shorter but the first and last of a slice must be coded
    // anyway, and this keeps every macroblock the same.
    for (int my = 0; my < mbHeight_; ++my) {
        bw.startCode(static_cast<uint8_t>(my + 1));
        bw.put(31, 5);
        bw.put(0, 1);
        for (int mx = 0; mx < mbWidth_; ++mx) {
            bw.put(1, 1);
            bw.put(1, 3);
            bw.put(1, 1);
            bw.put(1, 1);
        }
    }
}

size_t VideoEncoder::codeIntraPicture(std::vector<uint8_t>& out, int quantiser, bool groupStart)
{
    const size_t start = out.size();
    BitWriter bw(out);
    if (groupStart) {
        writeSequenceHeader(bw);
        writeGopHeader(bw);
    }
    writePictureHeader(bw, true, groupStart ? 0 : gopIndex_);
    codeIntraSlices(bw, quantiser);
    bw.align();
    return out.size() - start;
}

VideoEncoder::Result VideoEncoder::encode(const Picture& picture, std::vector<uint8_t>& out)
{
    const uint64_t num = FrameRateNum(config_);
    const uint64_t den = FrameRateDen(config_);
    const uint64_t target = static_cast<uint64_t>(config_.videoBitRate) * den * (pictures_ + 1) / (8 * num);
    const int64_t allowance = static_cast<int64_t>(target) - static_cast<int64_t>(bytesSent_);
    const bool groupStart = !gopOpen_ || gopIndex_ >= static_cast<int>(config_.gopLength);

    transform(picture);
    std::vector<uint8_t> trial;
    int q = quantiser_;
    for (;;) {
        trial.clear();
        const size_t size = codeIntraPicture(trial, q, groupStart);
        if (static_cast<int64_t>(size) <= allowance || q == 31)
            break;
        q = std::min(31, q + std::max(1, q / 4));
    }

    Result r;
    const size_t start = out.size();
    // The first picture is sent whatever its size so that a decoder has something to show.
    if (static_cast<int64_t>(trial.size()) <= allowance || !gopOpen_) {
        out.insert(out.end(), trial.begin(), trial.end());
        r.intra = true;
        r.quantiser = q;
        // Drift back towards finer quantisation while there is room to spare.
        quantiser_ = (static_cast<int64_t>(trial.size()) * 10 < allowance * 7 && q > 1) ? q - 1 : q;
        if (groupStart)
            gopIndex_ = 0;
        gopOpen_ = true;
        r.codedBytes = out.size() - start;
        if (static_cast<int64_t>(r.codedBytes) < allowance)
            out.resize(start + static_cast<size_t>(allowance), 0);
    } else {
        // Not even the coarsest quantiser fits: repeat the last picture and let the unused
        // share of this period gather for the next intra picture instead of stuffing it.
        quantiser_ = 31;
        BitWriter bw(out);
        writePictureHeader(bw, false, gopIndex_);
        codeRepeatSlices(bw);
        bw.align();
        r.codedBytes = out.size() - start;
    }
    ++gopIndex_;
    bytesSent_ += out.size() - start;
    ++pictures_;
    return r;
}

void VideoEncoder::writeSequenceEnd(std::vector<uint8_t>& out)
{
    BitWriter bw(out);
    bw.startCode(kSequenceEnd);
}

}  // namespace vcap
