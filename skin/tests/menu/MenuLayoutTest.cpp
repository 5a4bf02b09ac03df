// The menu's arithmetic without a window: entry ids, entries and separators, placement codes
// and their fallbacks at the edges of the work area.
#include <gtest/gtest.h>

#include <set>

#include "MenuLayout.h"

using namespace skelda::menu;

namespace {

// The real skin's menu: margins 8, gap 2, entries 164 x 22, smallest face 80 x 40.
MenuMetrics RealSkin()
{
    MenuMetrics m;
    m.left = m.top = m.right = m.bottom = 8;
    m.spaceBetween = 2;
    m.entry = {164, 22};
    m.minWidth = 80;
    m.minHeight = 40;
    return m;
}

const RECT kWork{0, 0, 1280, 994};

bool Inside(const RECT& r, const RECT& area)
{
    return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}

}  // namespace

TEST(MenuEntries, FortyOneRadioIdsSkipTwelveFortyFour)
{
    std::set<int> ids;
    for (int i = 0; i < kMaxEntries; ++i) {
        const int id = EntryControlId(i);
        EXPECT_NE(id, 1244);
        EXPECT_EQ(EntryIndexOfControl(id), i);
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 41u);
    EXPECT_EQ(*ids.begin(), 1224);
    EXPECT_EQ(*ids.rbegin(), 1265);
    EXPECT_EQ(EntryControlId(19), 1243);
    EXPECT_EQ(EntryControlId(20), 1245);
    EXPECT_EQ(EntryControlId(41), 0);
    EXPECT_EQ(EntryControlId(-1), 0);
    for (int other : {1, 2, 50, 1223, 1244, 1266})
        EXPECT_EQ(EntryIndexOfControl(other), -1) << other;
}

TEST(MenuLayout, EntriesStackWithGapsAndMargins)
{
    const MenuLayout layout = LayOutMenu(RealSkin(), 5, {});
    ASSERT_EQ(layout.entries.size(), 5u);
    EXPECT_EQ(layout.entries[0].left, 8);
    EXPECT_EQ(layout.entries[0].top, 8);
    EXPECT_EQ(layout.entries[1].top, 8 + 22 + 2);
    EXPECT_EQ(layout.entries[4].bottom, 8 + 5 * 22 + 4 * 2);
    EXPECT_EQ(layout.size.cx, 8 + 164 + 8);
    EXPECT_EQ(layout.size.cy, 8 + 5 * 22 + 4 * 2 + 8);
    EXPECT_TRUE(layout.separators.empty());
}

TEST(MenuLayout, SeparatorsTakeABandBeforeTheirEntry)
{
    // Before entry 2, before entry 0, and a trailing one that is not drawn.
    const MenuLayout layout = LayOutMenu(RealSkin(), 3, {2, 0, 3});
    ASSERT_EQ(layout.separators.size(), 2u);
    EXPECT_EQ(layout.entries[0].top, 8 + kSeparatorBand);
    EXPECT_EQ(layout.separators[0], 8 + kSeparatorBand / 2);
    EXPECT_EQ(layout.entries[2].top, layout.entries[1].bottom + 2 + kSeparatorBand);
    EXPECT_GT(layout.separators[1], layout.entries[1].bottom);
    EXPECT_LT(layout.separators[1], layout.entries[2].top);
    EXPECT_EQ(layout.size.cy, layout.entries[2].bottom + 8);
}

TEST(MenuLayout, FortyOneEntriesAndNoMore)
{
    const MenuLayout all = LayOutMenu(RealSkin(), 41, {});
    EXPECT_EQ(all.entries.size(), 41u);
    EXPECT_EQ(all.size.cy, 8 + 41 * 22 + 40 * 2 + 8);
    EXPECT_EQ(LayOutMenu(RealSkin(), 60, {}).entries.size(), 41u);
}

TEST(MenuLayout, SmallMenusKeepTheSkinsSmallestFace)
{
    const MenuLayout one = LayOutMenu(RealSkin(), 0, {});
    EXPECT_EQ(one.size.cx, 180);
    EXPECT_EQ(one.size.cy, 40);
}

TEST(MenuLayout, EntryAtFindsEntriesButNotGaps)
{
    const MenuLayout layout = LayOutMenu(RealSkin(), 3, {});
    EXPECT_EQ(EntryAt(layout, {20, 10}), 0);
    EXPECT_EQ(EntryAt(layout, {20, 8 + 22 + 2 + 5}), 1);
    EXPECT_EQ(EntryAt(layout, {20, 8 + 22}), -1) << "the gap";
    EXPECT_EQ(EntryAt(layout, {2, 10}), -1) << "the margin";
}

