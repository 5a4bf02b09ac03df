#include "TestSupport.h"

#include <cstdio>
#include <memory>
#include <set>

namespace testsupport {

COLORREF ScreenImage::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    const BYTE* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
    return RGB(p[2], p[1], p[0]);
}

size_t ScreenImage::DistinctColours() const
{
    std::set<DWORD> colours;
    for (size_t i = 0; i + 2 < bgr.size(); i += 3)
        colours.insert(bgr[i] | (bgr[i + 1] << 8) | (bgr[i + 2] << 16));
    return colours.size();
}

bool ScreenImage::SaveBmp(const std::string& path) const
{
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = -height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = stride * height;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;

    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!out)
        return false;
    bool ok = std::fwrite(&file, sizeof(file), 1, out.get()) == 1 &&
              std::fwrite(&info, sizeof(info), 1, out.get()) == 1;
    const BYTE pad[3] = {};
    for (int y = 0; ok && y < height; ++y) {
        ok = std::fwrite(&bgr[static_cast<size_t>(y) * width * 3], 1, width * 3, out.get()) ==
             static_cast<size_t>(width) * 3;
        if (ok && stride > static_cast<DWORD>(width) * 3)
            ok = std::fwrite(pad, 1, stride - width * 3, out.get()) == stride - width * 3;
    }
    return ok;
}

ScreenImage CaptureScreen(const RECT& r)
{
    ScreenImage image;
    image.width = r.right - r.left;
    image.height = r.bottom - r.top;
    if (image.width <= 0 || image.height <= 0)
        return {};

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && dib) {
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, image.width, image.height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
        image.bgr.resize(static_cast<size_t>(image.width) * image.height * 3);
        for (int y = 0; y < image.height; ++y)
            memcpy(&image.bgr[static_cast<size_t>(y) * image.width * 3],
                   static_cast<BYTE*>(bits) + y * stride, static_cast<size_t>(image.width) * 3);
        SelectObject(memory, old);
    }
    if (dib)
        DeleteObject(dib);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

ScreenImage CaptureWindow(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return CaptureScreen(r);
}

}  // namespace testsupport
