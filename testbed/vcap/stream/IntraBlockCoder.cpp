#include "IntraBlockCoder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vcap {
namespace {

constexpr uint8_t kZigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

constexpr uint8_t kIntraMatrix[64] = {
    8,  16, 19, 22, 26, 27, 29, 34, 16, 16, 22, 24, 27, 29, 34, 37, 19, 22, 26, 27, 29, 34,
    34, 38, 22, 22, 26, 27, 29, 34, 37, 40, 22, 26, 27, 29, 32, 35, 40, 48, 26, 27, 29, 32,
    35, 40, 48, 58, 26, 27, 29, 34, 38, 46, 56, 69, 27, 29, 35, 38, 46, 56, 69, 83};

struct Vlc {
    uint16_t code;
    uint8_t bits;
};

// dct_dc_size_luminance and dct_dc_size_chrominance for sizes 0..8 (8-bit DC precision).
constexpr Vlc kDcLuma[9] = {{0x4, 3}, {0x0, 2}, {0x1, 2}, {0x5, 3}, {0x6, 3},
                            {0xE, 4}, {0x1E, 5}, {0x3E, 6}, {0x7E, 7}};
constexpr Vlc kDcChroma[9] = {{0x0, 2}, {0x1, 2}, {0x2, 2}, {0x6, 3}, {0xE, 4},
                              {0x1E, 5}, {0x3E, 6}, {0x7E, 7}, {0xFE, 8}};

// The shortest run/level codes (sign bit not included); everything else uses the escape.
struct RunLevelCode {
    uint8_t run;
    uint8_t level;
    Vlc vlc;
};
constexpr RunLevelCode kRunLevel[] = {
    {0, 1, {0x3, 2}}, {1, 1, {0x3, 3}}, {0, 2, {0x4, 4}}, {2, 1, {0x5, 4}},
    {0, 3, {0x5, 5}}, {3, 1, {0x7, 5}}, {4, 1, {0x6, 5}}, {1, 2, {0x6, 6}},
    {5, 1, {0x7, 6}}, {6, 1, {0x5, 6}}, {7, 1, {0x4, 6}}, {0, 4, {0x6, 7}},
    {2, 2, {0x4, 7}}, {8, 1, {0x7, 7}}, {9, 1, {0x5, 7}},
};

struct CosTable {
    float c[8][8];  // c[u][x] = C(u)/2 * cos((2x+1) u pi / 16)
    CosTable()
    {
        for (int u = 0; u < 8; ++u) {
            const double cu = u == 0 ? std::sqrt(0.5) : 1.0;
            for (int x = 0; x < 8; ++x)
                c[u][x] = static_cast<float>(cu / 2 * std::cos((2 * x + 1) * u * 3.14159265358979 / 16));
        }
    }
};

const CosTable& Cos()
{
    static const CosTable table;
    return table;
}

int DcSize(int diff)
{
    int a = std::abs(diff);
    int size = 0;
    while (a) {
        ++size;
        a >>= 1;
    }
    return size;
}

}  // namespace

void ForwardDct(const uint8_t* src, int stride, Coefficients& out)
{
    const uint8_t first = src[0];
    bool flat = true;
    for (int y = 0; y < 8 && flat; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (src[y * stride + x] != first) {
                flat = false;
                break;
            }
        }
    }
    out.fill(0.0f);
    if (flat) {
        out[0] = 8.0f * first;
        return;
    }
    const CosTable& t = Cos();
    float rows[8][8];
    for (int y = 0; y < 8; ++y) {
        for (int u = 0; u < 8; ++u) {
            float s = 0;
            for (int x = 0; x < 8; ++x)
                s += t.c[u][x] * src[y * stride + x];
            rows[y][u] = s;
        }
    }
    for (int v = 0; v < 8; ++v) {
        for (int u = 0; u < 8; ++u) {
            float s = 0;
            for (int y = 0; y < 8; ++y)
                s += t.c[v][y] * rows[y][u];
            out[v * 8 + u] = s;
        }
    }
}

void IntraBlockCoder::codeBlock(BitWriter& bw, const Coefficients& coef, int component, int quantiser)
{
    const int dc = std::clamp(static_cast<int>(std::lround(coef[0] / 8.0f)), 0, 255);
    const int diff = dc - dcPred_[component];
    dcPred_[component] = dc;
    const int size = DcSize(diff);
    const Vlc& sizeCode = component == 0 ? kDcLuma[size] : kDcChroma[size];
    bw.put(sizeCode.code, sizeCode.bits);
    if (size > 0)
        bw.put(static_cast<uint32_t>(diff > 0 ? diff : diff + (1 << size) - 1), size);

    const int maxLevel = mpeg2_ ? 2047 : 255;
    int run = 0;
    for (int i = 1; i < 64; ++i) {
        const int pos = kZigzag[i];
        const float scaled = 8.0f * coef[pos] / (kIntraMatrix[pos] * quantiser);
        const int level = std::clamp(static_cast<int>(std::lround(scaled)), -maxLevel, maxLevel);
        if (level == 0) {
            ++run;
            continue;
        }
        codeRunLevel(bw, run, level);
        run = 0;
    }
    bw.put(0x2, 2);  // end of block
}

void IntraBlockCoder::codeRunLevel(BitWriter& bw, int run, int level)
{
    const int magnitude = std::abs(level);
    for (const RunLevelCode& rl : kRunLevel) {
        if (rl.run == run && rl.level == magnitude) {
            bw.put(rl.vlc.code, rl.vlc.bits);
            bw.put(level < 0 ? 1 : 0, 1);
            return;
        }
    }
    bw.put(0x1, 6);  // escape
    bw.put(static_cast<uint32_t>(run), 6);
    if (mpeg2_) {
        bw.put(static_cast<uint32_t>(level) & 0xFFF, 12);
    } else if (magnitude < 128) {
        bw.put(static_cast<uint32_t>(level) & 0xFF, 8);
    } else {
        bw.put(level > 0 ? 0x00 : 0x80, 8);
        bw.put(static_cast<uint32_t>(level) & 0xFF, 8);
    }
}

}  // namespace vcap