TEST(MenuPlacement, CornersOfTheSevenCodes)
{
    const POINT a{500, 400};
    const SIZE s{100, 60};
    const POINT expected[7] = {{400, 340}, {400, 370}, {400, 400}, {450, 400}, {500, 400}, {500, 370}, {500, 340}};
    for (int code = 0; code < 7; ++code) {
        const POINT c = PlacementCorner(code, a, s);
        EXPECT_EQ(c.x, expected[code].x) << code;
        EXPECT_EQ(c.y, expected[code].y) << code;
    }
}

TEST(MenuPlacement, CodesOutsideTheRangeCountAsZero)
{
    for (int code : {9, 7, -1, 1000}) {
        EXPECT_EQ(NormalisePlacement(code), 0);
        const POINT c = PlacementCorner(code, {500, 400}, {100, 60});
        EXPECT_EQ(c.x, 400);
        EXPECT_EQ(c.y, 340);
        PlacementRequest r;
        r.code = code;
        r.anchor = {500, 400};
        r.size = {100, 60};
        r.workArea = kWork;
        const RECT placed = PlaceMenu(r);
        EXPECT_EQ(placed.left, 400);
        EXPECT_EQ(placed.top, 340);
    }
}

TEST(MenuPlacement, FallbacksAreFiveOtherCodes)
{
    for (int code = 0; code < 7; ++code) {
        const auto order = FallbackPlacements(code);
        ASSERT_EQ(order.size(), 5u);
        std::set<int> distinct(order.begin(), order.end());
        EXPECT_EQ(distinct.size(), 5u);
        EXPECT_EQ(distinct.count(code), 0u);
    }
    EXPECT_EQ(FallbackPlacements(4).front(), 2) << "the other side first";
}

TEST(MenuPlacement, MenuNearAnEdgeMovesToACodeThatFits)
{
    PlacementRequest r;
    r.size = {180, 300};
    r.workArea = kWork;
    struct Case {
        int code;
        POINT anchor;
    } cases[] = {{4, {1270, 300}}, {4, {600, 980}}, {4, {1270, 980}}, {0, {10, 10}}, {6, {1275, 5}}, {3, {5, 990}}};
    for (const auto& c : cases) {
        r.code = c.code;
        r.anchor = c.anchor;
        const RECT placed = PlaceMenu(r);
        EXPECT_TRUE(Inside(placed, kWork)) << c.code << " at " << c.anchor.x << "," << c.anchor.y;
        EXPECT_EQ(placed.right - placed.left, 180);
        EXPECT_EQ(placed.bottom - placed.top, 300);
        // It still touches its anchor: a corner or an edge middle of the menu is there.
        EXPECT_TRUE(placed.left == c.anchor.x || placed.right == c.anchor.x ||
                    placed.left + 90 == c.anchor.x) << c.code;
    }
    // Fits already: unchanged.
    r.code = 4;
    r.anchor = {100, 100};
    const RECT kept = PlaceMenu(r);
    EXPECT_EQ(kept.left, 100);
    EXPECT_EQ(kept.top, 100);
}

TEST(MenuPlacement, SubMenuFlipsToTheOtherSideOfItsParent)
{
    const RECT parent{1000, 200, 1180, 400};
    PlacementRequest r;
    r.code = 4;
    r.anchor = {parent.right - 5, 230};
    r.size = {180, 100};
    r.workArea = kWork;
    r.hasExclusion = true;
    r.exclusion = parent;
    const RECT placed = PlaceMenu(r);
    EXPECT_TRUE(Inside(placed, kWork));
    EXPECT_EQ(placed.right, parent.left + 5) << "opens left of the parent, overlapping it as on the right";
    EXPECT_EQ(placed.top, 230);
    // With room on the right it opens there.
    r.anchor = {600 - 5, 230};
    r.exclusion = {420, 200, 600, 400};
    EXPECT_EQ(PlaceMenu(r).left, 595);
}

TEST(MenuPlacement, TooBigForEveryCodeIsMovedOntoTheWorkArea)
{
    PlacementRequest r;
    r.code = 4;
    r.anchor = {640, 500};
    r.size = {300, 900};
    r.workArea = kWork;
    const RECT placed = PlaceMenu(r);
    EXPECT_TRUE(Inside(placed, kWork));
    r.size = {300, 1200};  // taller than the screen: its top stays on it
    EXPECT_EQ(PlaceMenu(r).top, 0);
}
