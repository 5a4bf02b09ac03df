// Window regions from bitmaps. The pixels of 24- and 32-bit DIB sections are read from their
// memory, not one GDI call per pixel: regions are rebuilt at every dialog start and every
// stretch step.
//
// A DIB section's rows lie bottom-up or top-down as it was made, and its header cannot say
// which: GetObject reports a top-down section's height as positive. So GDI is asked once, at
// a pixel whose row and mirrored row differ, which of the two it shows there.
#include <windows.h>

#include <cstring>
#include <vector>

#include "EBitmapUtilities.h"
#include "EQorRegionData.h"
#include "RegionTracer.h"
#include "framework/GdiObjects.h"

namespace {

// Pixels as COLORREFs (0x00BBGGRR), reduced to 24 bits, from 24- or 32-bit rows.
class MemoryPixels {
public:
    MemoryPixels(const BYTE* bits, int width, int height, int stride, int bytesPerPixel, bool bottomUp,
                 COLORREF transparent)
        : bits_(bits), width_(width), height_(height), stride_(stride), bpp_(bytesPerPixel),
          bottomUp_(bottomUp), transparent_(transparent & 0xFFFFFF)
    {
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The colour of the pixel `y` rows below the first row in memory.
    COLORREF MemoryColour(int x, int y) const
    {
        const BYTE* p = bits_ + static_cast<ptrdiff_t>(y) * stride_ + static_cast<ptrdiff_t>(x) * bpp_;
        return RGB(p[2], p[1], p[0]);
    }
    bool Opaque(int x, int y) const { return MemoryColour(x, bottomUp_ ? height_ - 1 - y : y) != transparent_; }
    // Whether memory rows `a` and `b` hold the same pixels.
    bool SameRows(int a, int b) const
    {
        return std::memcmp(bits_ + static_cast<ptrdiff_t>(a) * stride_, bits_ + static_cast<ptrdiff_t>(b) * stride_,
                           static_cast<size_t>(width_) * bpp_) == 0;
    }
    void SetBottomUp(bool bottomUp) { bottomUp_ = bottomUp; }

private:
    const BYTE* bits_;
    int width_, height_, stride_, bpp_;
    bool bottomUp_;
    COLORREF transparent_;
};

enum class RowOrder { BottomUp, TopDown, Unknown };

// Whether the section's first row in memory is its bottom row, as GDI shows the picture. A
// picture that equals its own mirror image reads the same either way. Unknown when GDI cannot
// show the section (it is selected elsewhere).
RowOrder MemoryRowOrder(const MemoryPixels& pixels, HDC dc, HBITMAP section)
{
    const int width = pixels.Width(), height = pixels.Height();
    for (int y = 0; y < height / 2; ++y) {
        if (pixels.SameRows(y, height - 1 - y))
            continue;
        for (int x = 0; x < width; ++x) {
            const COLORREF first = pixels.MemoryColour(x, y);
            if (first == pixels.MemoryColour(x, height - 1 - y))
                continue;
            CSelectObject selected(dc, section);
            const COLORREF shown = ::GetPixel(dc, x, y);
            if (shown == CLR_INVALID)
                return RowOrder::Unknown;
            // Memory row y is shown as row y when the section is top-down.
            return (shown & 0xFFFFFF) == first ? RowOrder::TopDown : RowOrder::BottomUp;
        }
    }
    return RowOrder::BottomUp;
}

// Pixels through GDI, for depths other than 24 and 32 bits and for device-dependent bitmaps:
// the tracer reads only the pixels along the outline (and up to the first opaque one), which
// costs less than converting the whole picture.
class GdiPixels {
public:
    GdiPixels(HDC dc, int width, int height, COLORREF transparent)
        : dc_(dc), width_(width), height_(height), transparent_(transparent & 0xFFFFFF)
    {
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Opaque(int x, int y) const { return (::GetPixel(dc_, x, y) & 0xFFFFFF) != transparent_; }

private:
    HDC dc_;
    int width_, height_;
    COLORREF transparent_;
};

std::vector<POINT> TraceBitmap(HBITMAP bitmap, COLORREF transparent, HDC dc)
{
    DIBSECTION section{};
    const int size = GetObjectA(bitmap, sizeof(section), &section);
    if (size < static_cast<int>(sizeof(BITMAP)))
        return {};
    const BITMAP& info = section.dsBm;
    if (info.bmWidth <= 0 || info.bmHeight <= 0)
        return {};
    const bool isSection = size == static_cast<int>(sizeof(DIBSECTION)) && info.bmBits != nullptr;
    const int depth = info.bmBitsPixel;
    if (isSection && (depth == 24 || depth == 32) && section.dsBmih.biCompression == BI_RGB) {
        MemoryPixels pixels(static_cast<const BYTE*>(info.bmBits), info.bmWidth, info.bmHeight, info.bmWidthBytes,
                            depth / 8, false, transparent);
        GdiFlush();  // drawing into the section must have reached its memory
        const RowOrder order = MemoryRowOrder(pixels, dc, bitmap);
        if (order != RowOrder::Unknown) {
            pixels.SetBottomUp(order == RowOrder::BottomUp);
            return skelda::TraceOutline(pixels);
        }
    }
    CSelectObject selected(dc, bitmap);
    if (::GetCurrentObject(dc, OBJ_BITMAP) != bitmap)
        return {};
    return skelda::TraceOutline(GdiPixels(dc, info.bmWidth, info.bmHeight, transparent));
}

}  // namespace

HRGN EBitmapUtilities::BuildRegion(HBITMAP bitmap, COLORREF transparent, HDC dc, EQorRegionData* outline)
{
    if (outline)
        outline->Clear();
    if (!bitmap)
        return nullptr;
    CDC memory;
    if (!memory.CreateCompatibleDC(dc))
        return nullptr;
    const std::vector<POINT> points = TraceBitmap(bitmap, transparent, memory.m_hDC);
    if (points.empty())
        return nullptr;
    if (outline)
        for (const POINT& point : points)
            outline->Add(point);
    // The outline as one open polyline; the path closes it when it becomes a region.
    if (!BeginPath(memory.m_hDC))
        return nullptr;
    Polyline(memory.m_hDC, points.data(), static_cast<int>(points.size()));
    if (!EndPath(memory.m_hDC))
        return nullptr;
    return PathToRegion(memory.m_hDC);
}
