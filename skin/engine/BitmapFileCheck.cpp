// Bitmap header and layout checks on plain bytes, so that nothing the system's loader would
// read lies outside the data it is given.
#include "BitmapFileCheck.h"

#include <algorithm>
#include <climits>

namespace skelda {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kCoreHeaderBytes = 12;
constexpr std::size_t kInfoHeaderBytes = 40;

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

std::uint32_t U16(std::span<const std::uint8_t> b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8);
}

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::int32_t I32(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::int32_t>(U32(b, at));
}

// What the information header says about the bytes that follow it.
struct Layout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = kRgb;
    std::uint64_t headerBytes = 0;  // information header, masks and colour table
    std::uint64_t pixelBytes = 0;   // rows of pixels, or the compressed size
};

bool SideInRange(std::int64_t side)
{
    return side >= 1 && side <= kMaxSkinBitmapSide;
}

BitmapFault ReadCoreHeader(std::span<const std::uint8_t> dib, Layout* layout)
{
    if (dib.size() < kCoreHeaderBytes)
        return BitmapFault::TooShort;
    layout->width = U16(dib, 4);
    layout->height = U16(dib, 6);
    layout->bitCount = U16(dib, 10);
    if (!SideInRange(layout->width) || !SideInRange(layout->height))
        return BitmapFault::Dimensions;
    if (U16(dib, 8) != 1)
        return BitmapFault::Planes;
    const std::uint32_t bits = layout->bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        return BitmapFault::BitDepth;
    const std::uint64_t colours = bits <= 8 ? 1u << bits : 0;
    layout->headerBytes = kCoreHeaderBytes + colours * 3;
    return BitmapFault::None;
}

BitmapFault ReadInfoHeader(std::span<const std::uint8_t> dib, std::uint32_t headerSize, Layout* layout)
{
    if (dib.size() < headerSize)
        return BitmapFault::TooShort;
    const std::int32_t width = I32(dib, 4), height = I32(dib, 8);
    // A negative height means rows run top to bottom; INT_MIN has no positive counterpart.
    if (!SideInRange(width) || height == INT_MIN || !SideInRange(height < 0 ? -std::int64_t{height} : height))
        return BitmapFault::Dimensions;
    if (U16(dib, 12) != 1)
        return BitmapFault::Planes;
    layout->width = static_cast<std::uint32_t>(width);
    layout->height = static_cast<std::uint32_t>(height < 0 ? -height : height);
    layout->bitCount = U16(dib, 14);
    layout->compression = U32(dib, 16);
    const std::uint32_t bits = layout->bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return BitmapFault::BitDepth;
    switch (layout->compression) {
    case kRgb: break;
    case kRle8:
    case kRle4:
        if (bits != (layout->compression == kRle8 ? 8u : 4u) || height < 0)
            return BitmapFault::Compression;
        break;
    case kBitfields:
        if (bits != 16 && bits != 32)
            return BitmapFault::Compression;
        break;
    default: return BitmapFault::Compression;
    }
    const std::uint32_t used = U32(dib, 32);
    const std::uint32_t most = bits <= 8 ? 1u << bits : 256u;
    if (used > most)
        return BitmapFault::ColourTable;
    const std::uint64_t colours = used ? used : (bits <= 8 ? 1u << bits : 0u);
    // Colour masks follow a plain information header; later headers hold them inside.
    const std::uint64_t masks = layout->compression == kBitfields ? 12 : 0;
    layout->headerBytes = std::max<std::uint64_t>(headerSize, kInfoHeaderBytes + masks) + colours * 4;
    if (layout->compression == kRle8 || layout->compression == kRle4) {
        layout->pixelBytes = U32(dib, 20);
        if (layout->pixelBytes == 0)
            return BitmapFault::PixelData;
    }
    return BitmapFault::None;
}

// Reads the information header at the start of `dib` and works out the pixel data's size.
BitmapFault ReadLayout(std::span<const std::uint8_t> dib, Layout* layout)
{
    if (dib.size() < 4)
        return BitmapFault::TooShort;
    const std::uint32_t headerSize = U32(dib, 0);
    BitmapFault fault = BitmapFault::HeaderSize;
    if (headerSize == kCoreHeaderBytes)
        fault = ReadCoreHeader(dib, layout);
    else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124)
        fault = ReadInfoHeader(dib, headerSize, layout);
    if (fault != BitmapFault::None)
        return fault;
    if (layout->compression == kRgb || layout->compression == kBitfields) {
        const std::uint64_t stride = (std::uint64_t{layout->width} * layout->bitCount + 31) / 32 * 4;
        layout->pixelBytes = stride * layout->height;
    }
    return BitmapFault::None;
}

