// The framework's pure logic: command routing table, filter parsing, profile paths, value
// interpretation and number parsing.
#include <framework/Framework.h>
#include <gtest/gtest.h>

TEST(MessageMap, FindsCommandsByIdAndCode)
{
    framework::MessageMap map;
    std::string seen;
    map.AddCommand(10, 10, BN_CLICKED, [&](UINT id, UINT code) { seen = "click " + std::to_string(id) + "/" + std::to_string(code); });
    map.AddCommand(10, 10, EN_CHANGE, [&](UINT, UINT) { seen = "change"; });
    map.AddCommand(20, 29, BN_CLICKED, [&](UINT id, UINT) { seen = "range " + std::to_string(id); });

    ASSERT_NE(map.FindCommand(10, BN_CLICKED), nullptr);
    (*map.FindCommand(10, BN_CLICKED))(10, BN_CLICKED);
    EXPECT_EQ(seen, "click 10/0");
    (*map.FindCommand(10, EN_CHANGE))(10, EN_CHANGE);
    EXPECT_EQ(seen, "change");
    (*map.FindCommand(25, BN_CLICKED))(25, BN_CLICKED);
    EXPECT_EQ(seen, "range 25");
    EXPECT_EQ(map.FindCommand(10, EN_KILLFOCUS), nullptr);
    EXPECT_EQ(map.FindCommand(30, BN_CLICKED), nullptr);
    EXPECT_EQ(map.FindCommand(19, BN_CLICKED), nullptr);
}

TEST(MessageMap, LaterEntriesOverrideEarlierOnes)
{
    framework::MessageMap map;
    int which = 0;
    map.AddCommand(1, 100, 0, [&](UINT, UINT) { which = 1; });
    map.AddCommand(50, 50, 0, [&](UINT, UINT) { which = 2; });
    (*map.FindCommand(50, 0))(50, 0);
    EXPECT_EQ(which, 2);
    (*map.FindCommand(51, 0))(51, 0);
    EXPECT_EQ(which, 1);
}

TEST(MessageMap, RejectsEmptyRangesAndHandlers)
{
    framework::MessageMap map;
    map.AddCommand(5, 4, 0, [](UINT, UINT) {});
    map.AddCommand(5, 5, 0, nullptr);
    map.AddNotify(7, 6, 0, [](NMHDR*, LRESULT*) {});
    EXPECT_TRUE(map.Empty());
}

TEST(MessageMap, NotificationsMatchIdAndCode)
{
    framework::MessageMap map;
    LRESULT answer = 0;
    map.AddNotify(7, 7, static_cast<UINT>(TTN_GETDISPINFOA), [](NMHDR*, LRESULT* r) { *r = 42; });
    ASSERT_NE(map.FindNotify(7, static_cast<UINT>(TTN_GETDISPINFOA)), nullptr);
    (*map.FindNotify(7, static_cast<UINT>(TTN_GETDISPINFOA)))(nullptr, &answer);
    EXPECT_EQ(answer, 42);
    EXPECT_EQ(map.FindNotify(7, static_cast<UINT>(NM_CLICK)), nullptr);
}

TEST(MessageMap, MenuAndAcceleratorCommandsShareOneCode)
{
    EXPECT_EQ(framework::CommandCodeOf(MAKEWPARAM(5, 1), 0), framework::kCommandCode);  // accelerator
    EXPECT_EQ(framework::CommandCodeOf(MAKEWPARAM(5, 0), 0), framework::kCommandCode);  // menu
    EXPECT_EQ(framework::CommandCodeOf(MAKEWPARAM(5, EN_CHANGE), 0x1234), static_cast<UINT>(EN_CHANGE));
}

namespace {
bool NoLeadBytes(unsigned char) { return false; }
}

TEST(FileFilter, ParsesPairsUpToTheDoubleBar)
{
    const auto filters = framework::ParseFileFilter("XML Files (*.xml)|*.xml||", NoLeadBytes);
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].description, "XML Files (*.xml)");
    EXPECT_EQ(filters[0].pattern, "*.xml");

    const auto two = framework::ParseFileFilter("JPEG Files (*.jpg)|*.jpg|BMP Files (*.bmp)|*.bmp||ignored|*.x", NoLeadBytes);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1], (framework::FileFilter{"BMP Files (*.bmp)", "*.bmp"}));
}

TEST(FileFilter, ToleratesMissingTerminatorsAndDanglingDescriptions)
{
    const auto open = framework::ParseFileFilter("All|*.*", NoLeadBytes);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].pattern, "*.*");
    EXPECT_EQ(framework::ParseFileFilter("Media|*.mpg;*.mpeg|Lonely|", NoLeadBytes).size(), 1u);
    EXPECT_TRUE(framework::ParseFileFilter("", NoLeadBytes).empty());
    EXPECT_TRUE(framework::ParseFileFilter("||", NoLeadBytes).empty());
    EXPECT_TRUE(framework::ParseFileFilter("OnlyDescription", NoLeadBytes).empty());
}

