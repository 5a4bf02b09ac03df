// The bitmap checker on byte images: sound files of every layout pass, and each kind of
// damage is refused with its own reason before any loader sees it.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "BitmapFileCheck.h"

using skelda::BitmapFault;
using Bytes = std::vector<std::uint8_t>;

namespace {

void Put16(Bytes& b, size_t at, std::uint32_t v)
{
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}

void Put32(Bytes& b, size_t at, std::uint32_t v)
{
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// A bitmap file with an information header of `headerSize` bytes, colour table and zeroed
// pixels laid out as a writer would.
Bytes MakeFile(int width, int height, int bits, std::uint32_t compression = 0, std::uint32_t headerSize = 40)
{
    const std::uint32_t colours = bits <= 8 ? 1u << bits : 0;
    const std::uint32_t masks = compression == 3 && headerSize == 40 ? 12 : 0;
    const std::uint32_t offset = 14 + headerSize + masks + colours * 4;
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
    const std::uint32_t pixels = stride * static_cast<std::uint32_t>(height < 0 ? -height : height);
    Bytes b(offset + pixels, 0);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, offset);
    Put32(b, 14, headerSize);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<std::uint32_t>(bits));
    Put32(b, 30, compression);
    Put32(b, 34, pixels);
    return b;
}

// A file with the old 12-byte core header.
Bytes MakeCoreFile(int width, int height, int bits)
{
    const std::uint32_t colours = bits <= 8 ? 1u << bits : 0;
    const std::uint32_t offset = 14 + 12 + colours * 3;
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
    Bytes b(offset + stride * height, 0);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 10, offset);
    Put32(b, 14, 12);
    Put16(b, 18, width);
    Put16(b, 20, height);
    Put16(b, 22, 1);
    Put16(b, 24, bits);
    return b;
}

// An 8-bit (or 4-bit) run-length file of 4 x 2 pixels holding `codes` as its compressed data.
Bytes MakeRunLength(const Bytes& codes, bool four = false)
{
    Bytes b = MakeFile(4, 2, four ? 4 : 8, four ? 2 : 1);
    const std::uint32_t offset = b[10] | b[11] << 8;
    b.resize(offset);
    b.insert(b.end(), codes.begin(), codes.end());
    Put32(b, 34, static_cast<std::uint32_t>(codes.size()));
    return b;
}

struct Case {
    const char* name;
    std::function<Bytes()> make;
    BitmapFault expected;
};

BitmapFault Check(const Bytes& b)
{
    return skelda::CheckBitmapFile({b.data(), b.size()});
}

}  // namespace

