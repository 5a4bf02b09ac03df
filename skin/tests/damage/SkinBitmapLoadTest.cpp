// Skin bitmaps made into DIB sections without the system's loader must be the sections the
// system's loader makes: same size, depth, colours and pixel bytes, for every bitmap of the
// real skin and for the layouts the skin does not use. Prints both loaders' times.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "SkinBitmapFile.h"
#include "TestSupport.h"

namespace {

struct Section {
    DIBSECTION info{};
    std::vector<RGBQUAD> colours;
    std::vector<BYTE> bytes;
};

bool Describe(HBITMAP bitmap, Section* out)
{
    if (!bitmap || GetObjectA(bitmap, sizeof out->info, &out->info) != sizeof out->info || !out->info.dsBm.bmBits)
        return false;
    // The pixels of each row; the padding after a row is no picture and either loader may
    // leave anything there.
    const BITMAP& b = out->info.dsBm;
    const size_t used = (static_cast<size_t>(b.bmWidth) * b.bmBitsPixel + 7) / 8;
    for (int row = 0; row < b.bmHeight; ++row) {
        const BYTE* start = static_cast<const BYTE*>(b.bmBits) + static_cast<size_t>(row) * b.bmWidthBytes;
        out->bytes.insert(out->bytes.end(), start, start + used);
    }
    if (b.bmBitsPixel <= 8) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        out->colours.resize(256);
        out->colours.resize(GetDIBColorTable(dc, 0, 256, out->colours.data()));
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    return true;
}

// Compares the two loaders on one file; "" when they agree.
std::string CompareLoaders(const std::string& path)
{
    HBITMAP ours = skelda::LoadCheckedBitmapFile(path, 0, 0, LR_CREATEDIBSECTION);
    HBITMAP system = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    Section a, b;
    std::string problem;
    if (!Describe(ours, &a) || !Describe(system, &b))
        problem = "not a section";
    else if (a.info.dsBm.bmWidth != b.info.dsBm.bmWidth || a.info.dsBm.bmHeight != b.info.dsBm.bmHeight ||
             a.info.dsBm.bmBitsPixel != b.info.dsBm.bmBitsPixel || a.info.dsBmih.biHeight != b.info.dsBmih.biHeight)
        problem = "size or depth";
    else if (a.colours.size() != b.colours.size() ||
             std::memcmp(a.colours.data(), b.colours.data(), a.colours.size() * sizeof(RGBQUAD)) != 0)
        problem = "colours";
    else if (a.bytes != b.bytes)
        problem = "pixels";
    DeleteObject(ours);
    DeleteObject(system);
    return problem;
}

std::vector<std::string> SkinBitmaps(const std::string& folder)
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            for (const std::string& inner : SkinBitmaps(path))
                files.push_back(inner);
        } else if (name.size() > 4 && _stricmp(name.c_str() + name.size() - 4, ".bmp") == 0) {
            files.push_back(path);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

// A bitmap file of `bits` per pixel (8 with a grey palette), rows bottom-up unless `topDown`.
std::string WriteBitmap(const std::string& path, int width, int height, int bits, bool topDown)
{
    const int stride = (width * bits + 31) / 32 * 4;
    const int colours = bits <= 8 ? 1 << bits : 0;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = topDown ? -height : height;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bits);
    info.biSizeImage = static_cast<DWORD>(stride * height);
    file.bfType = 0x4D42;
    file.bfOffBits = static_cast<DWORD>(sizeof file + sizeof info + colours * 4);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<BYTE> table(static_cast<size_t>(colours) * 4);
    for (int i = 0; i < colours; ++i)
        table[i * 4] = table[i * 4 + 1] = table[i * 4 + 2] = static_cast<BYTE>(i * 255 / (colours - 1));
    std::vector<BYTE> pixels(info.biSizeImage);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<BYTE>(i * 7 + i / 13);
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return {};
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(table.data(), 1, table.size(), out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);
    return path;
}

double Milliseconds(const std::vector<std::string>& files, bool ours)
{
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    for (const std::string& path : files) {
        HBITMAP bitmap = ours ? skelda::LoadCheckedBitmapFile(path, 0, 0, LR_CREATEDIBSECTION)
                              : static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                                LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        DeleteObject(bitmap);
    }
    QueryPerformanceCounter(&end);
    return 1000.0 * double(end.QuadPart - begin.QuadPart) / double(frequency.QuadPart);
}

TEST(SkinBitmapLoad, EveryBitmapOfTheSkinIsTheSystemLoadersSection)
{
    const std::vector<std::string> files = SkinBitmaps(MAROVIN_SKIN_DIR);
    ASSERT_GT(files.size(), 100u);
    for (const std::string& path : files)
        EXPECT_EQ(CompareLoaders(path), "") << path;
    const double ours = Milliseconds(files, true), system = Milliseconds(files, false);
    std::printf("%zu skin bitmaps: checked direct sections %.0f ms, system loader alone %.0f ms (ratio %.2f)\n",
                files.size(), ours, system, ours / system);
}

TEST(SkinBitmapLoad, OtherLayoutsAgreeToo)
{
    const std::string folder = testsupport::OutputDir();
    struct Case {
        const char* name;
        int width, height, bits;
        bool topDown;
    };
    const Case cases[] = {
        {"grey8.bmp", 33, 17, 8, false},  {"rgb24.bmp", 31, 9, 24, false}, {"rgb24down.bmp", 31, 9, 24, true},
        {"rgb32.bmp", 5, 40, 32, false},  {"mono1.bmp", 70, 3, 1, false},  {"nibble4.bmp", 9, 9, 4, false},
        {"one8.bmp", 1, 1, 8, false},
    };
    for (const Case& c : cases) {
        const std::string path = WriteBitmap(folder + c.name, c.width, c.height, c.bits, c.topDown);
        ASSERT_FALSE(path.empty()) << c.name;
        EXPECT_EQ(CompareLoaders(path), "") << c.name;
    }
}

TEST(SkinBitmapLoad, ShortAndMissingFilesLoadNothing)
{
    const std::string folder = testsupport::OutputDir();
    const std::string whole = WriteBitmap(folder + "whole.bmp", 20, 20, 24, false);
    ASSERT_FALSE(whole.empty());
    std::vector<char> bytes(2000);
    FILE* in = std::fopen(whole.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in));
    std::fclose(in);
    for (size_t cut : {size_t{0}, size_t{10}, size_t{54}, bytes.size() - 1}) {
        const std::string path = folder + "cut" + std::to_string(cut) + ".bmp";
        FILE* out = std::fopen(path.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::fwrite(bytes.data(), 1, cut, out);
        std::fclose(out);
        EXPECT_EQ(skelda::LoadCheckedBitmapFile(path, 0, 0, LR_CREATEDIBSECTION), nullptr) << "cut at " << cut;
    }
    EXPECT_EQ(skelda::LoadCheckedBitmapFile(folder + "absent.bmp", 0, 0, LR_CREATEDIBSECTION), nullptr);
    EXPECT_EQ(skelda::LoadCheckedBitmapFile("", 0, 0, LR_CREATEDIBSECTION), nullptr);
}

}  // namespace
