// Stills read from every bitmap layout the engines hand over, their JPEG form, and the two
// saves with their failure paths on real files. Pairs of pictures written here are compared
// after decoding by compare_stills.sh on the Linux side.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BmpPicture.h"
#include "SnapshotFiles.h"
#include "SnapshotJpeg.h"
#include "TestSupport.h"

using namespace snapshot;

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};
using Painter = std::function<Rgb(int x, int y)>;

// A smooth picture with features in every corner, so that a flip or a skew shows.
Rgb Gradient(int x, int y)
{
    return {static_cast<std::uint8_t>(x * 255 / 400), static_cast<std::uint8_t>(y * 255 / 300),
            static_cast<std::uint8_t>(((x / 16 + y / 16) % 2) ? 200 : 40)};
}

Rgb Noise(int x, int y)
{
    std::uint32_t v = static_cast<std::uint32_t>(x) * 2654435761u ^ static_cast<std::uint32_t>(y) * 40503u;
    v ^= v >> 13, v *= 0x5bd1e995u, v ^= v >> 15;
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16)};
}

void Put16(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) { v[at] = x & 0xFF, v[at + 1] = (x >> 8) & 0xFF; }
void Put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x)
{
    for (int i = 0; i < 4; ++i)
        v[at + i] = (x >> (8 * i)) & 0xFF;
}

struct Layout {
    const char* name;
    int width, height, bits;
    bool topDown;
    std::uint32_t compression;
    std::uint32_t masks[3];
};

// The channel as a mask of that width stores it and the reader widens it back.
std::uint8_t Through(std::uint8_t v, std::uint32_t mask)
{
    if (!mask)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const std::uint32_t max = mask >> shift;
    const std::uint32_t stored = (v * max + 127) / 255;
    return static_cast<std::uint8_t>((stored * 255 + max / 2) / max);
}

std::vector<std::uint8_t> MakeBmp(const Layout& l, const Painter& paint)
{
    const bool fields = l.compression == BI_BITFIELDS;
    const int paletteEntries = l.bits <= 8 ? (1 << l.bits) : 0;
    const std::size_t stride = ((static_cast<std::size_t>(l.width) * l.bits + 31) / 32) * 4;
    const std::size_t offset = 14 + 40 + (fields ? 12 : 0) + 4 * paletteEntries;
    std::vector<std::uint8_t> v(offset + stride * l.height, 0);
    v[0] = 'B', v[1] = 'M';
    Put32(v, 2, static_cast<std::uint32_t>(v.size()));
    Put32(v, 10, static_cast<std::uint32_t>(offset));
    Put32(v, 14, 40);
    Put32(v, 18, static_cast<std::uint32_t>(l.width));
    Put32(v, 22, static_cast<std::uint32_t>(l.topDown ? -l.height : l.height));
    Put16(v, 26, 1);
    Put16(v, 28, static_cast<std::uint32_t>(l.bits));
    Put32(v, 30, l.compression);
    if (fields)
        for (int i = 0; i < 3; ++i)
            Put32(v, 54 + 4 * i, l.masks[i]);
    // A grey ramp palette: index i is grey level i * 255 / (n - 1).
    for (int i = 0; i < paletteEntries; ++i) {
        const std::uint8_t grey = static_cast<std::uint8_t>(i * 255 / (paletteEntries - 1));
        v[54 + 4 * i] = v[55 + 4 * i] = v[56 + 4 * i] = grey;
    }
    for (int y = 0; y < l.height; ++y) {
        const std::size_t row = offset + stride * (l.topDown ? y : l.height - 1 - y);
        for (int x = 0; x < l.width; ++x) {
            const Rgb c = paint(x, y);
            if (l.bits == 24) {
                v[row + 3 * x] = c.b, v[row + 3 * x + 1] = c.g, v[row + 3 * x + 2] = c.r;
            } else if (l.bits == 32 || l.bits == 16) {
                std::uint32_t p = 0;
                const std::uint8_t parts[3] = {c.r, c.g, c.b};
                for (int i = 0; i < 3; ++i) {
                    const std::uint32_t m = l.masks[i];
                    int shift = 0;
                    while (!((m >> shift) & 1))
                        ++shift;
                    p |= ((parts[i] * (m >> shift) + 127) / 255) << shift;
                }
                if (l.bits == 32)
                    Put32(v, row + 4 * x, p);
                else
                    Put16(v, row + 2 * x, p);
            } else {
                const unsigned index = c.r * ((1u << l.bits) - 1) / 255;
                const std::size_t bit = static_cast<std::size_t>(x) * l.bits;
                v[row + bit / 8] |= static_cast<std::uint8_t>(index << (8 - l.bits - bit % 8));
            }
        }
    }
    return v;
}

