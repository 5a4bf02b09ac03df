#pragma once
// Checks the bytes of a bitmap before the system's loader sees them. The system's loader trusts
// the headers: a pixel offset or a declared size past the end of the data makes it read beyond
// the file, and a huge declared size makes it allocate hundreds of megabytes. A skin face never
// needs either, so anything the checker cannot vouch for is refused.
#include <cstddef>
#include <cstdint>
#include <span>

namespace skelda {

// Largest width and height a skin face may declare.
constexpr int kMaxSkinBitmapSide = 8192;

enum class BitmapFault {
    None,
    TooShort,        // shorter than its headers
    NotBitmap,       // no "BM" signature
    HeaderSize,      // an information header size the loader does not know
    Dimensions,      // width or height zero, negative where not allowed, or beyond the bound
    Planes,          // plane count other than 1
    BitDepth,        // bit count not valid for the header or compression
    Compression,     // unknown compression or one that does not fit the bit count
    ColourTable,     // more colours than the bit count allows
    PixelOffset,     // pixel data starting inside the headers or past the end
    PixelData,       // the declared pixel data does not fit in the file
    RunLength,       // compressed data that runs out or paints outside the picture
};

// A whole bitmap file ("BM", file header, information header, colours, pixels).
BitmapFault CheckBitmapFile(std::span<const std::uint8_t> file);
// A bitmap resource: the same without the file header, pixels right after the colours.
BitmapFault CheckPackedBitmap(std::span<const std::uint8_t> dib);

// A short English phrase for diagnostics.
const char* BitmapFaultText(BitmapFault fault);

}  // namespace skelda
