// The version text and the pure pieces of custom templates.
#include <gtest/gtest.h>

#include "CustomTemplate.h"
#include "VersionString.h"

namespace {

TEST(VersionString, MajorMinorAndBuildNumber)
{
    EXPECT_EQ(settings::FormatVersionString(settings::ProductVersion{2, 7}, "113"), "2.7.113");
    EXPECT_EQ(settings::FormatVersionString(settings::ProductVersion{1, 0}, ""), "1.0.");
}

TEST(VersionString, NoVersionBlockGivesPaddedPlaceholder)
{
    EXPECT_EQ(settings::FormatVersionString(std::nullopt, "99"), "X.XX000000");
}

TEST(VersionString, ReadsTheProductVersionOfASystemFile)
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_TRUE(settings::ReadProductVersion(std::string(system) + "\\kernel32.dll").has_value());
    EXPECT_FALSE(settings::ReadProductVersion("Z:\\no\\such\\file.exe").has_value());
}

TEST(CustomTemplateText, StreamFormatAndFamily)
{
    EXPECT_STREQ(settings::StreamFormatText(1), "MPEG1");
    EXPECT_STREQ(settings::StreamFormatText(3), "VCD");
    EXPECT_STREQ(settings::StreamFormatText(4), "SVCD");
    EXPECT_STREQ(settings::StreamFormatText(2), "MPEG2");
    EXPECT_STREQ(settings::StreamFormatText(17), "MPEG2");
    EXPECT_TRUE(settings::IsMpeg1Mode(3));
    EXPECT_FALSE(settings::IsMpeg1Mode(4));
}

TEST(CustomTemplateText, NameListRoundTrip)
{
    EXPECT_EQ(settings::SplitTemplateNames("a;bb;;c"),
              (std::vector<std::string>{"a", "bb", "c"}));
    EXPECT_EQ(settings::JoinTemplateNames({"a", "", "c"}), "a;c;");
    EXPECT_TRUE(settings::SplitTemplateNames("").empty());
}

}  // namespace
