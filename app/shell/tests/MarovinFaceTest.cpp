// What the started main window shows besides the skin: the recent-recording thumbnails with
// their pictures, and the status display in green.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "MarovinProcess.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

constexpr char kRoot[] = "Software\\Halvark\\Marovin";
constexpr char kRecentKey[] = "Software\\Halvark\\Marovin\\Recent";
constexpr int kThumbnails[] = {1426, 1427, 1428, 1429};
constexpr int kNoRecentLabel = 1509;
constexpr int kStatusDisplay = 1046;
constexpr int kElapsedClock = 1504;

// A 24-bit bitmap file of one colour.
bool WriteBitmap(const std::string& path, int width, int height, COLORREF colour)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<BYTE> pixels(info.biSizeImage);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            BYTE* p = &pixels[static_cast<size_t>(y * stride + x * 3)];
            p[0] = GetBValue(colour), p[1] = GetGValue(colour), p[2] = GetRValue(colour);
        }
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data(), pixels.size(), 1, out);
    return std::fclose(out) == 0;
}

bool ReadBitmapSize(const std::string& path, int* width, int* height)
{
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in)
        return false;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    const bool ok = std::fread(&file, sizeof file, 1, in) == 1 && std::fread(&info, sizeof info, 1, in) == 1 &&
                    file.bfType == 0x4D42;
    std::fclose(in);
    *width = info.biWidth;
    *height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    return ok;
}

void SetRecent(int number, const std::string& path, const char* duration)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRecentKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string name = "file" + std::to_string(number);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>(path.size() + 1));
    RegSetValueExA(key, (name + "dur").c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(duration),
                   static_cast<DWORD>(strlen(duration) + 1));
    RegCloseKey(key);
}

std::string RecentValue(const char* name)
{
    char value[600] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, kRecentKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "<missing>";
    return value;
}

COLORREF CentrePixel(HWND control)
{
    const testsupport::ScreenImage image = testsupport::CaptureWindow(control);
    return image.Pixel(image.width / 2, image.height / 2);
}

class MarovinFace : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kRoot); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kRoot); }
};

TEST_F(MarovinFace, RecentThumbnailsShowTheirPicturesAndForgetDeletedFiles)
{
    const std::string folder = testsupport::OutputDir() + "recent\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string withPicture = folder + "clip1.mpg";
    const std::string recorded = folder + "clip2.mpg";
    const std::string deleted = folder + "clip3.mpg";
    DeleteFileA((folder + "clip2.bmp").c_str());
    DeleteFileA(deleted.c_str());
    ASSERT_TRUE(WriteBitmap(folder + "clip1.bmp", 78, 63, RGB(255, 0, 0)));
    FILE* clip = std::fopen(withPicture.c_str(), "wb");
    ASSERT_NE(clip, nullptr);
    std::fputs("not played here", clip);
    std::fclose(clip);
    std::string generated;
    ASSERT_EQ(testsupport::RunProcess("\"" + testsupport::ModuleDir() + "vcapgen.exe\" \"" + recorded +
                                          "\" --mode 1 --size 352x240 --seconds 1",
                                      &generated),
              0)
        << generated;
    SetRecent(1, withPicture, "00:00:05");
    SetRecent(2, deleted, "00:01:00");
    SetRecent(3, recorded, "00:00:01");

    Running marovin;
    ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", marovin));
    const HWND window = WaitForMainWindow(30000);
    ASSERT_NE(window, nullptr);
    testsupport::PumpMessages(1500);
    testsupport::CaptureWindow(window).SaveBmp(testsupport::OutputDir() + "recent-thumbnails.bmp");

    EXPECT_EQ(RecentValue("file1"), withPicture);
    EXPECT_EQ(RecentValue("file2"), recorded) << "the deleted recording left the list";
    EXPECT_EQ(RecentValue("file3"), "<missing>");
    for (int i = 0; i < 4; ++i) {
        const HWND button = GetDlgItem(window, kThumbnails[i]);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(IsWindowVisible(button) != FALSE, i < 2) << "thumbnail " << i + 1;
        EXPECT_EQ(IsWindowEnabled(button) != FALSE, i < 2) << "thumbnail " << i + 1;
        RECT rect{};
        GetWindowRect(button, &rect);
        EXPECT_EQ(rect.right - rect.left, 78) << "thumbnail " << i + 1 << " covers the skin's frame";
        EXPECT_EQ(rect.bottom - rect.top, 63) << "thumbnail " << i + 1;
    }
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, kNoRecentLabel)));
    EXPECT_EQ(CentrePixel(GetDlgItem(window, kThumbnails[0])), RGB(255, 0, 0)) << "the picture beside the recording";

    // The second recording has no picture: the media detector makes one, or, where it
    // cannot, the skin's placeholder stands in.
    int width = 0, height = 0;
    if (ReadBitmapSize(folder + "clip2.bmp", &width, &height)) {
        EXPECT_EQ(width, 78);
        EXPECT_EQ(height, 63);
    } else {
        EXPECT_NE(marovin.Output().find("IMediaDet::WriteBitmapBits failed"), std::string::npos) << marovin.Output();
        const HBITMAP placeholder = static_cast<HBITMAP>(
            LoadImageA(nullptr, (testsupport::ModuleDir() + "Skins\\Skin\\main\\no_thumbnail.bmp").c_str(),
                       IMAGE_BITMAP, 78, 63, LR_LOADFROMFILE));
        ASSERT_NE(placeholder, nullptr);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, placeholder);
        const COLORREF expected = GetPixel(memory, 39, 31);
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        DeleteObject(placeholder);
        EXPECT_EQ(CentrePixel(GetDlgItem(window, kThumbnails[1])), expected);
    }

    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    EXPECT_TRUE(WaitForExit(marovin, 15000, &code)) << Describe(marovin);
}

TEST_F(MarovinFace, WithoutRecordingsOnlyTheLabelShows)
{
    Running marovin;
    ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", marovin));
    const HWND window = WaitForMainWindow(30000);
    ASSERT_NE(window, nullptr);
    for (int id : kThumbnails)
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, id)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, kNoRecentLabel)));
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    EXPECT_TRUE(WaitForExit(marovin, 15000, &code)) << Describe(marovin);
}

TEST_F(MarovinFace, StatusDisplayShowsTheVersionInGreenAndTimeZero)
{
    Running marovin;
    ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", marovin));
    const HWND window = WaitForMainWindow(30000);
    ASSERT_NE(window, nullptr);
    testsupport::PumpMessages(500);
    const HWND status = GetDlgItem(window, kStatusDisplay);
    ASSERT_NE(status, nullptr);
    char text[128] = "";
    GetWindowTextA(status, text, sizeof text);
    EXPECT_EQ(std::string(text).rfind("Version: ", 0), 0u) << text;
    GetWindowTextA(GetDlgItem(window, kElapsedClock), text, sizeof text);
    EXPECT_STREQ(text, "00:00:00");

    const testsupport::ScreenImage image = testsupport::CaptureWindow(status);
    image.SaveBmp(testsupport::OutputDir() + "status-display.bmp");
    int green = 0, other = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const COLORREF c = image.Pixel(x, y);
            if (c == RGB(0, 255, 0))
                ++green;
            else if (GetGValue(c) > 200 && (GetRValue(c) > 120 || GetBValue(c) > 120))
                ++other;  // bright text of another colour
        }
    }
    EXPECT_GT(green, 20) << "the text is drawn in pure green";
    EXPECT_EQ(other, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    EXPECT_TRUE(WaitForExit(marovin, 15000, &code)) << Describe(marovin);
}

}  // namespace
