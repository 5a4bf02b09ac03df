#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

#include "Countries.h"
#include "VideoStandards.h"

using namespace tuner;

TEST(VideoStandardTable, TwentyRowsInAscendingValueOrderWithoutPalG)
{
    const auto rows = VideoStandards();
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_STREQ(rows.front().name, "None");
    EXPECT_EQ(rows.front().value, 0u);
    EXPECT_STREQ(rows.back().name, "PAL N COMBO");
    EXPECT_EQ(rows.back().value, 0x00100000u);
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_LT(rows[i - 1].value, rows[i].value) << rows[i].name;
    EXPECT_STREQ(VideoStandardName(0x00000020), "PAL D");
    EXPECT_STREQ(VideoStandardName(0x00020000), "SECAM K1");
    EXPECT_EQ(VideoStandardName(0x00000040), nullptr);  // PAL G has no row
}

TEST(VideoStandardTable, LowestSupportedStandardIsTheLowestSetBit)
{
    EXPECT_EQ(LowestSupportedStandard(0x00001030), 0x00000010u);
    EXPECT_EQ(LowestSupportedStandard(0x80000000), 0x80000000u);
    EXPECT_FALSE(LowestSupportedStandard(0).has_value());
}

TEST(CountryTable, RowCountEndsAndSpreadOfRows)
{
    const auto rows = Countries();
    ASSERT_EQ(rows.size(), 242u);
    struct Row {
        std::size_t index;
        int code;
        const char* name;
        std::uint32_t standard;
        std::uint32_t language;
    };
    const Row spread[] = {
        {0, 93, "Afghanistan", 0x10, 0},
        {30, 55, "Brazil", 0x200, 0x0416},
        {38, 1, "Canada", 0x1, 0},
        {39, 2, "Canada", 0x1, 0},
        {74, 33, "France", 0x40000, 0x040C},
        {112, 81, "Japan", 0x2, 0x0411},
        {118, 82, "Korea (South)", 0x1, 0x0412},
        {145, 377, "Monaco", 0x4000, 0},
        {154, 599, "Netherlands Antilles", 0x1, 0},
        {155, 31, "Netherlands", 0x10, 0x0413},
        {181, 7, "Russia", 0x2000, 0x0419},
        {226, 44, "United Kingdom", 0x100, 0x0809},
        {229, 1, "USA", 0x1, 0x0409},
        {231, 678, "Vanuatu", 0x0, 0},
        {241, 263, "Zimbabwe", 0x10, 0},
    };
    for (const Row& expected : spread) {
        const CountryRow& row = rows[expected.index];
        EXPECT_STREQ(row.name, expected.name) << expected.index;
        EXPECT_EQ(row.code, expected.code) << expected.name;
        EXPECT_EQ(row.standard, expected.standard) << expected.name;
        EXPECT_EQ(row.languageId, expected.language) << expected.name;
    }
}

TEST(CountryTable, RowsPerDefaultStandardAndEveryStandardHasAName)
{
    std::map<std::string, int> perStandard;
    for (const CountryRow& row : Countries()) {
        const char* name = VideoStandardName(row.standard);
        ASSERT_NE(name, nullptr) << row.name;
        ++perStandard[name];
    }
    const std::map<std::string, int> expected = {
        {"None", 26},   {"NTSC M", 58},  {"NTSC M J", 1}, {"PAL B", 82},   {"PAL D", 3},
        {"PAL I", 9},   {"PAL M", 1},    {"PAL N", 4},    {"SECAM B", 13}, {"SECAM D", 18},
        {"SECAM G", 1}, {"SECAM K", 25}, {"SECAM L", 1},
    };
    EXPECT_EQ(perStandard, expected);
}

TEST(CountryTable, NamesAreUniqueButCanadaAndOnlyCanadaUsesCodeTwo)
{
    std::set<std::string> names;
    int languageRows = 0;
    for (const CountryRow& row : Countries()) {
        if (std::strcmp(row.name, "Canada") != 0) {
            EXPECT_TRUE(names.insert(row.name).second) << row.name;
            EXPECT_NE(row.code, 2) << row.name;
        }
        languageRows += row.languageId != 0;
    }
    // Korea (North) gives up the Korean language id it shared with Korea (South).
    EXPECT_EQ(languageRows, 32);
    EXPECT_EQ(FindCountryByName("Egypt")->code, 20);
    EXPECT_EQ(FindCountryByName("South Africa")->code, 27);
}

TEST(CountryTable, LookupsTakeTheFirstExactMatch)
{
    EXPECT_EQ(FindCountryByName("Canada")->code, 1);
    EXPECT_EQ(FindCountryByName("usa"), nullptr);
    EXPECT_EQ(FindCountryByName("Atlantis"), nullptr);
    EXPECT_EQ(FindCountryByName(nullptr), nullptr);
    EXPECT_STREQ(FindCountryByLanguage(0x0412)->name, "Korea (South)");
    EXPECT_STREQ(FindCountryByLanguage(0x0C0A)->name, "Spain");
    EXPECT_EQ(FindCountryByLanguage(0x0C07), nullptr);  // German (Austria): no row
    EXPECT_EQ(FindCountryByLanguage(0), nullptr);

    const CountryRow shared[] = {
        {41, "Liechtenstein", 0x10, 0},
        {43, "Austria", 0x10, 0x0407},
        {49, "Germany", 0x10, 0x0407},
    };
    EXPECT_STREQ(FindCountryByLanguage(0x0407, shared)->name, "Austria");
}
