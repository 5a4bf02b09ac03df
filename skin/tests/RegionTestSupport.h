#pragma once
// Synthetic bitmaps for the region tests and the reference tracer that reads one pixel at a
// time through GetPixel, as the region was first built.
#include <windows.h>

#include <string>
#include <vector>

#include "RegionTracer.h"

namespace regiontest {

constexpr COLORREF kTransparent = RGB(255, 0, 255);
constexpr COLORREF kOpaque = RGB(200, 30, 30);

// A picture drawn as rows of text: '#' opaque, anything else transparent.
struct Grid {
    std::vector<std::string> rows;
    int Width() const { return rows.empty() ? 0 : static_cast<int>(rows[0].size()); }
    int Height() const { return static_cast<int>(rows.size()); }
    bool Opaque(int x, int y) const { return rows[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#'; }
};

// A DIB section of `bits` bits per pixel (8, 16, 24, 32) showing `grid`, its rows stored
// bottom-up as bitmap files keep them or top-down as composed faces are made; the caller
// deletes it.
inline HBITMAP MakeBitmap(const Grid& grid, int bits, bool topDown = false)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = grid.Width();
    info.header.biHeight = topDown ? -grid.Height() : grid.Height();
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.header.biCompression = BI_RGB;
    info.colours[0] = RGBQUAD{255, 0, 255, 0};
    info.colours[1] = RGBQUAD{30, 30, 200, 0};
    info.header.biClrUsed = bits == 8 ? 2 : 0;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap)
        return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < grid.Height(); ++y)
        for (int x = 0; x < grid.Width(); ++x)
            SetPixel(dc, x, y, grid.Opaque(x, y) ? kOpaque : kTransparent);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

// Pixels through GetPixel on a memory context holding the bitmap.
class GdiPixels {
public:
    GdiPixels(HBITMAP bitmap, COLORREF transparent) : dc_(CreateCompatibleDC(nullptr)), transparent_(transparent)
    {
        BITMAP info{};
        GetObjectA(bitmap, sizeof(info), &info);
        width_ = info.bmWidth;
        height_ = info.bmHeight;
        old_ = SelectObject(dc_, bitmap);
    }
    ~GdiPixels()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    GdiPixels(const GdiPixels&) = delete;
    GdiPixels& operator=(const GdiPixels&) = delete;
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Opaque(int x, int y) const { return (GetPixel(dc_, x, y) & 0xFFFFFF) != (transparent_ & 0xFFFFFF); }

private:
    HDC dc_;
    HGDIOBJ old_;
    COLORREF transparent_;
    int width_ = 0, height_ = 0;
};

// The outline the slow way.
inline std::vector<POINT> TraceWithGetPixel(HBITMAP bitmap, COLORREF transparent)
{
    GdiPixels pixels(bitmap, transparent);
    return skelda::TraceOutline(pixels);
}

// The region of an outline, made as BuildRegion makes it (one open polyline into a path).
inline HRGN RegionFromOutline(const std::vector<POINT>& points)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HRGN region = nullptr;
    if (!points.empty() && BeginPath(dc)) {
        Polyline(dc, points.data(), static_cast<int>(points.size()));
        if (EndPath(dc))
            region = PathToRegion(dc);
    }
    DeleteDC(dc);
    return region;
}

}  // namespace regiontest
