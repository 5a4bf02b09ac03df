// The default search order for skin and text files, over a fake file system.
#include <gtest/gtest.h>

#include <set>

#include "DefaultSkinSearch.h"

using namespace skelda;

namespace {

FileExists Files(std::set<std::string> present)
{
    return [present](const std::string& path) { return present.count(path) != 0; };
}

const std::string kExe = "C:\\Prog\\";

TEST(DefaultSkinSearch, TakesTheLanguageFilesFromSkinsSkinNextToTheProgram)
{
    auto found = RunDefaultSkinSearch({}, kExe, 1031,
                                      Files({"C:\\Prog\\Skins\\Skin\\Graphics1031.xml", "C:\\Prog\\Skins\\Skin\\Text1031.xml",
                                             "C:\\Prog\\Skins\\Skin\\Graphics1033.xml"}));
    EXPECT_EQ(found.parentFolder, "C:\\Prog\\Skins\\Skin");
    EXPECT_EQ(found.graphicsFile, "C:\\Prog\\Skins\\Skin\\Graphics1031.xml");
    EXPECT_EQ(found.textFile, "C:\\Prog\\Skins\\Skin\\Text1031.xml");
}

TEST(DefaultSkinSearch, FallsBackToEnglishFilesForAnotherLanguage)
{
    auto found = RunDefaultSkinSearch(
        {}, kExe, 1031, Files({"C:\\Prog\\Skins\\Skin\\Graphics1033.xml", "C:\\Prog\\Skins\\Skin\\Text1033.xml"}));
    EXPECT_EQ(found.graphicsFile, "C:\\Prog\\Skins\\Skin\\Graphics1033.xml");
    EXPECT_EQ(found.textFile, "C:\\Prog\\Skins\\Skin\\Text1033.xml");
}

TEST(DefaultSkinSearch, ALibraryNextToTheFolderServesGraphicsAndTextEvenOverAClientTextValue)
{
    ClientSkinValues client;
    client.textFile = "D:\\Other\\Text.xml";
    auto found = RunDefaultSkinSearch(client, kExe, 1031, Files({"C:\\Prog\\Skins\\Skin.dll"}));
    EXPECT_EQ(found.graphicsFile, "C:\\Prog\\Skins\\Skin.dll");
    EXPECT_EQ(found.textFile, "C:\\Prog\\Skins\\Skin.dll");
}

TEST(DefaultSkinSearch, ClientValuesOverrideFolderAndNames)
{
    ClientSkinValues client;
    client.parentFolder = "D:\\MySkin\\";
    auto found = RunDefaultSkinSearch(client, kExe, 1033,
                                      Files({"D:\\MySkin\\Graphics1033.xml", "C:\\Prog\\Skins\\Skin\\Text1033.xml"}));
    EXPECT_EQ(found.parentFolder, "D:\\MySkin\\");
    EXPECT_EQ(found.graphicsFile, "D:\\MySkin\\Graphics1033.xml");
    EXPECT_EQ(found.textFile, "") << "the text is searched in the client's folder only";

    client.graphicsFile = "D:\\G.xml";
    client.textFile = "D:\\T.xml";
    found = RunDefaultSkinSearch(client, kExe, 1033, Files({}));
    EXPECT_EQ(found.graphicsFile, "D:\\G.xml");
    EXPECT_EQ(found.textFile, "D:\\T.xml");
}

TEST(DefaultSkinSearch, AClientFolderWithATrailingBackslashStillFindsItsLibrary)
{
    std::string found;
    EXPECT_EQ(SearchSkinFile("D:\\Skins\\Blue\\", "Graphics", 1033, Files({"D:\\Skins\\Blue.dll"}), &found),
              SkinFileKind::Library);
    EXPECT_EQ(found, "D:\\Skins\\Blue.dll");
}

TEST(DefaultSkinSearch, NothingFoundLeavesTheDefaultsEmpty)
{
    auto found = RunDefaultSkinSearch({}, kExe, 1033, Files({}));
    EXPECT_EQ(found.graphicsFile, "");
    EXPECT_EQ(found.textFile, "");
    std::string result = "unchanged";
    EXPECT_EQ(SearchSkinFile("", "Text", 1033, Files({".dll"}), &result), SkinFileKind::None)
        << "an empty folder has no library next to it";
}

TEST(DefaultSkinSearch, ClientKeyPrefixes)
{
    HKEY root = nullptr;
    std::string sub;
    ASSERT_TRUE(SplitClientRegistryKey("HKEY_LOCAL_MACHINE\\Software\\A", &root, &sub));
    EXPECT_EQ(root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(sub, "Software\\A");
    ASSERT_TRUE(SplitClientRegistryKey("HKEY_CURRENT_USER\\Software\\B", &root, &sub));
    EXPECT_EQ(root, HKEY_CURRENT_USER);
    EXPECT_EQ(sub, "Software\\B");
    EXPECT_FALSE(SplitClientRegistryKey("Software\\B", &root, &sub));
    EXPECT_FALSE(SplitClientRegistryKey("HKCU\\Software\\B", &root, &sub));
    EXPECT_FALSE(SplitClientRegistryKey("HKEY_CURRENT_USER", &root, &sub)) << "the prefix includes the backslash";
    EXPECT_FALSE(SplitClientRegistryKey("hkey_current_user\\Software", &root, &sub));
}

}  // namespace
