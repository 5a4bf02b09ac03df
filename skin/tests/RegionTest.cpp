// Window regions from bitmaps: the traced outline on synthetic pictures, and the region that
// BuildRegion makes from real DIB sections, checked pixel by pixel.
#include <gtest/gtest.h>

#include "EBitmapUtilities.h"
#include "EQorRegionData.h"
#include "RegionTestSupport.h"

using namespace regiontest;

namespace {

struct Region {
    HRGN handle = nullptr;
    EQorRegionData outline;
    ~Region()
    {
        if (handle)
            DeleteObject(handle);
    }
};

void Build(const Grid& grid, int bits, Region* region, bool topDown = false)
{
    HBITMAP bitmap = MakeBitmap(grid, bits, topDown);
    ASSERT_NE(bitmap, nullptr);
    HDC screen = GetDC(nullptr);
    region->handle = EBitmapUtilities::BuildRegion(bitmap, kTransparent, screen, &region->outline);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
}

// Every pixel of the grid: in the region exactly when `expected` says so.
std::string Mismatches(const Region& region, const Grid& grid, bool (*expected)(const Grid&, int, int))
{
    std::string report;
    for (int y = -1; y <= grid.Height(); ++y)
        for (int x = -1; x <= grid.Width(); ++x) {
            const bool inside = x >= 0 && y >= 0 && x < grid.Width() && y < grid.Height();
            const bool want = inside && expected(grid, x, y);
            if (PtInRegion(region.handle, x, y) != static_cast<BOOL>(want))
                report += "(" + std::to_string(x) + "," + std::to_string(y) + (want ? ") missing " : ") extra ");
        }
    return report;
}

bool OpaquePixel(const Grid& grid, int x, int y) { return grid.Opaque(x, y); }

const Grid kDisc = [] {
    Grid grid;
    const int size = 21, centre = 10;
    for (int y = 0; y < size; ++y) {
        std::string row;
        for (int x = 0; x < size; ++x)
            row += (x - centre) * (x - centre) + (y - centre) * (y - centre) <= 81 ? '#' : '.';
        grid.rows.push_back(row);
    }
    return grid;
}();

}  // namespace

TEST(RegionTrace, StartsAtTheFirstOpaquePixelInRowOrder)
{
    const Grid topLeft{{"##.", "##.", "..."}};
    auto points = skelda::TraceOutline(topLeft);
    ASSERT_FALSE(points.empty());
    EXPECT_EQ(points[0].x, 0);
    EXPECT_EQ(points[0].y, 0);

    const Grid later{{"....", "..#.", ".##."}};
    points = skelda::TraceOutline(later);
    ASSERT_FALSE(points.empty());
    EXPECT_EQ(points[0].x, 2);
    EXPECT_EQ(points[0].y, 1);
}

TEST(RegionTrace, AnEntirelyTransparentPictureHasNoOutline)
{
    EXPECT_TRUE(skelda::TraceOutline(Grid{{"....", "...."}}).empty());
    EXPECT_TRUE(skelda::TraceOutline(Grid{}).empty());
}

TEST(RegionTrace, ARectangleRunsOnePixelOutsideOnTheRightAndBottom)
{
    const Grid grid{{".....", ".##..", ".##..", "....."}};
    const auto points = skelda::TraceOutline(grid);
    LONG maxX = 0, maxY = 0, minX = 100, minY = 100;
    for (const POINT& p : points) {
        maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
        minX = std::min(minX, p.x), minY = std::min(minY, p.y);
    }
    EXPECT_EQ(minX, 1);
    EXPECT_EQ(minY, 1);
    EXPECT_EQ(maxX, 3) << "one column right of the shape";
    EXPECT_EQ(maxY, 3) << "one row below the shape";
}

TEST(BuildRegion, TopLeftOpaquePixelStartsTheOutlineAtTheOrigin)
{
    const Grid grid{{"###.", "###.", "###.", "...."}};
    Region region;
    Build(grid, 32, &region);
    ASSERT_NE(region.handle, nullptr);
    ASSERT_GT(region.outline.GetCount(), 0);
    EXPECT_EQ(region.outline.GetPoint(0).x, 0);
    EXPECT_EQ(region.outline.GetPoint(0).y, 0);
    EXPECT_EQ(Mismatches(region, grid, OpaquePixel), "");
}

TEST(BuildRegion, AllTransparentGivesNoRegion)
{
    Region region;
    Build(Grid{{"....", "....", "...."}}, 32, &region);
    EXPECT_EQ(region.handle, nullptr);
    EXPECT_EQ(region.outline.GetCount(), 0);
}

TEST(BuildRegion, OnlyTheFirstOfTwoSeparateShapesFormsTheWindow)
{
    const Grid grid{{"........", ".##.....", ".##.....", "........", ".....##.", ".....##.", "........"}};
    Region region;
    Build(grid, 32, &region);
    ASSERT_NE(region.handle, nullptr);
    EXPECT_EQ(Mismatches(region, grid, [](const Grid& g, int x, int y) { return g.Opaque(x, y) && y < 3; }), "");
}

TEST(BuildRegion, AOnePixelColumnIsCovered)
{
    const Grid grid{{"...", ".#.", ".#.", ".#.", ".#.", "..."}};
    Region region;
    Build(grid, 32, &region);
    ASSERT_NE(region.handle, nullptr);
    EXPECT_EQ(Mismatches(region, grid, OpaquePixel), "");
}

