// The main window as a user first sees it: after start-up it must show exactly the picture of
// the reference image (the window of the program before its start-up was made faster), pixel
// for pixel inside the window's shape. A capture that differs is saved beside a picture of the
// differing pixels.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CardInstaller.h"
#include "MarovinProcess.h"
#include "TestSupport.h"
#include "win/ComPtr.h"

using namespace marovintest;

namespace {

constexpr char kRoot[] = "Software\\Halvark\\Marovin";

struct Picture {
    int width = 0, height = 0;
    std::vector<BYTE> bgr;  // rows top to bottom, no padding
};

// A PNG file decoded by the system's imaging component; empty when it cannot be read.
Picture LoadPng(const std::string& path)
{
    Picture picture;
    win::ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.PutVoid())))
        return picture;
    const std::wstring wide(path.begin(), path.end());
    win::ComPtr<IWICBitmapDecoder> decoder;
    win::ComPtr<IWICBitmapFrameDecode> frame;
    win::ComPtr<IWICBitmapSource> converted;
    UINT width = 0, height = 0;
    if (FAILED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.Put())) ||
        FAILED(decoder->GetFrame(0, frame.Put())) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.Get(), converted.Put())) ||
        FAILED(converted->GetSize(&width, &height)))
        return picture;
    std::vector<BYTE> bytes(static_cast<size_t>(width) * height * 3);
    if (FAILED(converted->CopyPixels(nullptr, width * 3, static_cast<UINT>(bytes.size()), bytes.data())))
        return picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.bgr = std::move(bytes);
    return picture;
}

// The window's shape in window coordinates; null when it has none (the whole rectangle).
HRGN WindowShape(HWND window)
{
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(window, shape) == ERROR) {
        DeleteObject(shape);
        return nullptr;
    }
    return shape;
}

struct Difference {
    int pixels = 0;
    RECT box{LONG_MAX, LONG_MAX, -1, -1};
    testsupport::ScreenImage marks;  // differing pixels in red over a dimmed capture
};

Difference Compare(const testsupport::ScreenImage& shown, const Picture& reference, HRGN shape)
{
    Difference result;
    result.marks = shown;
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            const size_t at = (static_cast<size_t>(y) * shown.width + x) * 3;
            BYTE* mark = &result.marks.bgr[at];
            for (int c = 0; c < 3; ++c)
                mark[c] = static_cast<BYTE>(mark[c] / 3);
            if (shape && !PtInRegion(shape, x, y))
                continue;
            if (std::memcmp(&shown.bgr[at], &reference.bgr[at], 3) == 0)
                continue;
            ++result.pixels;
            mark[0] = 0, mark[1] = 0, mark[2] = 255;
            result.box.left = std::min<LONG>(result.box.left, x);
            result.box.top = std::min<LONG>(result.box.top, y);
            result.box.right = std::max<LONG>(result.box.right, x + 1);
            result.box.bottom = std::max<LONG>(result.box.bottom, y + 1);
        }
    }
    return result;
}

void RemoveAllCards()
{
    std::wstring error;
    for (const vcap::CardRecord& card : vcap::LoadAllCards())
        vcap::UninstallCard(card.number, error);
}

class MarovinFirstFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        RegDeleteTreeA(HKEY_CURRENT_USER, kRoot);
        // No card: a preview would fill the video area a second after start.
        RemoveAllCards();
        // Away from the window, so that no control is hovered and no tooltip opens.
        SetCursorPos(0, 0);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kRoot);
        CoUninitialize();
    }
};

TEST_F(MarovinFirstFrame, StartedWindowShowsTheReferencePicture)
{
    const Picture reference = LoadPng(MAROVIN_FIRST_FRAME_REFERENCE);
    Running marovin;
    ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", marovin));
    const HWND window = WaitForMainWindow(60000);
    ASSERT_NE(window, nullptr) << Describe(marovin);
    const DWORD shownAt = GetTickCount();
    if (reference.width == 0) {
        // Without a reference the settled window is saved: the picture a new reference is
        // made from, once looked at.
        testsupport::PumpMessages(5000);
        testsupport::CaptureWindow(window).SaveBmp(testsupport::OutputDir() + "first-frame.bmp");
        PostMessageA(window, WM_CLOSE, 0, 0);
        DWORD code = 99;
        WaitForExit(marovin, 15000, &code);
        FAIL() << "cannot read " << MAROVIN_FIRST_FRAME_REFERENCE << "; the window is saved as first-frame.bmp";
    }
    HRGN shape = WindowShape(window);

    // Painting follows the showing; wait until the picture settles on the reference, or give
    // up after a time no start-up on a loaded machine comes near.
    testsupport::ScreenImage shown;
    Difference difference;
    int captures = 0;
    DWORD matchedAfter = 0;
    testsupport::PumpMessages(30000, [&] {
        shown = testsupport::CaptureWindow(window);
        ++captures;
        if (shown.width != reference.width || shown.height != reference.height)
            return false;
        difference = Compare(shown, reference, shape);
        matchedAfter = GetTickCount() - shownAt;
        return difference.pixels == 0;
    });
    if (shape)
        DeleteObject(shape);
    shown.SaveBmp(testsupport::OutputDir() + "first-frame.bmp");
    ASSERT_EQ(shown.width, reference.width) << "window size";
    ASSERT_EQ(shown.height, reference.height) << "window size";
    if (difference.pixels != 0)
        difference.marks.SaveBmp(testsupport::OutputDir() + "first-frame-differences.bmp");
    EXPECT_EQ(difference.pixels, 0) << "pixels unlike the reference, within (" << difference.box.left << ","
                                    << difference.box.top << ")-(" << difference.box.right << ","
                                    << difference.box.bottom << "); see first-frame-differences.bmp";
    if (difference.pixels == 0)
        std::printf("the window showed the reference picture %lu ms after it became visible (capture %d)\n",
                    static_cast<unsigned long>(matchedAfter), captures);

    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    EXPECT_TRUE(WaitForExit(marovin, 15000, &code)) << Describe(marovin);
}

}  // namespace
