#include "SliceDecoder.h"

#include <cstring>

#include "Idct.h"
#include "VlcTables.h"

namespace mpegv {
namespace {

const uint8_t kNonLinearScale[32] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  10, 12,
                                     14, 16, 18, 20, 22, 24, 28, 32, 36, 40, 44,
                                     48, 52, 56, 64, 72, 80, 88, 96, 104, 112};

int Clamp2048(int v) { return v < -2048 ? -2048 : v > 2047 ? 2047 : v; }

class SliceState {
public:
    SliceState(const SliceContext& ctx, BitReader& br, Picture& out)
        : ctx_(ctx), seq_(*ctx.sequence), pic_(*ctx.picture), br_(br), out_(out)
    {
        ResetDcPredictors();
    }

    bool Run(int row);

private:
    void ResetDcPredictors()
    {
        const int reset = 1 << (7 + (seq_.mpeg2 ? pic_.intraDcPrecision : 0));
        dcPred_[0] = dcPred_[1] = dcPred_[2] = reset;
    }
    int QuantiserScale() const
    {
        if (!seq_.mpeg2) return quantCode_;
        return pic_.qScaleType ? kNonLinearScale[quantCode_] : 2 * quantCode_;
    }
    bool SkipConcealmentVectors();
    bool DecodeBlock(int component, int coefficients[64]);
    bool DecodeMacroblock(int address);
    void Place(int address, int block, bool fieldDct, const int coefficients[64]);

