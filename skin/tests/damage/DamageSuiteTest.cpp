// A few dozen seeded damaged inputs of each kind through the real loaders: none crashes or
// hangs, damaged bitmaps never reach the system's loader, failed documents name their reason,
// documents with a document type are refused and fonts read within their limits. The script
// tools/skin-damage-soak.sh runs hundreds of each the same way, one process per batch.
#include <gtest/gtest.h>

#include <cstdio>

#include "DamageRunner.h"
#include "EBitmapUtilities.h"
#include "TestSupport.h"

namespace {

constexpr unsigned kSeed = 34;
constexpr int kPerKind = 40;

struct Tally {
    int loaded = 0, refused = 0;
    double slowest = 0;
};

Tally RunKind(damage::Kind kind)
{
    static damage::Runner runner(MAROVIN_SKIN_DIR);
    Tally tally;
    for (int i = 0; i < kPerKind; ++i) {
        const damage::Outcome o = runner.Run(kind, kSeed, i);
        EXPECT_TRUE(o.problem.empty()) << "input " << i << " (" << o.what << "): " << o.problem;
        (o.loaded ? tally.loaded : tally.refused)++;
        tally.slowest = std::max(tally.slowest, o.seconds);
    }
    std::printf("%d loaded, %d refused, slowest %.2f s\n", tally.loaded, tally.refused, tally.slowest);
    return tally;
}

// The damaged bitmaps that used to end the program before its first window, each as the file
// the skin names.
std::string Reproduction(int which)
{
    std::string bytes = enginetest::ReadFile(std::string(MAROVIN_SKIN_DIR) + "\\common\\accent84_0_down.bmp");
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    switch (which) {
    case 0: bytes[28] = 16, put32(10, 13); break;  // 16-bit, pixel offset 13
    case 1: put32(10, 100000); break;
    case 2: put32(18, 30000), put32(22, 1), bytes.resize(200); break;
    default: bytes.resize(2084);
    }
    return bytes;
}

}  // namespace

TEST(SkinDamage, BitmapsNeverCrashAndOnlySoundOnesLoad)
{
    const Tally t = RunKind(damage::Kind::Bitmap);
    EXPECT_GT(t.refused, kPerKind / 2);
    EXPECT_GT(t.loaded, 0) << "damage that leaves a bitmap sound still loads";
}

TEST(SkinDamage, GraphicsDocumentsLoadOrFailWithTheirMessage)
{
    const Tally t = RunKind(damage::Kind::Graphics);
    EXPECT_GE(t.refused, kPerKind / 4) << "every document type and most cuts are refused";
    EXPECT_GT(t.loaded, 0);
}

TEST(SkinDamage, TextDocumentsLoadOrFailWithTheirMessageAndKeepFontsSane)
{
    const Tally t = RunKind(damage::Kind::Text);
    EXPECT_GE(t.refused, kPerKind / 4);
    EXPECT_GT(t.loaded, 0);
}

TEST(SkinDamage, TheFourReproductionsAreRefusedLikeAMissingFile)
{
    const std::string path = testsupport::OutputDir() + "reproduction.bmp";
    for (int which = 0; which < 4; ++which) {
        ASSERT_TRUE(enginetest::WriteFile(path, Reproduction(which)));
        HBITMAP bitmap = nullptr;
        EXPECT_FALSE(EBitmapUtilities::LoadDibSectionFromFile(path, &bitmap)) << "reproduction " << which;
        EXPECT_EQ(bitmap, nullptr);
    }
    // The same file undamaged loads.
    ASSERT_TRUE(enginetest::WriteFile(path, enginetest::ReadFile(std::string(MAROVIN_SKIN_DIR) + "\\common\\accent84_0_down.bmp")));
    HBITMAP bitmap = nullptr;
    ASSERT_TRUE(EBitmapUtilities::LoadDibSectionFromFile(path, &bitmap));
    BITMAP info{};
    GetObject(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 84);
    DeleteObject(bitmap);
}
