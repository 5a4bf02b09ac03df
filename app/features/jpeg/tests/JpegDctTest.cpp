// The arithmetic of the encoder: DCT accuracy, quantiser rounding and the constant tables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <string>

#include "JpegBitWriter.h"
#include "JpegDct.h"
#include "JpegTables.h"

namespace {

using namespace jpeg;

// T.81 A.3.3 with the level shift, in double precision.
void ReferenceDct(const uint8_t* samples, double out[64]) {
    const double pi = std::acos(-1.0);
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u) {
            double sum = 0;
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    sum += (samples[y * 8 + x] - 128.0) * std::cos((2 * x + 1) * u * pi / 16) *
                           std::cos((2 * y + 1) * v * pi / 16);
            const double cu = u == 0 ? 1 / std::sqrt(2.0) : 1, cv = v == 0 ? 1 / std::sqrt(2.0) : 1;
            out[v * 8 + u] = 0.25 * cu * cv * sum;
        }
}

struct DctError {
    double worst = 0;
    double sumSquares = 0;
    int count = 0;
};

DctError Compare(const uint8_t block[64], DctError total = {}) {
    int16_t fixed[64];
    double exact[64];
    ForwardDct(block, 8, fixed);
    ReferenceDct(block, exact);
    for (int i = 0; i < 64; ++i) {
        const double error = std::fabs(fixed[i] - exact[i]);
        total.worst = std::max(total.worst, error);
        total.sumSquares += error * error;
        ++total.count;
    }
    return total;
}

// Each coefficient is rounded to an integer at the end (0.5), and the row and column products
// are rounded to 1/2 and 1 unit of the doubled and the unscaled sums before the final scaling
// by at most 63040 / 2^19; together they stay well below one unit.
constexpr double kWorstDctError = 1.0;

TEST(JpegDct, ExtremeBlocksMatchTheReference) {
    uint8_t block[64];
    std::fill(block, block + 64, 0);
    int16_t coef[64];
    ForwardDct(block, 8, coef);
    EXPECT_EQ(coef[0], -1024);
    for (int i = 1; i < 64; ++i) EXPECT_EQ(coef[i], 0) << i;

    std::fill(block, block + 64, 255);
    ForwardDct(block, 8, coef);
    EXPECT_EQ(coef[0], 1016);
    for (int i = 1; i < 64; ++i) EXPECT_EQ(coef[i], 0) << i;

    DctError error;
    for (int cell : {1, 2, 4}) {
        for (int phase = 0; phase < 2; ++phase) {
            for (int i = 0; i < 64; ++i)
                block[i] = ((i % 8 / cell + i / 8 / cell + phase) % 2) ? 255 : 0;
            error = Compare(block, error);
            for (int i = 0; i < 64; ++i) block[i] = ((i % 8 / cell + phase) % 2) ? 255 : 0;
            error = Compare(block, error);  // vertical stripes
            for (int i = 0; i < 64; ++i) block[i] = ((i / 8 / cell + phase) % 2) ? 255 : 0;
            error = Compare(block, error);  // horizontal stripes
        }
    }
    for (int pixel = 0; pixel < 64; ++pixel) {  // single bright pixel on black
        std::fill(block, block + 64, 0);
        block[pixel] = 255;
        error = Compare(block, error);
    }
    EXPECT_LE(error.worst, kWorstDctError);
}

TEST(JpegDct, RandomBlocksMatchTheReference) {
    uint32_t state = 2463534242u;
    DctError error;
    uint8_t block[64];
    for (int n = 0; n < 3000; ++n) {
        const int range = n % 3 == 0 ? 256 : n % 3 == 1 ? 16 : 64;  // full, flat, moderate
        const int base = static_cast<int>(state % (257 - range));
        for (uint8_t& sample : block) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            sample = static_cast<uint8_t>(base + static_cast<int>((state >> 8) % range));
        }
        error = Compare(block, error);
    }
    EXPECT_LE(error.worst, kWorstDctError);
    // Mostly the final rounding alone: about 1/sqrt(12) of a unit.
    EXPECT_LT(std::sqrt(error.sumSquares / error.count), 0.4);
    std::printf("DCT error against the double-precision reference: worst %.3f, rms %.3f\n",
                error.worst, std::sqrt(error.sumSquares / error.count));
}