TEST(FileFilter, ABarAfterALeadByteBelongsToTheCharacter)
{
    // 0x81 0x7C is one double-byte character whose second byte is the code of "|".
    const std::string text = std::string("Kanji \x81|") + "|*.k||";
    auto lead = [](unsigned char c) { return c == 0x81; };
    const auto filters = framework::ParseFileFilter(text, lead);
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].description, std::string("Kanji \x81|"));
    EXPECT_EQ(filters[0].pattern, "*.k");
    // Without the lead-byte rule the same text splits at that byte.
    EXPECT_NE(framework::ParseFileFilter(text, NoLeadBytes), filters);
}

TEST(FileFilter, ListForTheDialogIsZeroSeparatedAndDoubleZeroTerminated)
{
    const std::string list = framework::FilterListForDialog({{"A", "*.a"}, {"B", "*.b"}});
    const char expected[] = "A\0*.a\0B\0*.b\0";  // the literal's own zero is the last one
    EXPECT_EQ(list, std::string(expected, sizeof(expected)));
    EXPECT_EQ(framework::FilterListForDialog({}), std::string("\0\0", 2));
}

TEST(ProfilePath, JoinsKeyProfileAndSection)
{
    EXPECT_EQ(framework::ProfileSectionPath("Halvark", "Marovin", "Capture"), "Software\\Halvark\\Marovin\\Capture");
    EXPECT_EQ(framework::ProfileSectionPath("Halvark", "", "Capture"), "Software\\Halvark\\Capture");
    EXPECT_EQ(framework::ProfileSectionPath("Halvark", "Marovin", ""), "Software\\Halvark\\Marovin");
    EXPECT_EQ(framework::ProfileSectionPath("", "Marovin", "Capture"), "");
}

TEST(ProfileValues, IntegersNeedADwordOfFourBytes)
{
    const DWORD seven = 7, minusOne = 0xFFFFFFFF;
    EXPECT_EQ(framework::IntFromRegistryValue(REG_DWORD, reinterpret_cast<const BYTE*>(&seven), 4), 7);
    EXPECT_EQ(framework::IntFromRegistryValue(REG_DWORD, reinterpret_cast<const BYTE*>(&minusOne), 4), -1);
    EXPECT_FALSE(framework::IntFromRegistryValue(REG_SZ, reinterpret_cast<const BYTE*>("7"), 2));
    EXPECT_FALSE(framework::IntFromRegistryValue(REG_DWORD, reinterpret_cast<const BYTE*>(&seven), 2));
    EXPECT_FALSE(framework::IntFromRegistryValue(REG_BINARY, reinterpret_cast<const BYTE*>(&seven), 4));
}

TEST(ProfileValues, StringsNeedRegSzAndMayLackTheirZero)
{
    const char text[] = {'a', 'b', 'c'};
    EXPECT_EQ(framework::StringFromRegistryValue(REG_SZ, reinterpret_cast<const BYTE*>(text), 3), "abc");
    EXPECT_EQ(framework::StringFromRegistryValue(REG_SZ, reinterpret_cast<const BYTE*>("ab\0cd"), 6), "ab");
    EXPECT_EQ(framework::StringFromRegistryValue(REG_SZ, nullptr, 0), "");
    const DWORD number = 5;
    EXPECT_FALSE(framework::StringFromRegistryValue(REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4));
    EXPECT_FALSE(framework::StringFromRegistryValue(REG_EXPAND_SZ, reinterpret_cast<const BYTE*>("x"), 2));
}

TEST(DecimalInt, AcceptsWholeNumbersOnly)
{
    int value = 0;
    EXPECT_TRUE(framework::ParseDecimalInt(" -42 ", &value));
    EXPECT_EQ(value, -42);
    EXPECT_TRUE(framework::ParseDecimalInt("+7", &value));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(framework::ParseDecimalInt("-2147483648", &value));
    EXPECT_EQ(value, INT_MIN);
    value = 99;
    EXPECT_FALSE(framework::ParseDecimalInt("2147483648", &value));
    EXPECT_FALSE(framework::ParseDecimalInt("12x", &value));
    EXPECT_FALSE(framework::ParseDecimalInt("", &value));
    EXPECT_FALSE(framework::ParseDecimalInt("-", &value));
    EXPECT_FALSE(framework::ParseDecimalInt("1 2", &value));
    EXPECT_FALSE(framework::ParseDecimalInt("99999999999999999999", &value));
    EXPECT_EQ(value, 99);
}

TEST(Geometry, RectanglesAndPoints)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 20)));  // right edge excluded
    r.OffsetRect(-10, -20);
    EXPECT_EQ(r, CRect(0, 0, 100, 50));
    EXPECT_EQ(CPoint(MAKELPARAM(static_cast<WORD>(-5), 7)), CPoint(-5, 7));  // multi-monitor coordinates
}
