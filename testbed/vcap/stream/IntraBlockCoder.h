#pragma once
// Intra-coded 8x8 blocks: forward DCT, quantisation with the default intra matrix, and the
// variable-length codes of DC differences and run/level pairs (MPEG-1 and MPEG-2 share them;
// only the escape form differs).
#include "BitWriter.h"

#include <array>
#include <cstdint>

namespace vcap {

// DCT coefficients of one block, natural (row-major) order; DC = 8 x mean sample value.
using Coefficients = std::array<float, 64>;

// Transforms an 8x8 block read from `src` with line pitch `stride`. A flat block (the common
// case in the test picture) is recognised and only its DC term is set.
void ForwardDct(const uint8_t* src, int stride, Coefficients& out);

class IntraBlockCoder {
public:
    explicit IntraBlockCoder(bool mpeg2) : mpeg2_(mpeg2) {}

    // Predictors go back to the mid value at every slice start.
    void resetDcPredictors() { dcPred_ = {128, 128, 128}; }

    // component: 0 luma, 1 Cb, 2 Cr. quantiser: quantiser_scale_code 1..31.
    void codeBlock(BitWriter& bw, const Coefficients& coef, int component, int quantiser);

private:
    void codeRunLevel(BitWriter& bw, int run, int level);

    bool mpeg2_;
    std::array<int, 3> dcPred_{128, 128, 128};
};

}  // namespace vcap