TEST(JpegDct, RowsAreReadWithTheGivenStride) {
    uint8_t picture[16 * 8];
    uint8_t block[64];
    for (int i = 0; i < 16 * 8; ++i) picture[i] = static_cast<uint8_t>(i * 37 % 251);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) block[y * 8 + x] = picture[y * 16 + 8 + x];
    int16_t fromPicture[64], fromBlock[64];
    ForwardDct(picture + 8, 16, fromPicture);
    ForwardDct(block, 8, fromBlock);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(fromPicture[i], fromBlock[i]) << i;
}

TEST(JpegQuantizer, ZeroStaysZeroAndRoundingIsSymmetricToNearest) {
    for (int entry = 2; entry <= 255; ++entry) {
        const uint32_t reciprocal = (65536 + entry / 2) / entry;
        EXPECT_EQ(Quantize(0, reciprocal), 0) << entry;
        for (int c = -2048; c <= 2047; ++c) {
            const int32_t q = Quantize(c, reciprocal);
            ASSERT_EQ(Quantize(-c, reciprocal), -q) << c << "/" << entry;
            const double exact = static_cast<double>(c) / entry;
            const double nearest = exact < 0 ? -std::floor(-exact + 0.5) : std::floor(exact + 0.5);
            // The 16-bit reciprocal is off by at most 1/65536 relative, which can only move a
            // result lying within 1/32 of a half-way point.
            if (std::fabs(std::fabs(exact - std::trunc(exact)) - 0.5) > 1.0 / 32)
                ASSERT_EQ(q, nearest) << c << "/" << entry;
            else
                ASSERT_LE(std::fabs(q - exact), 0.5 + 1.0 / 32) << c << "/" << entry;
        }
    }
    // At quantiser 2 (every entry at quality 100) small coefficients round as they should.
    EXPECT_EQ(Quantize(1, 32768), 1);   // 0.5 rounds away from zero
    EXPECT_EQ(Quantize(-1, 32768), -1);
    EXPECT_EQ(Quantize(2, 32768), 1);
    EXPECT_EQ(Quantize(4, 32768), 2);
    EXPECT_EQ(Quantize(-5, 32768), -3);
}

TEST(JpegTables, QualityScalesTheBaseTablesWithinTheLimits) {
    const QuantTable best = MakeQuantTable(kLuminanceQuant, 100);
    const QuantTable chromaBest = MakeQuantTable(kChrominanceQuant, 100);
    const QuantTable normal = MakeQuantTable(kChrominanceQuant, 50);
    const QuantTable worst = MakeQuantTable(kLuminanceQuant, 1);
    const QuantTable q75 = MakeQuantTable(kLuminanceQuant, 75);
    const QuantTable q10 = MakeQuantTable(kLuminanceQuant, 10);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(best.entry[i], 2);
        EXPECT_EQ(chromaBest.entry[i], 2);
        EXPECT_EQ(best.reciprocal[i], 32768);
        EXPECT_EQ(normal.entry[i], std::max<int>(kChrominanceQuant[i], 2));
        EXPECT_EQ(worst.entry[i], 255);
        EXPECT_EQ(q75.entry[i], std::max(2, static_cast<int>(kLuminanceQuant[i] * 0.5 + 0.5)));
        EXPECT_EQ(q10.entry[i], std::min(255, kLuminanceQuant[i] * 5));
        EXPECT_EQ(q75.reciprocal[i], (65536 + q75.entry[i] / 2) / q75.entry[i]);
    }
    EXPECT_EQ(kLuminanceQuant[0], 16);
    EXPECT_EQ(kLuminanceQuant[63], 99);
    EXPECT_EQ(kChrominanceQuant[0], 17);
}

TEST(JpegTables, ZigzagWalksTheAntiDiagonals) {
    int k = 0;
    for (int d = 0; d < 15; ++d) {
        for (int i = 0; i <= d; ++i) {
            // Even diagonals run upwards (row falls), odd ones downwards.
            const int row = d % 2 == 0 ? d - i : i;
            const int col = d - row;
            if (row > 7 || col > 7) continue;
            EXPECT_EQ(kZigzag[k], row * 8 + col) << "position " << k;
            ++k;
        }
    }
    EXPECT_EQ(k, 64);
}