// Walks run-length data: every code complete, nothing painted outside the picture.
BitmapFault WalkRunLength(std::span<const std::uint8_t> data, const Layout& layout)
{
    const bool four = layout.compression == kRle4;
    std::uint64_t x = 0, y = 0;
    std::size_t at = 0;
    while (at + 1 < data.size()) {
        const std::uint32_t count = data[at], code = data[at + 1];
        at += 2;
        if (count > 0) {
            x += count;
            if (y >= layout.height || x > layout.width)
                return BitmapFault::RunLength;
            continue;
        }
        if (code == 0) {  // end of line
            x = 0;
            ++y;
        } else if (code == 1) {  // end of picture
            return BitmapFault::None;
        } else if (code == 2) {  // move right and down
            if (at + 2 > data.size())
                return BitmapFault::RunLength;
            x += data[at];
            y += data[at + 1];
            at += 2;
            if (x > layout.width || y > layout.height)
                return BitmapFault::RunLength;
        } else {  // `code` literal pixels, padded to a whole word
            const std::size_t bytes = four ? (code + 1) / 2 : code;
            at += (bytes + 1) & ~std::size_t{1};
            x += code;
            if (at > data.size() || y >= layout.height || x > layout.width)
                return BitmapFault::RunLength;
        }
    }
    // Data that ends between codes without an end mark leaves the rest of the picture blank.
    return at == data.size() ? BitmapFault::None : BitmapFault::RunLength;
}

BitmapFault CheckPixels(std::span<const std::uint8_t> pixels, const Layout& layout)
{
    if (pixels.size() < layout.pixelBytes)
        return BitmapFault::PixelData;
    if (layout.compression == kRle8 || layout.compression == kRle4)
        return WalkRunLength(pixels.first(static_cast<std::size_t>(layout.pixelBytes)), layout);
    return BitmapFault::None;
}

}  // namespace

BitmapFault CheckBitmapFile(std::span<const std::uint8_t> file)
{
    if (file.size() < kFileHeaderBytes + 4)
        return BitmapFault::TooShort;
    if (file[0] != 'B' || file[1] != 'M')
        return BitmapFault::NotBitmap;
    Layout layout;
    const BitmapFault fault = ReadLayout(file.subspan(kFileHeaderBytes), &layout);
    if (fault != BitmapFault::None)
        return fault;
    if (kFileHeaderBytes + layout.headerBytes > file.size())
        return BitmapFault::TooShort;
    const std::uint32_t offset = U32(file, 10);
    if (offset < kFileHeaderBytes + layout.headerBytes || offset > file.size())
        return BitmapFault::PixelOffset;
    return CheckPixels(file.subspan(offset), layout);
}

BitmapFault CheckPackedBitmap(std::span<const std::uint8_t> dib)
{
    Layout layout;
    const BitmapFault fault = ReadLayout(dib, &layout);
    if (fault != BitmapFault::None)
        return fault;
    if (layout.headerBytes > dib.size())
        return BitmapFault::TooShort;
    return CheckPixels(dib.subspan(static_cast<std::size_t>(layout.headerBytes)), layout);
}

const char* BitmapFaultText(BitmapFault fault)
{
    switch (fault) {
    case BitmapFault::None: return "sound";
    case BitmapFault::TooShort: return "shorter than its headers";
    case BitmapFault::NotBitmap: return "not a bitmap file";
    case BitmapFault::HeaderSize: return "unknown header size";
    case BitmapFault::Dimensions: return "width or height out of range";
    case BitmapFault::Planes: return "plane count is not 1";
    case BitmapFault::BitDepth: return "unsupported bit depth";
    case BitmapFault::Compression: return "compression does not fit the bit depth";
    case BitmapFault::ColourTable: return "colour table too large";
    case BitmapFault::PixelOffset: return "pixel offset outside the file";
    case BitmapFault::PixelData: return "pixel data cut short";
    case BitmapFault::RunLength: return "compressed pixel data damaged";
    }
    return "damaged";
}

}  // namespace skelda
