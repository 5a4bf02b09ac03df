#include "Idct.h"

#include <cmath>

namespace mpegv {
namespace {

// basis[x][u] = C(u) / 2 * cos((2x + 1) u pi / 16); a 2-D pass over rows then columns
// gives the 1/4 C(u) C(v) scaling of the definition. Double precision keeps the result
// within the accuracy the standard asks of a decoder's IDCT.
struct Basis {
    double v[8][8];
    Basis()
    {
        const double pi = 3.14159265358979323846;
        for (int x = 0; x < 8; ++x)
            for (int u = 0; u < 8; ++u)
                v[x][u] = (u == 0 ? std::sqrt(0.5) : 1.0) / 2.0 * std::cos((2 * x + 1) * u * pi / 16.0);
    }
};

const Basis& GetBasis()
{
    static const Basis basis;
    return basis;
}

}  // namespace

void InverseDctToPixels(const int coefficients[64], uint8_t* dst, int stride)
{
    const Basis& b = GetBasis();
    double rows[64];
    for (int y = 0; y < 8; ++y) {  // horizontal transform of each row of frequencies
        const int* in = coefficients + y * 8;
        bool empty = true;
        for (int u = 0; u < 8 && empty; ++u) empty = in[u] == 0;
        for (int x = 0; x < 8 && empty; ++x) rows[y * 8 + x] = 0;  // most rows of a block are zero
        for (int x = 0; x < 8 && !empty; ++x) {
            double s = 0;
            for (int u = 0; u < 8; ++u) s += b.v[x][u] * in[u];
            rows[y * 8 + x] = s;
        }
    }
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            double s = 0;
            for (int v = 0; v < 8; ++v) s += b.v[y][v] * rows[v * 8 + x];
            long r = std::lround(s);
            if (r < 0) r = 0;
            if (r > 255) r = 255;
            dst[y * stride + x] = uint8_t(r);
        }
    }
}

}  // namespace mpegv