    const SliceContext& ctx_;
    const SequenceInfo& seq_;
    const PictureInfo& pic_;
    BitReader& br_;
    Picture& out_;
    int dcPred_[3];
    int quantCode_ = 1;
};

bool SliceState::Run(int row)
{
    quantCode_ = int(br_.Get(5));
    if (quantCode_ == 0) return false;
    if (seq_.mpeg2 && br_.Flag()) {  // intra_slice_flag: intra_slice and reserved bits
        br_.Skip(8);
        while (br_.Flag()) br_.Skip(8);
    } else if (!seq_.mpeg2) {
        while (br_.Flag()) br_.Skip(8);
    }

    int address = row * ctx_.mbWidth - 1;
    bool first = true;
    const int end = ctx_.mbWidth * ctx_.mbRows;
    while (first || br_.Peek(23) != 0) {
        int increment = 0;
        for (;;) {
            const int v = DecodeMbaIncrement(br_);
            if (v == kMbaStuffing) continue;
            if (v == kMbaEscape) {
                increment += 33;
                continue;
            }
            if (v == kVlcError) return false;
            increment += v;
            break;
        }
        if (!first && increment > 1) ResetDcPredictors();  // skipped macroblocks
        address += increment;
        first = false;
        if (address >= end || !DecodeMacroblock(address)) return false;
        if (br_.Overrun()) return false;
    }
    return true;
}

bool SliceState::SkipConcealmentVectors()
{
    if (pic_.structure != kFramePicture) br_.Skip(1);  // field select
    for (int t = 0; t < 2; ++t) {
        const int code = DecodeMotionCode(br_);
        if (code == kVlcError) return false;
        const int f = pic_.fCode[0][t];
        if (f > 1 && code != 0) br_.Skip(unsigned(f - 1));
    }
    return br_.Flag();  // marker
}

bool SliceState::DecodeMacroblock(int address)
{
    const int type = DecodeIntraMbType(br_);
    if (type == kVlcError) return false;
    bool fieldDct = false;
    if (seq_.mpeg2 && pic_.structure == kFramePicture && !pic_.framePredFrameDct)
        fieldDct = br_.Flag();
    if (type == 2) {
        quantCode_ = int(br_.Get(5));
        if (quantCode_ == 0) return false;
    }
    if (seq_.mpeg2 && pic_.concealmentVectors && !SkipConcealmentVectors()) return false;

    int coefficients[64];
    for (int block = 0; block < 6; ++block) {
        if (!DecodeBlock(block < 4 ? 0 : block - 3, coefficients)) return false;
        Place(address, block, fieldDct, coefficients);
    }
    return true;
}

bool SliceState::DecodeBlock(int component, int coefficients[64])
{
    std::memset(coefficients, 0, 64 * sizeof(int));
    const int size = DecodeDcSize(br_, component != 0);
    if (size == kVlcError) return false;
    int diff = 0;
    if (size > 0) {
        const int v = int(br_.Get(unsigned(size)));
        diff = v < (1 << (size - 1)) ? v - (1 << size) + 1 : v;
    }
    dcPred_[component] += diff;
    const int precision = seq_.mpeg2 ? pic_.intraDcPrecision : 0;
    coefficients[0] = dcPred_[component] * (8 >> precision);
    int sum = coefficients[0];

    const uint8_t* scan = seq_.mpeg2 && pic_.alternateScan ? kAlternateScan : kZigzag;
    const bool tableOne = seq_.mpeg2 && pic_.intraVlcFormat;
    const int scale = QuantiserScale();
    for (int i = 0;;) {
        Coefficient c = DecodeCoefficient(br_, tableOne);
        if (c.kind == Coefficient::Error) return false;
        if (c.kind == Coefficient::EndOfBlock) break;
        if (c.kind == Coefficient::Escape) {
            c.run = int(br_.Get(6));
            if (seq_.mpeg2) {
                c.level = int(br_.Get(12));
                if (c.level & 0x800) c.level -= 4096;
                if (c.level == 0 || c.level == -2048) return false;
            } else {
                c.level = int(br_.Get(8));
                if (c.level == 0) c.level = int(br_.Get(8));
                else if (c.level == 128) c.level = int(br_.Get(8)) - 256;
                else if (c.level > 128) c.level -= 256;
            }
        }
        i += c.run + 1;
        if (i > 63 || br_.Overrun()) return false;
        const int pos = scan[i];
        int v;
        if (seq_.mpeg2) {
            v = (2 * c.level * scale * seq_.intraMatrix[pos]) / 32;
        } else {
            v = (2 * c.level * scale * seq_.intraMatrix[pos]) / 16;
            if (v != 0 && (v & 1) == 0) v -= v > 0 ? 1 : -1;  // MPEG-1 keeps levels odd
        }
        coefficients[pos] = Clamp2048(v);
        sum += coefficients[pos];
    }
    if (seq_.mpeg2 && (sum & 1) == 0) coefficients[63] ^= 1;  // mismatch control
    return true;
}

void SliceState::Place(int address, int block, bool fieldDct, const int coefficients[64])
{
    const int mbx = address % ctx_.mbWidth;
    const int mby = address / ctx_.mbWidth;
    const bool fieldPicture = pic_.structure != kFramePicture;
    const int fieldLine = pic_.structure == kBottomField ? 1 : 0;
    if (block < 4) {
        int line = mby * 16 + (block >> 1) * 8;
        int step = 1;
        if (fieldDct) {
            line = mby * 16 + (block >> 1);
            step = 2;
        }
        if (fieldPicture) {
            line = fieldLine + line * 2;
            step = 2;
        }
        uint8_t* dst = out_.y.data() + size_t(line) * out_.lumaStride + mbx * 16 + (block & 1) * 8;
        InverseDctToPixels(coefficients, dst, out_.lumaStride * step);
        return;
    }
    int line = mby * 8;
    int step = 1;
    if (fieldPicture) {
        line = fieldLine + line * 2;
        step = 2;
    }
    std::vector<uint8_t>& plane = block == 4 ? out_.cb : out_.cr;
    uint8_t* dst = plane.data() + size_t(line) * out_.chromaStride + mbx * 8;
    InverseDctToPixels(coefficients, dst, out_.chromaStride * step);
}

}  // namespace

bool DecodeSlice(const SliceContext& ctx, int code, BitReader& br, Picture& out)
{
    if (code < 1 || code > ctx.mbRows) return false;
    SliceState state(ctx, br, out);
    return state.Run(code - 1);
}

}  // namespace mpegv
