// Window regions from bitmaps. The pixels are read from the bitmap's memory (a DIB section's
// bits, or one GetDIBits copy for other bitmaps), not one GDI call per pixel: regions are
// rebuilt at every dialog start and every stretch step.
#include <windows.h>

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
    bool Opaque(int x, int y) const
    {
        const BYTE* p = bits_ + static_cast<ptrdiff_t>(bottomUp_ ? height_ - 1 - y : y) * stride_ +
                        static_cast<ptrdiff_t>(x) * bpp_;
        return RGB(p[2], p[1], p[0]) != transparent_;
    }

private:
    const BYTE* bits_;
    int width_, height_, stride_, bpp_;
    bool bottomUp_;
    COLORREF transparent_;
};

// The bitmap's pixels as a top-down 32-bit copy, for depths other than 24 and 32 bits and for
// device-dependent bitmaps.
bool CopyAs32Bit(HBITMAP bitmap, HDC dc, int width, int height, std::vector<BYTE>* pixels)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    pixels->assign(static_cast<size_t>(width) * height * 4, 0);
    return GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels->data(), &info, DIB_RGB_COLORS) ==
           height;
}

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
        const MemoryPixels pixels(static_cast<const BYTE*>(info.bmBits), info.bmWidth, info.bmHeight,
                                  info.bmWidthBytes, depth / 8, section.dsBmih.biHeight > 0, transparent);
        return skelda::TraceOutline(pixels);
    }
    std::vector<BYTE> copy;
    if (!CopyAs32Bit(bitmap, dc, info.bmWidth, info.bmHeight, &copy))
        return {};
    const MemoryPixels pixels(copy.data(), info.bmWidth, info.bmHeight, info.bmWidth * 4, 4, false, transparent);
    return skelda::TraceOutline(pixels);
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
