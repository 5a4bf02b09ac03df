// How long building a window region takes: on the largest bitmap of the real skin and on a
// 1600 x 1200 picture, reading the bitmap's memory against one GetPixel call per pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "EBitmapUtilities.h"
#include "EQorRegionData.h"
#include "RegionTestSupport.h"

namespace fs = std::filesystem;

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Builds the region both ways `rounds` times; prints the times and checks the outlines agree.
void Measure(const char* label, HBITMAP bitmap, COLORREF transparent, int rounds)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    LARGE_INTEGER t0, t1, t2, t3;
    EQorRegionData outline;
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < rounds; ++i) {
        HRGN region = EBitmapUtilities::BuildRegion(bitmap, transparent, nullptr, &outline);
        ASSERT_NE(region, nullptr);
        DeleteObject(region);
    }
    QueryPerformanceCounter(&t1);
    std::vector<POINT> reference;
    for (int i = 0; i < rounds; ++i) {
        reference = regiontest::TraceWithGetPixel(bitmap, transparent);
        HRGN region = regiontest::RegionFromOutline(reference);
        ASSERT_NE(region, nullptr);
        DeleteObject(region);
    }
    QueryPerformanceCounter(&t2);
    for (int i = 0; i < rounds; ++i)
        DeleteObject(regiontest::RegionFromOutline(reference));
    QueryPerformanceCounter(&t3);
    const double fast = Seconds(t0, t1) / rounds, slow = Seconds(t1, t2) / rounds, path = Seconds(t2, t3) / rounds;
    std::printf("BuildRegion %-24s %4ldx%-4ld %2d bpp, %5zu outline points: memory %8.3f ms, GetPixel %8.3f ms "
                "(%.1fx); of each, path to region %8.3f ms\n",
                label, info.bmWidth, info.bmHeight, info.bmBitsPixel, reference.size(), fast * 1000, slow * 1000,
                fast > 0 ? slow / fast : 0.0, path * 1000);
    ASSERT_EQ(outline.Points().size(), reference.size());
    for (size_t i = 0; i < reference.size(); ++i)
        ASSERT_TRUE(outline.Points()[i].x == reference[i].x && outline.Points()[i].y == reference[i].y) << i;
}

}  // namespace

TEST(RegionBenchmark, LargestSkinBitmapAndALargeSyntheticOne)
{
    std::string largest;
    long largestPixels = 0;
    for (const auto& entry : fs::recursive_directory_iterator(MAROVIN_SKIN_DIR)) {
        if (entry.path().extension() != ".bmp")
            continue;
        HBITMAP probe = static_cast<HBITMAP>(
            LoadImageA(nullptr, entry.path().string().c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (!probe)
            continue;
        BITMAP info{};
        GetObjectA(probe, sizeof(info), &info);
        if (info.bmWidth * info.bmHeight > largestPixels) {
            largestPixels = info.bmWidth * info.bmHeight;
            largest = entry.path().string();
        }
        DeleteObject(probe);
    }
    ASSERT_FALSE(largest.empty());
    HBITMAP skin = static_cast<HBITMAP>(
        LoadImageA(nullptr, largest.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(skin, nullptr);
    Measure(fs::path(largest).filename().string().c_str(), skin, RGB(255, 0, 0), 5);
    DeleteObject(skin);

    // A rounded face filling most of a 1600 x 1200 picture.
    regiontest::Grid grid;
    for (int y = 0; y < 1200; ++y) {
        std::string row(1600, '.');
        for (int x = 0; x < 1600; ++x) {
            const int dx = std::max({0, 200 - x, x - 1399}), dy = std::max({0, 200 - y, y - 999});
            if (dx * dx + dy * dy <= 190 * 190)
                row[static_cast<size_t>(x)] = '#';
        }
        grid.rows.push_back(row);
    }
    HBITMAP synthetic = regiontest::MakeBitmap(grid, 24);
    ASSERT_NE(synthetic, nullptr);
    Measure("synthetic rounded face", synthetic, regiontest::kTransparent, 3);
    DeleteObject(synthetic);
}
