// Window regions from bitmaps. The pixels are read from one top-down 32-bit copy of the bitmap,
// not one GDI call per pixel: regions are rebuilt at every dialog start and every stretch step.
// The copy is made by GetDIBits, which knows how the bitmap was made: GetObject reports a top-down
// DIB section's height as positive, so its own header cannot tell which row comes first, and
// reading the section's memory by that header mirrors every face that is not symmetric.
#include <windows.h>

#include <vector>

#include "EBitmapUtilities.h"
#include "EQorRegionData.h"
#include "RegionTracer.h"
#include "framework/GdiObjects.h"

namespace {

// Pixels as COLORREFs (0x00BBGGRR), reduced to 24 bits, from top-down 32-bit rows.
class MemoryPixels {
public:
    MemoryPixels(const BYTE* bits, int width, int height, COLORREF transparent)
        : bits_(bits), width_(width), height_(height), transparent_(transparent & 0xFFFFFF)
    {
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Opaque(int x, int y) const
    {
        const BYTE* p = bits_ + (static_cast<ptrdiff_t>(y) * width_ + x) * 4;
        return RGB(p[2], p[1], p[0]) != transparent_;
    }

private:
    const BYTE* bits_;
    int width_, height_;
    COLORREF transparent_;
};

// The bitmap's pixels as a top-down 32-bit copy, whatever its depth and row order.
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
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof(info), &info) != static_cast<int>(sizeof(info)) || info.bmWidth <= 0 ||
        info.bmHeight <= 0)
        return {};
    std::vector<BYTE> copy;
    if (!CopyAs32Bit(bitmap, dc, info.bmWidth, info.bmHeight, &copy))
        return {};
    const MemoryPixels pixels(copy.data(), info.bmWidth, info.bmHeight, transparent);
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
