#include "BmpPicture.h"

#include <array>

namespace snapshot {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPlainRgb = 0;
constexpr std::uint32_t kBitFields = 3;
// The encoder's own size limit; larger bitmaps would only fail there.
constexpr std::int64_t kMaxSide = 65535;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool Fail(std::string* problem, const char* why)
{
    if (problem)
        *problem = why;
    return false;
}

// One colour channel described by a bit mask, widened to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t m) : mask(m)
    {
        if (!mask)
            return;
        while (!((mask >> shift) & 1u))
            ++shift;
        max = mask >> shift;
    }
    std::uint8_t operator()(std::uint32_t pixel) const
    {
        if (!max)
            return 0;
        const std::uint64_t v = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
    }
};

}  // namespace

bool ReadBmpPlanes(const std::uint8_t* bytes, std::size_t size, RgbPlanes& out, std::string* problem)
{
    if (!bytes || size < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        return Fail(problem, "not a bitmap file");
    const std::uint8_t* info = bytes + kFileHeaderSize;
    const std::uint32_t headerSize = U32(info);
    if (headerSize < kInfoHeaderSize || kFileHeaderSize + headerSize > size)
        return Fail(problem, "unsupported bitmap header");
    const std::int64_t width = static_cast<std::int32_t>(U32(info + 4));
    const std::int64_t signedHeight = static_cast<std::int32_t>(U32(info + 8));
    const unsigned bits = U16(info + 14);
    const std::uint32_t compression = U32(info + 16);
    const std::uint32_t coloursUsed = U32(info + 32);
    const bool topDown = signedHeight < 0;
    const std::int64_t height = topDown ? -signedHeight : signedHeight;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return Fail(problem, "bitmap size out of range");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Fail(problem, "unsupported bits per pixel");
    if (compression != kPlainRgb && !(compression == kBitFields && (bits == 16 || bits == 32)))
        return Fail(problem, "compressed bitmaps are not supported");

    // Masks follow a plain info header, or sit inside a larger one.
    std::size_t tableStart = kFileHeaderSize + headerSize;
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bits == 32)
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (compression == kBitFields) {
        const std::size_t at = headerSize == kInfoHeaderSize ? tableStart : kFileHeaderSize + kInfoHeaderSize;
        if (at + 12 > size)
            return Fail(problem, "bitmap colour masks missing");
        for (int i = 0; i < 3; ++i)
            masks[i] = U32(bytes + at + 4 * i);
        if (headerSize == kInfoHeaderSize)
            tableStart += 12;
    }
    std::array<std::uint8_t, 3 * 256> palette{};
    if (bits <= 8) {
        const std::uint32_t entries = coloursUsed ? coloursUsed : (1u << bits);
        if (entries > (1u << bits) || tableStart + 4ull * entries > size)
            return Fail(problem, "bitmap colour table missing");
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::uint8_t* q = bytes + tableStart + 4 * i;
            palette[3 * i] = q[2], palette[3 * i + 1] = q[1], palette[3 * i + 2] = q[0];
        }
        tableStart += 4ull * entries;
    }

    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
    const std::uint32_t declared = U32(bytes + 10);
    // The file's own pixel offset holds unless it points into the headers.
    const std::uint64_t pixelsAt = declared >= tableStart ? declared : tableStart;
    if (pixelsAt + stride * static_cast<std::uint64_t>(height) > size)
        return Fail(problem, "bitmap pixels truncated");

    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    const std::size_t plane = static_cast<std::size_t>(width * height);
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.samples.assign(3 * plane, 0);
    std::uint8_t* r = out.samples.data();
    std::uint8_t* g = r + plane;
    std::uint8_t* b = g + plane;
    for (std::int64_t y = 0; y < height; ++y) {
        const std::int64_t stored = topDown ? y : height - 1 - y;
        const std::uint8_t* row = bytes + pixelsAt + stride * static_cast<std::uint64_t>(stored);
        const std::size_t o = static_cast<std::size_t>(y * width);
        for (std::int64_t x = 0; x < width; ++x) {
            const std::size_t i = o + static_cast<std::size_t>(x);
            switch (bits) {
            case 24:
                b[i] = row[3 * x], g[i] = row[3 * x + 1], r[i] = row[3 * x + 2];
                break;
            case 32: {
                const std::uint32_t p = U32(row + 4 * x);
                r[i] = red(p), g[i] = green(p), b[i] = blue(p);
                break;
            }
            case 16: {
                const std::uint32_t p = U16(row + 2 * x);
                r[i] = red(p), g[i] = green(p), b[i] = blue(p);
                break;
            }
            default: {
                const std::uint64_t bit = static_cast<std::uint64_t>(x) * bits;
                const unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                r[i] = palette[3 * index], g[i] = palette[3 * index + 1], b[i] = palette[3 * index + 2];
                break;
            }
            }
        }
    }
    return true;
}

}  // namespace snapshot