TEST(BitmapCheck, SoundLayoutsPass)
{
    const Case cases[] = {
        {"24-bit", [] { return MakeFile(84, 28, 24); }, BitmapFault::None},
        {"8-bit with colours", [] { return MakeFile(5, 3, 8); }, BitmapFault::None},
        {"1-bit", [] { return MakeFile(9, 2, 1); }, BitmapFault::None},
        {"4-bit", [] { return MakeFile(3, 3, 4); }, BitmapFault::None},
        {"16-bit", [] { return MakeFile(3, 3, 16); }, BitmapFault::None},
        {"32-bit with masks", [] { return MakeFile(2, 2, 32, 3); }, BitmapFault::None},
        {"version 5 header", [] { return MakeFile(2, 2, 32, 3, 124); }, BitmapFault::None},
        {"version 4 header", [] { return MakeFile(2, 2, 24, 0, 108); }, BitmapFault::None},
        {"top-down rows", [] { return MakeFile(4, -4, 24); }, BitmapFault::None},
        {"core header", [] { return MakeCoreFile(3, 2, 8); }, BitmapFault::None},
        {"largest face", [] { return MakeFile(8192, 1, 8); }, BitmapFault::None},
        {"8 used colours", [] { auto b = MakeFile(2, 2, 8); Put32(b, 46, 8); return b; }, BitmapFault::None},
        {"trailing bytes", [] { auto b = MakeFile(2, 2, 24); b.resize(b.size() + 100); return b; }, BitmapFault::None},
        {"run-length 8", [] { return MakeRunLength({4, 7, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1}); }, BitmapFault::None},
        {"run-length 4", [] { return MakeRunLength({4, 0x12, 0, 0, 0, 4, 0x12, 0x34, 0, 1}, true); }, BitmapFault::None},
        {"run-length delta", [] { return MakeRunLength({0, 2, 1, 1, 3, 5, 0, 1}); }, BitmapFault::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Check(c.make()), c.expected) << c.name;
}

TEST(BitmapCheck, DamagedHeadersAreRefusedWithTheirReason)
{
    const Case cases[] = {
        {"empty", [] { return Bytes(); }, BitmapFault::TooShort},
        {"file header only", [] { return Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0}; }, BitmapFault::TooShort},
        {"no signature", [] { auto b = MakeFile(2, 2, 24); b[1] = 'X'; return b; }, BitmapFault::NotBitmap},
        {"header size 64", [] { auto b = MakeFile(2, 2, 24); Put32(b, 14, 64); return b; }, BitmapFault::HeaderSize},
        {"header size 0", [] { auto b = MakeFile(2, 2, 24); Put32(b, 14, 0); return b; }, BitmapFault::HeaderSize},
        {"header size huge", [] { auto b = MakeFile(2, 2, 24); Put32(b, 14, 0xFFFFFFF0); return b; }, BitmapFault::HeaderSize},
        {"cut inside header", [] { auto b = MakeFile(2, 2, 24); b.resize(40); return b; }, BitmapFault::TooShort},
        {"cut inside colours", [] { auto b = MakeFile(2, 2, 8); b.resize(300); return b; }, BitmapFault::TooShort},
        {"width 0", [] { auto b = MakeFile(2, 2, 24); Put32(b, 18, 0); return b; }, BitmapFault::Dimensions},
        {"width -1", [] { auto b = MakeFile(2, 2, 24); Put32(b, 18, 0xFFFFFFFF); return b; }, BitmapFault::Dimensions},
        {"width 8193", [] { auto b = MakeFile(2, 2, 24); Put32(b, 18, 8193); return b; }, BitmapFault::Dimensions},
        {"height 0", [] { auto b = MakeFile(2, 2, 24); Put32(b, 22, 0); return b; }, BitmapFault::Dimensions},
        {"height INT_MIN", [] { auto b = MakeFile(2, 2, 24); Put32(b, 22, 0x80000000); return b; }, BitmapFault::Dimensions},
        {"height -8193", [] { auto b = MakeFile(2, 2, 24); Put32(b, 22, static_cast<std::uint32_t>(-8193)); return b; },
         BitmapFault::Dimensions},
        {"40000 x 40000 at 8 bits", [] { auto b = MakeFile(2, 2, 8); Put32(b, 18, 40000); Put32(b, 22, 40000); return b; },
         BitmapFault::Dimensions},
        {"30000 x 1 at 24 bits, short file", [] { auto b = MakeFile(2, 1, 24); Put32(b, 18, 30000); return b; },
         BitmapFault::Dimensions},
        {"core width 0", [] { auto b = MakeCoreFile(2, 2, 24); Put16(b, 18, 0); return b; }, BitmapFault::Dimensions},
        {"planes 0", [] { auto b = MakeFile(2, 2, 24); Put16(b, 26, 0); return b; }, BitmapFault::Planes},
        {"planes 2", [] { auto b = MakeFile(2, 2, 24); Put16(b, 26, 2); return b; }, BitmapFault::Planes},
        {"bit count 0", [] { auto b = MakeFile(2, 2, 24); Put16(b, 28, 0); return b; }, BitmapFault::BitDepth},
        {"bit count 2", [] { auto b = MakeFile(2, 2, 24); Put16(b, 28, 2); return b; }, BitmapFault::BitDepth},
        {"bit count 48", [] { auto b = MakeFile(2, 2, 24); Put16(b, 28, 48); return b; }, BitmapFault::BitDepth},
        {"core 16 bits", [] { auto b = MakeCoreFile(2, 2, 24); Put16(b, 24, 16); return b; }, BitmapFault::BitDepth},
        {"JPEG inside", [] { auto b = MakeFile(2, 2, 24); Put32(b, 30, 4); return b; }, BitmapFault::Compression},
        {"PNG inside", [] { auto b = MakeFile(2, 2, 24); Put32(b, 30, 5); return b; }, BitmapFault::Compression},
        {"compression 0x7FFF", [] { auto b = MakeFile(2, 2, 24); Put32(b, 30, 0x7FFF); return b; }, BitmapFault::Compression},
        {"run-length 8 at 24 bits", [] { auto b = MakeFile(2, 2, 24); Put32(b, 30, 1); return b; }, BitmapFault::Compression},
        {"run-length 4 at 8 bits", [] { auto b = MakeFile(2, 2, 8); Put32(b, 30, 2); return b; }, BitmapFault::Compression},
        {"run-length top-down", [] { auto b = MakeFile(2, -2, 8); Put32(b, 30, 1); return b; }, BitmapFault::Compression},
        {"masks at 24 bits", [] { auto b = MakeFile(2, 2, 24); Put32(b, 30, 3); return b; }, BitmapFault::Compression},
        {"257 colours at 8 bits", [] { auto b = MakeFile(2, 2, 8); Put32(b, 46, 257); return b; }, BitmapFault::ColourTable},
        {"17 colours at 4 bits", [] { auto b = MakeFile(2, 2, 4); Put32(b, 46, 17); return b; }, BitmapFault::ColourTable},
        {"4 billion colours at 24 bits", [] { auto b = MakeFile(2, 2, 24); Put32(b, 46, 0xFFFFFFFF); return b; },
         BitmapFault::ColourTable},
        {"pixel offset 13 at 16 bits", [] { auto b = MakeFile(4, 4, 16); Put32(b, 10, 13); return b; }, BitmapFault::PixelOffset},
        {"pixel offset 0", [] { auto b = MakeFile(4, 4, 24); Put32(b, 10, 0); return b; }, BitmapFault::PixelOffset},
        {"pixel offset 100000", [] { auto b = MakeFile(4, 4, 16); Put32(b, 10, 100000); return b; }, BitmapFault::PixelOffset},
        {"pixel offset inside colours", [] { auto b = MakeFile(4, 4, 8); Put32(b, 10, 100); return b; }, BitmapFault::PixelOffset},
        {"pixel offset leaves rows short", [] { auto b = MakeFile(4, 4, 24); Put32(b, 10, 60); return b; }, BitmapFault::PixelData},
        {"84 x 28 face cut at 2,084 bytes", [] { auto b = MakeFile(84, 28, 24); b.resize(2084); return b; }, BitmapFault::PixelData},
        {"one byte missing", [] { auto b = MakeFile(3, 3, 24); b.pop_back(); return b; }, BitmapFault::PixelData},
        {"8000 x 1 at 24 bits, short file", [] { auto b = MakeFile(2, 1, 24); Put32(b, 18, 8000); return b; },
         BitmapFault::PixelData},
        {"8192 x 8192 at 32 bits, small file", [] { auto b = MakeFile(2, 2, 32); Put32(b, 18, 8192); Put32(b, 22, 8192); return b; },
         BitmapFault::PixelData},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Check(c.make()), c.expected) << c.name;
}

