// The parent folder rules: typed folders, and which stored bitmap paths a new folder would lose.
#include <gtest/gtest.h>

#include <set>

#include "ParentFolderRules.h"

using namespace skelda::editing;

TEST(ParentFolderRules, TypedFoldersAreTrimmedAndEndInOneBackslash)
{
    const struct {
        const char* typed;
        const char* folder;
    } cases[] = {
        {"C:\\Skins\\Skin", "C:\\Skins\\Skin\\"},   {"  C:\\Skins\\Skin\\  ", "C:\\Skins\\Skin\\"},
        {"C:/Skins/Skin//", "C:\\Skins\\Skin\\"},   {"\tD:\\", "D:\\"},
        {"", ""},                                   {"   ", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormaliseParentFolder(c.typed), c.folder) << "'" << c.typed << "'";
}

TEST(ParentFolderRules, OnlyPathsFoundTodayAndNotFromTheNewFolderAreLost)
{
    const std::set<std::string> files{"C:\\Old\\bg.bmp", "C:\\Old\\b\\up.bmp", "C:\\Old\\gone.bmp",
                                      "D:\\New\\bg.bmp", "D:\\New\\broken.bmp", "D:\\Other\\x.bmp"};
    const FileExists exists = [&](const std::string& path) { return files.count(path) != 0; };
    const std::vector<std::string> stored{
        "bg.bmp",             // in both folders
        "b\\up.bmp",          // only in the old one: lost
        "broken.bmp",         // in neither today: not the new folder's fault
        "gone.bmp",           // only in the old one: lost
        "C:\\Old\\bg.bmp",    // absolute under the old folder: does not resolve from the new one
        "D:\\Other\\x.bmp",   // absolute outside both: broken today already
    };
    EXPECT_EQ(PathsLostInNewFolder(stored, "C:\\Old\\", "D:\\New\\", exists),
              (std::vector<std::string>{"b\\up.bmp", "gone.bmp", "C:\\Old\\bg.bmp"}));
    EXPECT_TRUE(PathsLostInNewFolder(stored, "C:\\Old\\", "C:\\Old\\", exists).empty());

    const std::string message = LostPathsMessage("D:\\New\\", {"a.bmp", "b.bmp", "c.bmp"}, 2);
    EXPECT_NE(message.find("D:\\New\\"), std::string::npos);
    EXPECT_NE(message.find("a.bmp"), std::string::npos);
    EXPECT_EQ(message.find("c.bmp"), std::string::npos);
    EXPECT_NE(message.find("and 1 more"), std::string::npos);
}
