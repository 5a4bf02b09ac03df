#include "JpegDct.h"

namespace jpeg {
namespace {

// tan(pi/16), tan(pi/8), tan(3pi/16) and cos(pi/4), scaled by 65536.
constexpr int32_t kTan1 = 13036;
constexpr int32_t kTan2 = 27145;
constexpr int32_t kTan3 = 43789;
constexpr int32_t kCos4 = 46340;

inline int32_t Mul(int32_t x, int32_t k) { return (x * k + 0x8000) >> 16; }

// One 8-point pass of the tangent-rotation DCT. Outputs are the true DCT outputs divided by
// sqrt(2) * cos(u * pi / 16) for u != 0 (a per-index factor the final scaling undoes), and
// `shift` doubles the butterflies before the rotations so the products keep a bit more.
template <int shift>
inline void Pass(const int32_t* in, ptrdiff_t step, int32_t* out) {
    const int32_t t0 = (in[0] + in[7 * step]) << shift;
    const int32_t t7 = (in[0] - in[7 * step]) << shift;
    const int32_t t1 = (in[step] + in[6 * step]) << shift;
    const int32_t t6 = (in[step] - in[6 * step]) << shift;
    const int32_t t2 = (in[2 * step] + in[5 * step]) << shift;
    const int32_t t5 = (in[2 * step] - in[5 * step]) << shift;
    const int32_t t3 = (in[3 * step] + in[4 * step]) << shift;
    const int32_t t4 = (in[3 * step] - in[4 * step]) << shift;

    const int32_t sum03 = t0 + t3, diff03 = t0 - t3;
    const int32_t sum12 = t1 + t2, diff12 = t1 - t2;
    out[0] = sum03 + sum12;
    out[4 * step] = sum03 - sum12;
    out[2 * step] = diff03 + Mul(diff12, kTan2);
    out[6 * step] = Mul(diff03, kTan2) - diff12;

    const int32_t sum65 = Mul(t6 + t5, kCos4);
    const int32_t diff65 = Mul(t6 - t5, kCos4);
    const int32_t a = t7 + sum65, c = t7 - sum65;
    const int32_t b = t4 + diff65, d = t4 - diff65;
    out[step] = a + Mul(b, kTan1);
    out[7 * step] = Mul(a, kTan1) - b;
    out[3 * step] = c - Mul(d, kTan3);
    out[5 * step] = Mul(c, kTan3) + d;
}

// s(u) = 32768 * sqrt(2) * cos(u * pi / 16), with s(0) = 32768; kScale[v][u] = s(v) s(u) / 32768.
constexpr int32_t kS[8] = {32768, 45450, 42813, 38531, 32768, 38531, 42813, 45450};

struct ScaleTable {
    int32_t w[64];
    constexpr ScaleTable() : w() {
        for (int v = 0; v < 8; ++v)
            for (int u = 0; u < 8; ++u) w[v * 8 + u] = kS[v] * kS[u] / 32768;
    }
};
constexpr ScaleTable kScale;

}  // namespace

void ForwardDct(const uint8_t* samples, ptrdiff_t stride, int16_t coef[64]) {
    int32_t rows[64];
    for (int y = 0; y < 8; ++y) {
        const uint8_t* p = samples + y * stride;
        const int32_t in[8] = {p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]};
        Pass<1>(in, 1, rows + 8 * y);
    }
    // Rows carry twice the sum of eight samples at most (4080), so the column pass stays
    // within 16 bits; the scale then brings the result to 1/8 of the 2-D sum.
    int32_t cols[64];
    for (int x = 0; x < 8; ++x) Pass<0>(rows + x, 8, cols + x);
    for (int i = 0; i < 64; ++i)
        coef[i] = static_cast<int16_t>((cols[i] * kScale.w[i] + 0x40000) >> 19);
    coef[0] = static_cast<int16_t>(coef[0] - 1024);  // level shift of the samples by 128
}

void QuantizeBlock(int16_t coef[64], const QuantTable& table) {
    // Written for the vectoriser: 16-bit magnitudes and reciprocals, a 32-bit product.
    for (int i = 0; i < 64; ++i) {
        const int32_t c = coef[i];
        const uint32_t magnitude = static_cast<uint16_t>(c < 0 ? -c : c);
        const int32_t q = static_cast<int32_t>((magnitude * table.reciprocal[i] + 0x8000u) >> 16);
        coef[i] = static_cast<int16_t>(c < 0 ? -q : q);
    }
}

}  // namespace jpeg