TEST(BitmapCheck, DamagedRunLengthDataIsRefused)
{
    const Case cases[] = {
        {"no compressed size", [] { auto b = MakeRunLength({4, 7, 0, 1}); Put32(b, 34, 0); return b; }, BitmapFault::PixelData},
        {"size past the end", [] { auto b = MakeRunLength({4, 7, 0, 1}); Put32(b, 34, 5000); return b; }, BitmapFault::PixelData},
        {"run wider than a row", [] { return MakeRunLength({5, 7, 0, 1}); }, BitmapFault::RunLength},
        {"rows below the picture", [] { return MakeRunLength({4, 7, 0, 0, 4, 7, 0, 0, 4, 7, 0, 1}); }, BitmapFault::RunLength},
        {"literal cut short", [] { return MakeRunLength({0, 4, 1, 2}); }, BitmapFault::RunLength},
        {"literal wider than a row", [] { return MakeRunLength({0, 6, 1, 2, 3, 4, 5, 6, 0, 1}); }, BitmapFault::RunLength},
        {"delta cut short", [] { return MakeRunLength({0, 2, 1}); }, BitmapFault::RunLength},
        {"delta off the picture", [] { return MakeRunLength({0, 2, 200, 0, 0, 1}); }, BitmapFault::RunLength},
        {"odd byte at the end", [] { return MakeRunLength({4, 7, 0}); }, BitmapFault::RunLength},
        {"4-bit literal cut short", [] { return MakeRunLength({0, 4, 0x12}, true); }, BitmapFault::RunLength},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Check(c.make()), c.expected) << c.name;
}

TEST(BitmapCheck, BitmapResourcesHaveNoFileHeader)
{
    const Bytes file = MakeFile(5, 3, 8);
    const Bytes dib(file.begin() + 14, file.end());
    EXPECT_EQ(skelda::CheckPackedBitmap({dib.data(), dib.size()}), BitmapFault::None);
    const Bytes cut(dib.begin(), dib.end() - 1);
    EXPECT_EQ(skelda::CheckPackedBitmap({cut.data(), cut.size()}), BitmapFault::PixelData);
    const Bytes headerOnly(dib.begin(), dib.begin() + 40);
    EXPECT_EQ(skelda::CheckPackedBitmap({headerOnly.data(), headerOnly.size()}), BitmapFault::TooShort);
    Bytes huge = dib;
    Put32(huge, 4, 40000);
    Put32(huge, 8, 40000);
    EXPECT_EQ(skelda::CheckPackedBitmap({huge.data(), huge.size()}), BitmapFault::Dimensions);
    EXPECT_EQ(skelda::CheckPackedBitmap({}), BitmapFault::TooShort);
}

TEST(BitmapCheck, EveryBitmapOfTheShippedSkinPasses)
{
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(MAROVIN_SKIN_DIR)) {
        if (entry.path().extension() != ".bmp")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(Check(bytes), BitmapFault::None) << entry.path().string();
        ++checked;
    }
    EXPECT_GT(checked, 50);
}
