// Where the text comes from: the path choice and the resource fallbacks.
#include <gtest/gtest.h>

#include <vector>

#include "TextSourceRules.h"

using namespace lorvane;

namespace {

auto Answer(bool ok, std::string path, int* asked)
{
    return [ok, path, asked](std::string* edited) {
        ++*asked;
        if (ok)
            *edited = path;
        return ok;
    };
}

TEST(TextFilePath, StoredPathUnlessTheDefaultIsUsed)
{
    int asked = 0;
    EXPECT_EQ(ChooseTextFilePath("stored.xml", "given.xml", false, false, Answer(true, "x", &asked)), "stored.xml");
    EXPECT_EQ(ChooseTextFilePath("stored.xml", "given.xml", false, true, Answer(true, "x", &asked)), "given.xml");
    EXPECT_EQ(ChooseTextFilePath("stored.xml", "", false, true, Answer(true, "x", &asked)), "stored.xml");
    EXPECT_EQ(asked, 0);
}

TEST(TextFilePath, PromptAnswerIsTakenButTheGivenPathWinsWithUseDefault)
{
    int asked = 0;
    EXPECT_EQ(ChooseTextFilePath("stored.xml", "given.xml", true, false, Answer(true, "typed.xml", &asked)),
              "typed.xml");
    EXPECT_EQ(ChooseTextFilePath("stored.xml", "given.xml", true, true, Answer(true, "typed.xml", &asked)),
              "given.xml");
    EXPECT_EQ(ChooseTextFilePath("stored.xml", "", true, true, Answer(true, "typed.xml", &asked)), "typed.xml");
    EXPECT_EQ(ChooseTextFilePath("stored.xml", "given.xml", true, false, Answer(false, "typed.xml", &asked)),
              "stored.xml")
        << "Cancel keeps the stored path";
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(ChooseTextFilePath("", "", true, false, Answer(false, "", &asked)), "");
}

TEST(TextFilePath, ResourceLibraryExtension)
{
    EXPECT_TRUE(IsResourceLibraryPath("C:\\Skins\\Skin.dll"));
    EXPECT_TRUE(IsResourceLibraryPath("C:\\Skins\\Skin.DlL"));
    EXPECT_FALSE(IsResourceLibraryPath("C:\\Skins\\Skin.dll.xml"));
    EXPECT_FALSE(IsResourceLibraryPath("C:\\Skins.dll\\Text"));
    EXPECT_FALSE(IsResourceLibraryPath("dll"));
}

// A library whose resources load as told; records the ids tried.
struct FakeLibrary {
    std::vector<DWORD> present, broken;
    std::vector<DWORD> tried;
    ResourceOutcome operator()(DWORD id)
    {
        tried.push_back(id);
        for (DWORD b : broken)
            if (b == id)
                return ResourceOutcome::Failed;
        for (DWORD p : present)
            if (p == id)
                return ResourceOutcome::Loaded;
        return ResourceOutcome::Missing;
    }
};

TEST(TextResourceSearch, TheLanguageItselfIsNoAlternate)
{
    FakeLibrary library{{1031, 1033}, {}, {}};
    auto result = SearchTextResource(1031, false, std::ref(library));
    EXPECT_TRUE(result.loaded);
    EXPECT_FALSE(result.alternate);
    EXPECT_EQ(result.id, 1031u);
}

TEST(TextResourceSearch, OnNtAMissingOrBrokenLanguageFallsBackTo1033Once)
{
    FakeLibrary missing{{1033}, {}, {}};
    auto result = SearchTextResource(1031, false, std::ref(missing));
    EXPECT_TRUE(result.loaded);
    EXPECT_TRUE(result.alternate);
    EXPECT_EQ(result.id, 1033u);

    FakeLibrary broken{{1033}, {1031}, {}};
    result = SearchTextResource(1031, false, std::ref(broken));
    EXPECT_TRUE(result.loaded);
    EXPECT_EQ(broken.tried, (std::vector<DWORD>{1031, 1033}));

    FakeLibrary none{{}, {}, {}};
    result = SearchTextResource(1033, false, std::ref(none));
    EXPECT_FALSE(result.loaded);
    EXPECT_EQ(none.tried, (std::vector<DWORD>{1033})) << "1033 is not tried twice";
}

TEST(TextResourceSearch, OnWindows98ABrokenResourceTriesTimesTenThen10330)
{
    FakeLibrary library{{10330}, {1031}, {}};
    auto result = SearchTextResource(1031, true, std::ref(library));
    EXPECT_TRUE(result.loaded);
    EXPECT_TRUE(result.alternate);
    EXPECT_EQ(result.id, 10330u);
    EXPECT_EQ(library.tried, (std::vector<DWORD>{1031, 10310, 10330}));

    FakeLibrary missing{{1033}, {}, {}};
    result = SearchTextResource(1031, true, std::ref(missing));
    EXPECT_EQ(missing.tried, (std::vector<DWORD>{1031, 1033})) << "a missing resource falls back to 1033";
    EXPECT_EQ(result.id, 1033u);
}

TEST(TextResourceSearch, Windows98OrMeDetection)
{
    EXPECT_TRUE(IsWindows98OrMe(1, 10));
    EXPECT_TRUE(IsWindows98OrMe(1, 90));
    EXPECT_FALSE(IsWindows98OrMe(1, 0)) << "Windows 95";
    EXPECT_FALSE(IsWindows98OrMe(2, 1));
    EXPECT_FALSE(RunningOnWindows98OrMe());
}

}  // namespace