void ExpectValidHuffmanTable(const HuffmanTable& table, int symbols, const std::string& name) {
    int total = 0;
    for (uint8_t count : table.counts) total += count;
    EXPECT_EQ(total, symbols) << name;
    EXPECT_EQ(table.symbolCount, symbols) << name;
    const HuffmanCodes codes = MakeHuffmanCodes(table);
    std::set<int> seen;
    for (int i = 0; i < table.symbolCount; ++i) {
        const int s = table.symbols[i];
        EXPECT_TRUE(seen.insert(s).second) << name << " repeats symbol " << s;
        const int length = codes.length[s];
        ASSERT_GE(length, 1);
        ASSERT_LE(length, 16);
        EXPECT_NE(codes.code[s], (1u << length) - 1) << name << ": an all-ones code";
        for (int j = 0; j < i; ++j) {  // prefix-free
            const int t = table.symbols[j];
            const int shorter = std::min(length, static_cast<int>(codes.length[t]));
            EXPECT_NE(codes.code[s] >> (length - shorter), codes.code[t] >> (codes.length[t] - shorter))
                << name << ": " << s << " and " << t;
        }
    }
}

TEST(JpegTables, TypicalHuffmanTablesAreCompleteAndPrefixFree) {
    ExpectValidHuffmanTable(kDcLuminance, 12, "DC 0");
    ExpectValidHuffmanTable(kDcChrominance, 12, "DC 1");
    ExpectValidHuffmanTable(kAcLuminance, 162, "AC 0");
    ExpectValidHuffmanTable(kAcChrominance, 162, "AC 1");
    // Every run/size pair the coder can emit (sizes 1 to 10, EOB, ZRL) has a code.
    for (const HuffmanTable* table : {&kAcLuminance, &kAcChrominance}) {
        const HuffmanCodes codes = MakeHuffmanCodes(*table);
        for (int run = 0; run < 16; ++run)
            for (int size = 1; size <= 10; ++size) EXPECT_GT(codes.length[run << 4 | size], 0);
        EXPECT_GT(codes.length[0x00], 0);
        EXPECT_GT(codes.length[0xF0], 0);
    }
    // Spot checks against the printed tables: DC 0 category 0 is "00", AC 0 EOB is "1010".
    const HuffmanCodes dc = MakeHuffmanCodes(kDcLuminance);
    EXPECT_EQ(dc.length[0], 2);
    EXPECT_EQ(dc.code[0], 0u);
    const HuffmanCodes ac = MakeHuffmanCodes(kAcLuminance);
    EXPECT_EQ(ac.length[0x00], 4);
    EXPECT_EQ(ac.code[0x00], 0xAu);
    EXPECT_EQ(ac.length[0xF0], 11);
    EXPECT_EQ(ac.code[0xF0], 0x7F9u);
}

TEST(JpegBitWriter, StuffsFFBytesAndFillsWithOnes) {
    uint8_t buffer[16] = {};
    ByteSink sink(buffer, sizeof buffer);
    BitWriter bits(sink);
    bits.Put(0xFF, 8);
    bits.Put(0x1, 3);   // 001
    bits.Put(0xFFFFFFFFu, 32);
    bits.Flush();       // 001 + 32 ones + 5 fill ones
    const uint8_t expected[] = {0xFF, 0x00, 0x3F, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00};
    ASSERT_EQ(sink.Count(), sizeof expected);
    for (size_t i = 0; i < sizeof expected; ++i) EXPECT_EQ(buffer[i], expected[i]) << i;
}

TEST(JpegBitWriter, NeverWritesPastTheBufferButCountsOn) {
    uint8_t buffer[8];
    std::fill(buffer, buffer + 8, 0xAA);
    ByteSink sink(buffer, 5);
    BitWriter bits(sink);
    for (int i = 0; i < 10; ++i) bits.Put(0x12345678u, 32);
    bits.Flush();
    EXPECT_EQ(sink.Count(), 40u);
    EXPECT_TRUE(sink.Overflowed());
    EXPECT_EQ(buffer[0], 0x12);
    EXPECT_EQ(buffer[4], 0x12);
    for (int i = 5; i < 8; ++i) EXPECT_EQ(buffer[i], 0xAA) << i;
}

}  // namespace