TEST(BuildRegion, AnLShapeIsCoveredExactly)
{
    const Grid grid{{"......", ".##...", ".##...", ".##...", ".####.", ".####.", "......"}};
    Region region;
    Build(grid, 32, &region);
    ASSERT_NE(region.handle, nullptr);
    EXPECT_EQ(Mismatches(region, grid, OpaquePixel), "");
}

TEST(BuildRegion, AHoleIsNotCut)
{
    const Grid grid{{".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."}};
    Region region;
    Build(grid, 32, &region);
    ASSERT_NE(region.handle, nullptr);
    EXPECT_EQ(Mismatches(region, grid,
                         [](const Grid&, int x, int y) { return x >= 1 && x <= 5 && y >= 1 && y <= 4; }),
              "");
}

TEST(BuildRegion, ADiscIsCoveredPixelByPixel)
{
    Region region;
    Build(kDisc, 32, &region);
    ASSERT_NE(region.handle, nullptr);
    EXPECT_EQ(Mismatches(region, kDisc, OpaquePixel), "");
}

TEST(BuildRegion, EveryDepthGivesTheOutlineOfThePixelByPixelReference)
{
    for (int bits : {8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        HBITMAP bitmap = MakeBitmap(kDisc, bits);
        ASSERT_NE(bitmap, nullptr);
        const auto reference = TraceWithGetPixel(bitmap, kTransparent);
        EQorRegionData outline;
        HRGN region = EBitmapUtilities::BuildRegion(bitmap, kTransparent, nullptr, &outline);
        DeleteObject(bitmap);
        ASSERT_NE(region, nullptr);
        DeleteObject(region);
        ASSERT_EQ(static_cast<size_t>(outline.GetCount()), reference.size());
        for (size_t i = 0; i < reference.size(); ++i) {
            EXPECT_EQ(outline.Points()[i].x, reference[i].x) << i;
            EXPECT_EQ(outline.Points()[i].y, reference[i].y) << i;
        }
        EXPECT_EQ(static_cast<size_t>(outline.GetCount()), skelda::TraceOutline(kDisc).size());
    }
}

TEST(BuildRegion, ADeviceDependentBitmapIsReadToo)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 10, 10);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 10, 10}, square{2, 2, 6, 6};
    HBRUSH background = CreateSolidBrush(kTransparent), face = CreateSolidBrush(kOpaque);
    FillRect(dc, &all, background);
    FillRect(dc, &square, face);
    SelectObject(dc, old);
    HRGN region = EBitmapUtilities::BuildRegion(bitmap, kTransparent, screen, nullptr);
    ASSERT_NE(region, nullptr);
    EXPECT_TRUE(PtInRegion(region, 2, 2));
    EXPECT_TRUE(PtInRegion(region, 5, 5));
    EXPECT_FALSE(PtInRegion(region, 6, 6));
    EXPECT_FALSE(PtInRegion(region, 1, 2));
    DeleteObject(region);
    DeleteObject(background);
    DeleteObject(face);
    DeleteDC(dc);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
}

TEST(BuildRegion, NoBitmapGivesNoRegion)
{
    EQorRegionData outline;
    outline.Add(POINT{1, 1});
    EXPECT_EQ(EBitmapUtilities::BuildRegion(nullptr, kTransparent, nullptr, &outline), nullptr);
    EXPECT_EQ(outline.GetCount(), 0) << "a stale outline is cleared";
    HBITMAP notABitmap = reinterpret_cast<HBITMAP>(GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(EBitmapUtilities::BuildRegion(notABitmap, kTransparent, nullptr, nullptr), nullptr);
}

// A face with a tab on its upper left and a notch low on its right: mirrored rows or columns
// would move both, so the same outline from either row order proves the rows were read in
// the order they were made.
const Grid kOneSidedFace{{"..........",
                          ".###......",
                          ".#######..",
                          ".#######..",
                          ".#######..",
                          ".#####....",
                          ".#######..",
                          ".........."}};

TEST(BuildRegion, TopDownAndBottomUpSectionsOfOneFaceGiveTheSameShape)
{
    for (int bits : {24, 32}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(std::to_string(bits) + (topDown ? " bits, top-down" : " bits, bottom-up"));
            Region region;
            Build(kOneSidedFace, bits, &region, topDown);
            ASSERT_NE(region.handle, nullptr);
            ASSERT_GT(region.outline.GetCount(), 0);
            EXPECT_EQ(region.outline.GetPoint(0).x, 1);
            EXPECT_EQ(region.outline.GetPoint(0).y, 1) << "the tab's corner is the first opaque pixel";
            EXPECT_TRUE(PtInRegion(region.handle, 2, 1)) << "the tab";
            EXPECT_FALSE(PtInRegion(region.handle, 6, 1)) << "beside the tab";
            EXPECT_TRUE(PtInRegion(region.handle, 7, 6)) << "below the notch";
            const auto expected = skelda::TraceOutline(kOneSidedFace);
            HRGN reference = RegionFromOutline(expected);
            ASSERT_NE(reference, nullptr);
            EXPECT_TRUE(EqualRgn(region.handle, reference)) << "the region of the face read in its own row order";
            DeleteObject(reference);
            ASSERT_EQ(static_cast<size_t>(region.outline.GetCount()), expected.size());
            for (size_t i = 0; i < expected.size(); ++i)
                EXPECT_TRUE(region.outline.Points()[i].x == expected[i].x && region.outline.Points()[i].y == expected[i].y)
                    << i;
        }
    }
}
