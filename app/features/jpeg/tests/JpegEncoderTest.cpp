// The encoder's interface: result codes, the buffer rules and the layout of the streams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "JpegEncoder.h"
#include "JpegTestPictures.h"

namespace {

using jpegtest::Segment;

struct EncoderDeleter {
    void operator()(JpegEncoder* e) const { DestroyJpegEncoder(e); }
};
using EncoderPtr = std::unique_ptr<JpegEncoder, EncoderDeleter>;

EncoderPtr Create(const JpegEncoderParams& params, int* result = nullptr) {
    JpegEncoder* encoder = reinterpret_cast<JpegEncoder*>(&encoder);  // must be overwritten
    const int r = CreateJpegEncoder(params, &encoder);
    if (result) *result = r;
    return EncoderPtr(encoder);
}

JpegEncoderParams Params(int width, int height, int format, int quality = 75, int mode = 1) {
    return JpegEncoderParams{height, width, 8, format, quality, mode};
}

// Encodes into a buffer of `capacity` bytes followed by guard bytes that must stay untouched.
struct Encoded {
    int result = -1;
    size_t size = 0;
    std::vector<uint8_t> bytes;
    bool guardIntact = true;
};

Encoded Encode(JpegEncoder* encoder, const std::vector<uint8_t>& planes, size_t capacity) {
    constexpr size_t kGuard = 64;
    std::vector<uint8_t> buffer(capacity + kGuard, 0x5A);
    Encoded out;
    out.size = capacity;
    out.result = EncodeJpeg(encoder, planes.data(), buffer.data(), &out.size);
    out.guardIntact = std::all_of(buffer.begin() + capacity, buffer.end(),
                                  [](uint8_t b) { return b == 0x5A; });
    if (out.result == kJpegOk) out.bytes.assign(buffer.begin(), buffer.begin() + out.size);
    return out;
}

size_t Minimum(const JpegEncoderParams& p) {
    return static_cast<size_t>(p.quality) * (p.format == kJpegGrey ? 1 : 3) * p.width * p.height / 200;
}

std::vector<Segment> Segments(const Encoded& e) {
    bool ok = false;
    auto segments = jpegtest::ReadSegments(e.bytes.data(), e.bytes.size(), &ok);
    EXPECT_TRUE(ok) << "stream does not end with EOI";
    return segments;
}

int CountMarkers(const std::vector<Segment>& segments, uint8_t marker) {
    return static_cast<int>(std::count_if(segments.begin(), segments.end(),
                                          [&](const Segment& s) { return s.marker == marker; }));
}

TEST(JpegEncoder, SnapshotFrameHasTheFixedLayout) {
    const JpegEncoderParams p = Params(720, 480, kJpegRgb, 100, kJpegBaseline);
    EncoderPtr encoder = Create(p);
    ASSERT_TRUE(encoder);
    const Encoded e = Encode(encoder.get(), jpegtest::MakePicture(p, 3), 1036800);
    ASSERT_EQ(e.result, kJpegOk);
    const std::vector<Segment> s = Segments(e);
    ASSERT_GE(s.size(), 10u);

    EXPECT_EQ(s[0].marker, 0xD8);
    ASSERT_EQ(s[1].marker, 0xEE);
    const std::vector<uint8_t> adobe = {'A', 'd', 'o', 'b', 'e', 0, 101, 0, 0, 0, 0, 0};
    EXPECT_EQ(s[1].payload, adobe);
    for (int t = 0; t < 2; ++t) {
        ASSERT_EQ(s[2 + t].marker, 0xDB);
        ASSERT_EQ(s[2 + t].payload.size(), 65u);
        EXPECT_EQ(s[2 + t].payload[0], t);
        for (int k = 1; k < 65; ++k) EXPECT_EQ(s[2 + t].payload[k], 2) << "table " << t;
    }
    ASSERT_EQ(s[4].marker, 0xC0);
    const std::vector<uint8_t> sof = {8, 480 >> 8, 480 & 255, 720 >> 8, 720 & 255, 3,
                                      1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1};
    EXPECT_EQ(s[4].payload, sof);
    ASSERT_EQ(s[5].marker, 0xDD);
    EXPECT_EQ(s[5].payload, (std::vector<uint8_t>{0, 90}));  // one MCU row of 8x8 MCUs
    const size_t dhtLengths[4] = {29, 179, 29, 179};
    for (int t = 0; t < 4; ++t) {
        ASSERT_EQ(s[6 + t].marker, 0xC4);
        EXPECT_EQ(s[6 + t].payload.size(), dhtLengths[t]);
        EXPECT_EQ(s[6 + t].payload[0], (t % 2) << 4 | t / 2);
    }
    ASSERT_EQ(s[10].marker, 0xDA);
    EXPECT_EQ(s[10].payload, (std::vector<uint8_t>{3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}));

    // 60 MCU rows: RST0..RST7 cycling after each of the first 59, then EOI.
    ASSERT_EQ(s.size(), 11u + 59u + 1u);
    for (int row = 0; row < 59; ++row) EXPECT_EQ(s[11 + row].marker, 0xD0 + row % 8) << row;
    EXPECT_EQ(s.back().marker, 0xD9);
    EXPECT_TRUE(e.guardIntact);
}

TEST(JpegEncoder, FormatsDescribeTheirSamplingAndMarkers) {
    struct Case {
        int format;
        uint8_t app;
        int components;
        uint8_t lumaSampling;
        int restartInterval;  // for a 100x50 picture
        int restarts;
    };
    const Case cases[] = {{kJpegYCbCr420, 0xE0, 3, 0x22, 7, 3}, {kJpegYCbCr422, 0xE0, 3, 0x21, 7, 6},
                          {kJpegYCbCr444, 0xE0, 3, 0x11, 13, 6}, {kJpegGrey, 0xE0, 1, 0x11, 13, 6},
                          {kJpegRgb, 0xEE, 3, 0x11, 13, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const JpegEncoderParams p = Params(100, 50, c.format, 60);
        EncoderPtr encoder = Create(p);
        ASSERT_TRUE(encoder);
        const Encoded e = Encode(encoder.get(), jpegtest::MakePicture(p, 2), 100000);
        ASSERT_EQ(e.result, kJpegOk);
        const std::vector<Segment> s = Segments(e);
        EXPECT_EQ(s[1].marker, c.app);
        EXPECT_EQ(CountMarkers(s, 0xDB), c.components == 1 ? 1 : 2);
        EXPECT_EQ(CountMarkers(s, 0xC4), c.components == 1 ? 2 : 4);
        const auto sof = std::find_if(s.begin(), s.end(), [](const Segment& x) { return x.marker == 0xC0; });
        ASSERT_NE(sof, s.end());
        EXPECT_EQ(sof->payload.size(), 6u + 3u * c.components);
        EXPECT_EQ(sof->payload[7], c.lumaSampling);
        const auto dri = std::find_if(s.begin(), s.end(), [](const Segment& x) { return x.marker == 0xDD; });
        ASSERT_NE(dri, s.end());
        EXPECT_EQ(dri->payload[1], c.restartInterval);
        int restarts = 0;
        for (uint8_t m = 0xD0; m <= 0xD7; ++m) restarts += CountMarkers(s, m);
        EXPECT_EQ(restarts, c.restarts);
    }
}

TEST(JpegEncoder, ProgressiveModeWritesAScanScriptWithoutRestarts) {
    for (int format : {kJpegYCbCr420, kJpegGrey, kJpegRgb}) {
        SCOPED_TRACE(format);
        const JpegEncoderParams p = Params(64, 40, format, 90, kJpegProgressive);
        EncoderPtr encoder = Create(p);
        ASSERT_TRUE(encoder);
        const Encoded e = Encode(encoder.get(), jpegtest::MakePicture(p, 2), 40000);
        ASSERT_EQ(e.result, kJpegOk);
        const std::vector<Segment> s = Segments(e);
        EXPECT_EQ(CountMarkers(s, 0xC2), 1);
        EXPECT_EQ(CountMarkers(s, 0xC0), 0);
        EXPECT_EQ(CountMarkers(s, 0xDD), 0);
        EXPECT_EQ(CountMarkers(s, 0xDA), format == kJpegGrey ? 6 : 10);
        // The first scan is the interleaved DC scan with one bit held back.
        const auto sos = std::find_if(s.begin(), s.end(), [](const Segment& x) { return x.marker == 0xDA; });
        const size_t n = sos->payload[0];
        EXPECT_EQ(n, format == kJpegGrey ? 1u : 3u);
        EXPECT_EQ(sos->payload[1 + 2 * n], 0);     // Ss
        EXPECT_EQ(sos->payload[2 + 2 * n], 0);     // Se
        EXPECT_EQ(sos->payload[3 + 2 * n], 0x01);  // Ah 0, Al 1
    }
}

TEST(JpegEncoder, RejectsUnsupportedParameters) {
    int result = -1;
    EXPECT_FALSE(Create(Params(16, 16, 0), &result));
    EXPECT_EQ(result, kJpegUnsupportedFormat);
    EXPECT_FALSE(Create(Params(16, 16, 6), &result));
    EXPECT_EQ(result, kJpegUnsupportedFormat);
    JpegEncoderParams twelveBit = Params(16, 16, kJpegGrey);
    twelveBit.precision = 12;
    EXPECT_FALSE(Create(twelveBit, &result));
    EXPECT_EQ(result, kJpegUnsupportedFormat);
    EXPECT_FALSE(Create(Params(0, 16, kJpegGrey), &result));
    EXPECT_EQ(result, kJpegUnsupportedFormat);
    EXPECT_FALSE(Create(Params(16, 65536, kJpegGrey), &result));
    EXPECT_EQ(result, kJpegUnsupportedFormat);
    EXPECT_FALSE(Create(Params(16, 16, kJpegRgb, 0), &result));
    EXPECT_EQ(result, kJpegBadQuality);
    EXPECT_FALSE(Create(Params(16, 16, kJpegRgb, 101), &result));
    EXPECT_EQ(result, kJpegBadQuality);
    EXPECT_FALSE(Create(Params(16, 16, kJpegRgb, 50, 0), &result));
    EXPECT_EQ(result, kJpegUnsupportedMode);
    EXPECT_FALSE(Create(Params(16, 16, kJpegRgb, 50, 3), &result));
    EXPECT_EQ(result, kJpegUnsupportedMode);
    EXPECT_TRUE(Create(Params(65535, 1, kJpegGrey, 1), &result));
    EXPECT_EQ(result, kJpegOk);

    uint8_t planes[3] = {1, 2, 3}, out[16];
    size_t size = sizeof out;
    EXPECT_EQ(EncodeJpeg(nullptr, planes, out, &size), kJpegNoEncoder);
    EXPECT_EQ(CreateJpegEncoder(Params(1, 1, kJpegRgb), nullptr), kJpegNoEncoder);
    DestroyJpegEncoder(nullptr);
}

TEST(JpegEncoder, BufferBelowTheEstimateIsRefusedWithTheEstimate) {
    const JpegEncoderParams p = Params(320, 240, kJpegYCbCr420, 80);
    EncoderPtr encoder = Create(p);
    const std::vector<uint8_t> planes = jpegtest::MakePicture(p, 2);
    const size_t minimum = Minimum(p);  // 80 * 3 * 320 * 240 / 200 = 92160
    EXPECT_EQ(minimum, 92160u);
    const Encoded small = Encode(encoder.get(), planes, minimum - 1);
    EXPECT_EQ(small.result, kJpegBufferTooSmall);
    EXPECT_EQ(small.size, minimum);
    EXPECT_TRUE(small.guardIntact);

    size_t size = 100;
    EXPECT_EQ(EncodeJpeg(encoder.get(), planes.data(), nullptr, &size), kJpegBufferTooSmall);
    EXPECT_EQ(size, minimum);
    uint8_t byte;
    EXPECT_EQ(EncodeJpeg(encoder.get(), planes.data(), &byte, nullptr), kJpegBufferTooSmall);
    EXPECT_EQ(EncodeJpeg(encoder.get(), nullptr, &byte, &size), kJpegUnsupportedFormat);

    const Encoded fits = Encode(encoder.get(), planes, minimum);
    EXPECT_EQ(fits.result, kJpegOk);
    EXPECT_TRUE(fits.guardIntact);
}

TEST(JpegEncoder, StreamLongerThanTheBufferIsReportedNotOverrun) {
    // Noise at quality 100 needs more than the 1036800 bytes the snapshot gives a 720x480 frame.
    for (int mode : {kJpegBaseline, kJpegProgressive}) {
        SCOPED_TRACE(mode);
        const JpegEncoderParams p = Params(720, 480, kJpegRgb, 100, mode);
        EncoderPtr encoder = Create(p);
        const std::vector<uint8_t> noise = jpegtest::MakeNoise(p);
        const Encoded over = Encode(encoder.get(), noise, 1036800);
        EXPECT_EQ(over.result, kJpegBufferTooSmall);
        EXPECT_GT(over.size, 1036800u);
        EXPECT_TRUE(over.guardIntact);

        // The size reported is exactly what the stream needs, and a buffer of that size gets
        // the same stream as a roomy one (its end written by the bounds-checked path).
        const Encoded exact = Encode(encoder.get(), noise, over.size);
        ASSERT_EQ(exact.result, kJpegOk);
        EXPECT_EQ(exact.size, over.size);
        EXPECT_TRUE(exact.guardIntact);
        const Encoded roomy = Encode(encoder.get(), noise, 2 * over.size);
        EXPECT_EQ(roomy.bytes, exact.bytes);
        const Encoded shortByOne = Encode(encoder.get(), noise, over.size - 1);
        EXPECT_EQ(shortByOne.result, kJpegBufferTooSmall);
        EXPECT_EQ(shortByOne.size, over.size);
        EXPECT_TRUE(shortByOne.guardIntact);
        bool ok = false;
        jpegtest::ReadSegments(exact.bytes.data(), exact.bytes.size(), &ok);
        EXPECT_TRUE(ok);
    }
}

TEST(JpegEncoder, FlatPictureAtQualityHundredHasNoAcCoefficients) {
    // With the quantiser rounding symmetrically, zero coefficients stay zero even at
    // quantiser 2: a flat frame costs a DC category and an EOB per block, a few bits.
    const JpegEncoderParams p = Params(720, 480, kJpegRgb, 100);
    EncoderPtr encoder = Create(p);
    const std::vector<uint8_t> flat(JpegInputSize(p), 77);
    const Encoded e = Encode(encoder.get(), flat, 1036800);
    ASSERT_EQ(e.result, kJpegOk);
    // Per 8x8 MCU 14 bits (DC "00" and EOB "1010" for R, DC "00" and EOB "00" for G and B):
    // 9450 bytes for 5400 MCUs, plus a DC step at each row start, headers and restarts.
    // Turning the zeros into ones would add 63 codes to every block, over 200 kB.
    EXPECT_LT(e.size, 10800u);
    EXPECT_GT(e.size, 9450u);
}

TEST(JpegEncoder, EncodesRepeatablyWithOneEncoder) {
    for (int mode : {kJpegBaseline, kJpegProgressive}) {
        const JpegEncoderParams p = Params(33, 17, kJpegYCbCr420, 90, mode);
        EncoderPtr encoder = Create(p);
        const std::vector<uint8_t> a = jpegtest::MakePicture(p, 2, 1), b = jpegtest::MakePicture(p, 2, 2);
        const Encoded first = Encode(encoder.get(), a, 20000);
        const Encoded other = Encode(encoder.get(), b, 20000);
        const Encoded again = Encode(encoder.get(), a, 20000);
        ASSERT_EQ(first.result, kJpegOk);
        ASSERT_EQ(again.result, kJpegOk);
        EXPECT_EQ(first.bytes, again.bytes);
        EXPECT_NE(first.bytes, other.bytes);
    }
}

TEST(JpegEncoder, InputSizeFollowsThePlaneLayout) {
    EXPECT_EQ(JpegInputSize(Params(7, 9, kJpegYCbCr420)), 7u * 9 + 2u * 4 * 5);
    EXPECT_EQ(JpegInputSize(Params(7, 9, kJpegYCbCr422)), 7u * 9 + 2u * 4 * 9);
    EXPECT_EQ(JpegInputSize(Params(7, 9, kJpegYCbCr444)), 3u * 7 * 9);
    EXPECT_EQ(JpegInputSize(Params(7, 9, kJpegGrey)), 7u * 9);
    EXPECT_EQ(JpegInputSize(Params(1, 1, kJpegYCbCr420)), 3u);
    EXPECT_EQ(JpegInputSize(Params(7, 9, 9)), 0u);
}

}  // namespace
