// The GDI owners release what they hold on every path.
#include <framework/Framework.h>
#include <gtest/gtest.h>

namespace {

bool Alive(HGDIOBJ object)
{
    return GetObjectType(object) != 0;
}

TEST(GdiOwners, ReleaseAtScopeEndAndOnReplacement)
{
    HGDIOBJ brush = nullptr, first = nullptr, second = nullptr;
    {
        CBrush b;
        ASSERT_TRUE(b.CreateSolidBrush(RGB(1, 2, 3)));
        brush = b;
        CRgn r;
        ASSERT_TRUE(r.CreateRectRgn(0, 0, 10, 10));
        first = r;
        ASSERT_TRUE(r.CreateRectRgn(0, 0, 20, 20));  // the first region is released
        second = r;
        EXPECT_FALSE(Alive(first));
        EXPECT_TRUE(Alive(second));
    }
    EXPECT_FALSE(Alive(brush));
    EXPECT_FALSE(Alive(second));
}

TEST(GdiOwners, MovesHandOverAndDetachGivesAway)
{
    CBitmap a;
    HDC screen = GetDC(nullptr);
    ASSERT_TRUE(a.CreateCompatibleBitmap(screen, 8, 8));
    ReleaseDC(nullptr, screen);
    HBITMAP handle = a;
    CBitmap b(std::move(a));
    EXPECT_EQ(a.GetSafeHandle(), nullptr);
    EXPECT_EQ(b.GetSafeHandle(), handle);
    BITMAP info{};
    ASSERT_TRUE(b.GetBitmap(&info));
    EXPECT_EQ(info.bmWidth, 8);
    HBITMAP given = b.Detach();
    EXPECT_EQ(b.GetSafeHandle(), nullptr);
    EXPECT_TRUE(Alive(given));
    DeleteObject(given);
}

TEST(GdiOwners, DeviceContextsAndSelectionsAreRestored)
{
    HDC dcHandle = nullptr;
    HGDIOBJ stockBitmap = nullptr;
    CBitmap bitmap;
    void* bits = nullptr;
    ASSERT_TRUE(bitmap.CreateDIBSection32(4, 4, &bits));
    ASSERT_NE(bits, nullptr);
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        dcHandle = dc;
        stockBitmap = GetCurrentObject(dc, OBJ_BITMAP);
        {
            CSelectObject selected(dc, bitmap);
            EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap.GetSafeHandle());
        }
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), stockBitmap);
    }
    EXPECT_FALSE(Alive(dcHandle));
    // A bitmap that was selected and released is still deletable (not stuck in a DC).
    EXPECT_TRUE(bitmap.DeleteObject());
}

TEST(GdiOwners, FailedCreationHoldsNothing)
{
    CFont font;
    LOGFONTA lf{};
    lf.lfHeight = -12;
    lstrcpyA(lf.lfFaceName, "Tahoma");
    ASSERT_TRUE(font.CreateFontIndirect(lf));
    CBitmap huge;
    EXPECT_FALSE(huge.CreateDIBSection32(-1, -1));
    EXPECT_EQ(huge.GetSafeHandle(), nullptr);
    CRgn copy;
    CRgn source;
    ASSERT_TRUE(source.CreateRectRgn(0, 0, 5, 5));
    ASSERT_TRUE(copy.CopyRgn(source));
    EXPECT_TRUE(copy.PtInRegion(2, 2));
    EXPECT_FALSE(copy.PtInRegion(6, 6));
}

}  // namespace
