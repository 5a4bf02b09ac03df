#include "JpegTestPictures.h"

#include <cmath>

namespace jpegtest {
namespace {

struct Random {
    uint32_t state;
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
};

uint8_t Clamp(double v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); }

// Plane sizes in the order the encoder reads them.
void PlaneSizes(const JpegEncoderParams& p, int* w, int* h, int* count) {
    const int cw = p.format == kJpegYCbCr420 || p.format == kJpegYCbCr422 ? (p.width + 1) / 2
                                                                         : p.width;
    const int ch = p.format == kJpegYCbCr420 ? (p.height + 1) / 2 : p.height;
    *count = p.format == kJpegGrey ? 1 : 3;
    w[0] = p.width;
    h[0] = p.height;
    for (int i = 1; i < 3; ++i) {
        w[i] = cw;
        h[i] = ch;
    }
}

}  // namespace

std::vector<uint8_t> MakePicture(const JpegEncoderParams& params, int noise, uint32_t seed) {
    std::vector<uint8_t> planes(JpegInputSize(params));
    int w[3], h[3], count;
    PlaneSizes(params, w, h, &count);
    Random random{seed * 2654435761u + 12345u};
    size_t at = 0;
    for (int c = 0; c < count; ++c) {
        // Scale plane coordinates to picture coordinates, so all planes show one scene.
        const double sx = static_cast<double>(params.width) / w[c];
        const double sy = static_cast<double>(params.height) / h[c];
        for (int y = 0; y < h[c]; ++y) {
            for (int x = 0; x < w[c]; ++x) {
                const double px = x * sx, py = y * sy;
                double v = 110 + 70 * std::sin(px * 0.011 + c) * std::cos(py * 0.017 - c * 0.5);
                if ((static_cast<int>(px) / 97 + static_cast<int>(py) / 61) % 3 == 0) v += 45;
                if (std::fmod(px + 2 * py, 53.0) < 3) v -= 60;          // thin diagonal lines
                v += 12 * std::sin(px * 0.9) * std::sin(py * 0.7);       // fine texture
                if (noise > 0)
                    v += static_cast<int>(random.Next() % (2 * noise + 1)) - noise;
                planes[at++] = Clamp(v);
            }
        }
    }
    return planes;
}

std::vector<uint8_t> MakeNoise(const JpegEncoderParams& params, uint32_t seed) {
    std::vector<uint8_t> planes(JpegInputSize(params));
    Random random{seed * 2654435761u + 777u};
    for (uint8_t& sample : planes) sample = static_cast<uint8_t>(random.Next() >> 24);
    return planes;
}

std::vector<Segment> ReadSegments(const uint8_t* data, size_t size, bool* ok) {
    std::vector<Segment> segments;
    *ok = false;
    size_t i = 0;
    while (i + 1 < size) {
        if (data[i] != 0xFF) return segments;
        const uint8_t marker = data[i + 1];
        i += 2;
        const bool standalone = marker == 0xD8 || marker == 0xD9 || (marker >= 0xD0 && marker <= 0xD7);
        Segment segment{marker, {}};
        if (!standalone) {
            if (i + 2 > size) return segments;
            const size_t length = static_cast<size_t>(data[i]) << 8 | data[i + 1];
            if (length < 2 || i + length > size) return segments;
            segment.payload.assign(data + i + 2, data + i + length);
            i += length;
        }
        segments.push_back(segment);
        if (marker == 0xD9) {
            *ok = i == size;
            return segments;
        }
        // After SOS and RSTn comes entropy-coded data up to the next real marker.
        if (marker == 0xDA || (marker >= 0xD0 && marker <= 0xD7)) {
            while (i + 1 < size && !(data[i] == 0xFF && data[i + 1] != 0x00)) ++i;
        }
    }
    return segments;
}

}  // namespace jpegtest