Rgb Expected(const Layout& l, const Painter& paint, int x, int y)
{
    const Rgb c = paint(x, y);
    if (l.bits == 24)
        return c;
    if (l.bits == 16 || l.bits == 32)
        return {Through(c.r, l.masks[0]), Through(c.g, l.masks[1]), Through(c.b, l.masks[2])};
    const unsigned n = (1u << l.bits) - 1;
    const std::uint8_t grey = static_cast<std::uint8_t>((c.r * n / 255) * 255 / n);
    return {grey, grey, grey};
}

Rgb Grey(int x, int y)
{
    const std::uint8_t g = static_cast<std::uint8_t>((x * 7 + y * 13) % 256);
    return {g, g, g};
}

bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Remove(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

}  // namespace

TEST(BmpPlanes, EveryLayoutReadsTopRowFirstWithItsOwnStride)
{
    const Layout layouts[] = {
        {"24-bit bottom-up, 350 wide (1052-byte rows)", 350, 240, 24, false, BI_RGB, {}},
        {"24-bit top-down, odd size", 7, 3, 24, true, BI_RGB, {}},
        {"32-bit plain", 33, 17, 32, false, BI_RGB, {0xFF0000, 0xFF00, 0xFF}},
        {"32-bit masks, top-down", 20, 9, 32, true, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF}},
        {"16-bit 5-5-5", 31, 11, 16, false, BI_RGB, {0x7C00, 0x03E0, 0x001F}},
        {"16-bit 5-6-5 masks", 13, 5, 16, false, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}},
        {"8-bit palette", 9, 4, 8, false, BI_RGB, {}},
        {"4-bit palette, top-down", 11, 6, 4, true, BI_RGB, {}},
        {"1-bit palette", 19, 3, 1, false, BI_RGB, {}},
    };
    for (const Layout& l : layouts) {
        SCOPED_TRACE(l.name);
        const Painter paint = l.bits <= 8 ? Painter(Grey) : Painter(Gradient);
        const std::vector<std::uint8_t> file = MakeBmp(l, paint);
        RgbPlanes planes;
        std::string problem;
        ASSERT_TRUE(ReadBmpPlanes(file.data(), file.size(), planes, &problem)) << problem;
        ASSERT_EQ(planes.width, l.width);
        ASSERT_EQ(planes.height, l.height);
        const std::size_t plane = static_cast<std::size_t>(l.width) * l.height;
        ASSERT_EQ(planes.samples.size(), 3 * plane);
        int wrong = 0;
        for (int y = 0; y < l.height; ++y)
            for (int x = 0; x < l.width; ++x) {
                const Rgb want = Expected(l, paint, x, y);
                const std::size_t i = static_cast<std::size_t>(y) * l.width + x;
                if (planes.samples[i] != want.r || planes.samples[plane + i] != want.g || planes.samples[2 * plane + i] != want.b)
                    ++wrong;
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(BmpPlanes, DamagedOrUnsupportedFilesAreRefusedWithAReason)
{
    const Layout plain{"", 16, 8, 24, false, BI_RGB, {}};
    const std::vector<std::uint8_t> good = MakeBmp(plain, Gradient);
    struct Case {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&)> damage;
    };
    const Case cases[] = {
        {"empty file", [](auto& v) { v.clear(); }},
        {"not BM", [](auto& v) { v[0] = 'X'; }},
        {"header only", [](auto& v) { v.resize(54); }},
        {"last row cut short", [](auto& v) { v.pop_back(); }},
        {"zero width", [](auto& v) { Put32(v, 18, 0); }},
        {"negative width", [](auto& v) { Put32(v, 18, static_cast<std::uint32_t>(-16)); }},
        {"height past any buffer", [](auto& v) { Put32(v, 22, 0x7FFFFFFF); }},
        {"width past the encoder", [](auto& v) { Put32(v, 18, 70000); }},
        {"run-length compressed", [](auto& v) { Put32(v, 30, 1); }},
        {"masks on 24-bit", [](auto& v) { Put32(v, 30, BI_BITFIELDS); }},
        {"12 bits per pixel", [](auto& v) { Put16(v, 28, 12); }},
        {"header claims 4 GB", [](auto& v) { Put32(v, 14, 0xFFFFFFF0u); }},
        {"pixel offset past the end", [](auto& v) { Put32(v, 10, 0xFFFFFF00u); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> file = good;
        c.damage(file);
        RgbPlanes planes;
        std::string problem;
        EXPECT_FALSE(ReadBmpPlanes(file.data(), file.size(), planes, &problem));
        EXPECT_FALSE(problem.empty());
    }
    // A palette that claims more entries than its depth allows.
    std::vector<std::uint8_t> palette = MakeBmp({"", 8, 2, 4, false, BI_RGB, {}}, Grey);
    Put32(palette, 46, 17);
    RgbPlanes planes;
    EXPECT_FALSE(ReadBmpPlanes(palette.data(), palette.size(), planes));
}

TEST(StillJpeg, LargeAndNoisyStillsGetTheRoomTheyNeed)
{
    // 1280x720 of noise at the best quality needs several times the first buffer.
    const Layout big{"", 1280, 720, 24, false, BI_RGB, {}};
    const std::vector<std::uint8_t> file = MakeBmp(big, Noise);
    RgbPlanes planes;
    ASSERT_TRUE(ReadBmpPlanes(file.data(), file.size(), planes));
    std::vector<std::uint8_t> stream;
    ASSERT_EQ(EncodeStillJpeg(planes, stream), 0);
    EXPECT_GT(stream.size(), kFirstJpegBuffer);
    ASSERT_GE(stream.size(), 4u);
    EXPECT_EQ(stream[0], 0xFF);
    EXPECT_EQ(stream[1], 0xD8);
    EXPECT_EQ(stream[stream.size() - 2], 0xFF);
    EXPECT_EQ(stream[stream.size() - 1], 0xD9);

    RgbPlanes missing;
    missing.width = 8, missing.height = 8;
    missing.samples.assign(10, 0);
    EXPECT_NE(EncodeStillJpeg(missing, stream), 0) << "planes shorter than the picture";
    EXPECT_TRUE(stream.empty());
}

TEST(StillFiles, NamesTakeTheFormatsExtensionOnlyWithoutOneOfTheirOwn)
{
    struct Case {
        const char* chosen;
        StillFormat format;
        const char* target;
    } cases[] = {
        {"C:\\pics\\still", StillFormat::Jpeg, "C:\\pics\\still.jpg"},
        {"C:\\pics\\still", StillFormat::Bmp, "C:\\pics\\still.bmp"},
        {"C:\\pics\\still.jpeg", StillFormat::Jpeg, "C:\\pics\\still.jpeg"},
        {"C:\\pics\\still.JPG", StillFormat::Bmp, "C:\\pics\\still.JPG"},
        {"C:\\my.pics\\still", StillFormat::Bmp, "C:\\my.pics\\still.bmp"},
        {"C:\\pics\\still.", StillFormat::Jpeg, "C:\\pics\\still..jpg"},
        {"still", StillFormat::Jpeg, "still.jpg"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SaveTarget(c.chosen, c.format), c.target) << c.chosen;
}

class StillSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = testsupport::OutputDir() + "saves\\";
        CreateDirectoryA(dir_.c_str(), nullptr);
        still_ = dir_ + "temp000.dat";
        bitmap_ = MakeBmp({"", 64, 48, 24, false, BI_RGB, {}}, Gradient);
        ASSERT_TRUE(WriteFileBytes(still_, bitmap_));
    }
    void TearDown() override
    {
        for (const std::string& f : cleanup_)
            Remove(f);
        Remove(still_);
    }
    std::string Target(const char* name)
    {
        const std::string path = dir_ + name;
        Remove(path);
        cleanup_.push_back(path);
        return path;
    }
    std::string dir_, still_;
    std::vector<std::uint8_t> bitmap_;
    std::vector<std::string> cleanup_;
};

TEST_F(StillSave, BmpReplacesAnExistingFileAndTakesTheStill)
{
    const std::string target = Target("over.bmp");
    ASSERT_TRUE(WriteFileBytes(target, {1, 2, 3}));
    const SaveResult saved = SaveStillAsBmp(still_, target);
    ASSERT_TRUE(saved.ok) << saved.problem;
    EXPECT_EQ(ReadFileBytes(target), bitmap_);
    EXPECT_FALSE(Exists(still_)) << "the still was moved";
}

TEST_F(StillSave, BmpOverAReadOnlyFileReportsAndKeepsBothPictures)
{
    const std::string target = Target("locked.bmp");
    ASSERT_TRUE(WriteFileBytes(target, {9, 9, 9}));
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    const SaveResult saved = SaveStillAsBmp(still_, target);
    EXPECT_FALSE(saved.ok);
    EXPECT_NE(saved.problem.find("locked.bmp"), std::string::npos) << saved.problem;
    EXPECT_EQ(ReadFileBytes(target), (std::vector<std::uint8_t>{9, 9, 9}));
    EXPECT_EQ(ReadFileBytes(still_), bitmap_) << "the still stays for another try";
}

TEST_F(StillSave, BmpIntoAMissingFolderKeepsTheStill)
{
    const SaveResult saved = SaveStillAsBmp(still_, dir_ + "no such folder\\x.bmp");
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.problem.empty());
    EXPECT_EQ(ReadFileBytes(still_), bitmap_);
}

TEST_F(StillSave, JpegWritesAWholeStreamAndLeavesTheStill)
{
    const std::string target = Target("fine.jpg");
    ASSERT_TRUE(WriteFileBytes(target, {1}));
    const SaveResult saved = SaveStillAsJpeg(still_, target);
    ASSERT_TRUE(saved.ok) << saved.problem;
    const std::vector<std::uint8_t> jpeg = ReadFileBytes(target);
    ASSERT_GT(jpeg.size(), 100u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    EXPECT_EQ(jpeg.back(), 0xD9);
    EXPECT_EQ(ReadFileBytes(still_), bitmap_);
    EXPECT_FALSE(Exists(target + ".part"));
}

TEST_F(StillSave, FailedJpegSavesLeaveNoFileAndKeepTheStill)
{
    {
        SCOPED_TRACE("the still is not a bitmap");
        const std::string target = Target("from-garbage.jpg");
        ASSERT_TRUE(WriteFileBytes(still_, {'G', 'I', 'F', '8', '9', 'a', 0, 0}));
        const SaveResult saved = SaveStillAsJpeg(still_, target);
        EXPECT_FALSE(saved.ok);
        EXPECT_FALSE(saved.problem.empty());
        EXPECT_FALSE(Exists(target)) << "no empty picture is left";
        EXPECT_FALSE(Exists(target + ".part"));
        EXPECT_TRUE(Exists(still_));
        ASSERT_TRUE(WriteFileBytes(still_, bitmap_));
    }
    {
        SCOPED_TRACE("the still is gone");
        const std::string target = Target("from-nothing.jpg");
        const SaveResult saved = SaveStillAsJpeg(dir_ + "vanished.dat", target);
        EXPECT_FALSE(saved.ok);
        EXPECT_FALSE(Exists(target));
    }
    {
        SCOPED_TRACE("a read-only target");
        const std::string target = Target("locked.jpg");
        ASSERT_TRUE(WriteFileBytes(target, {7, 7}));
        ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
        const SaveResult saved = SaveStillAsJpeg(still_, target);
        EXPECT_FALSE(saved.ok);
        EXPECT_EQ(ReadFileBytes(target), (std::vector<std::uint8_t>{7, 7}));
        EXPECT_FALSE(Exists(target + ".part"));
    }
    {
        SCOPED_TRACE("a missing folder");
        const SaveResult saved = SaveStillAsJpeg(still_, dir_ + "no such folder\\x.jpg");
        EXPECT_FALSE(saved.ok);
        EXPECT_EQ(ReadFileBytes(still_), bitmap_);
    }
}

// Bitmap and JPEG pairs of the same still for the decoding check: odd widths (row padding),
// both row orders, 32 bits, and a large noisy picture.
TEST(StillPairs, WrittenForTheDecoderCheck)
{
    const std::string out = testsupport::OutputDir();
    struct Pair {
        const char* name;
        Layout layout;
        Painter paint;
    } pairs[] = {
        {"still-350x240", {"", 350, 240, 24, false, BI_RGB, {}}, Gradient},
        {"still-350x240-topdown", {"", 350, 240, 24, true, BI_RGB, {}}, Gradient},
        {"still-720x480-32bit", {"", 720, 480, 32, false, BI_RGB, {0xFF0000, 0xFF00, 0xFF}}, Gradient},
        {"still-1280x720-noise", {"", 1280, 720, 24, false, BI_RGB, {}}, Noise},
    };
    std::string manifest;
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.name);
        const std::string still = out + p.name + ".dat";
        ASSERT_TRUE(WriteFileBytes(still, MakeBmp(p.layout, p.paint)));
        const std::string jpeg = out + p.name + ".jpg";
        Remove(jpeg);
        const SaveResult asJpeg = SaveStillAsJpeg(still, jpeg);
        ASSERT_TRUE(asJpeg.ok) << asJpeg.problem;
        const std::string bmp = out + p.name + ".bmp";
        const SaveResult asBmp = SaveStillAsBmp(still, bmp);
        ASSERT_TRUE(asBmp.ok) << asBmp.problem;
        manifest += std::string(p.name) + ".jpg " + p.name + ".bmp\n";
    }
    std::ofstream(out + "still_pairs.txt", std::ios::trunc) << manifest;
}
