// Clip numbering, the trailing backslash of the folder and the one path limit.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>

#include "ClipName.h"
#include "TestSupport.h"

namespace {

using recording::NameChoice;

// A folder listing that answers from a table and remembers what it was asked for.
class TableListing final : public recording::FolderListing {
public:
    explicit TableListing(std::vector<std::string> names) : m_names(std::move(names)) {}
    std::vector<std::string> Names(const std::string& pattern) const override
    {
        m_patterns.push_back(pattern);
        return m_names;
    }
    mutable std::vector<std::string> m_patterns;

private:
    std::vector<std::string> m_names;
};

TEST(ClipName, NumberIsOneAboveTheHighestClip)
{
    struct Case {
        std::vector<std::string> names;
        std::string expected;
    } cases[] = {
        {{"clip3.mpg", "clip10.avi"}, "R:\\rec\\clip11.mpg"},
        {{}, "R:\\rec\\clip1.mpg"},
        {{"clipX.mpg"}, "R:\\rec\\clip1.mpg"},
        {{"clipX.mpg", "clip.mpg", "clip2"}, "R:\\rec\\clip3.mpg"},
        {{"CLIP7.MPG", "Clip5.mpg"}, "R:\\rec\\clip8.mpg"},
        {{"clip007.mpg"}, "R:\\rec\\clip8.mpg"},
        {{"clip12abc.txt", "clip9 (copy).mpg"}, "R:\\rec\\clip13.mpg"},
        {{"clip-4.mpg"}, "R:\\rec\\clip1.mpg"},
    };
    for (const Case& c : cases) {
        TableListing listing(c.names);
        const NameChoice choice = recording::NextClipName("R:\\rec", listing, {});
        EXPECT_EQ(choice.outcome, NameChoice::kNamed);
        EXPECT_EQ(choice.name, c.expected);
        ASSERT_EQ(listing.m_patterns.size(), 1u);
        EXPECT_EQ(listing.m_patterns[0], "R:\\rec\\clip*.*");
    }
}

TEST(ClipName, NumbersPastTheIntRangeAreRefused)
{
    EXPECT_EQ(recording::ClipNumberOf("clip2147483646.mpg"), 2147483646);
    EXPECT_EQ(recording::ClipNumberOf("clip99999999999999999999.mpg"), 2147483647);
    TableListing listing({"clip2147483647.mpg"});
    const NameChoice choice = recording::NextClipName("R:\\rec\\", listing, {});
    EXPECT_EQ(choice.outcome, NameChoice::kRefused);
    EXPECT_TRUE(choice.name.empty());
    EXPECT_FALSE(choice.reason.empty());
}

TEST(ClipName, TrailingBackslashIsTestedByCharacterNotByByte)
{
    // 0x95 0x5C is one Shift-JIS character whose second byte is the backslash's code.
    const std::string kanji = "\x95\x5C";
    const struct {
        std::string folder;
        std::string expected;
    } cases[] = {
        {"C:\\rec", "C:\\rec\\"},
        {"C:\\rec\\", "C:\\rec\\"},
        {"C:", "C:\\"},
        {"C:\\" + kanji, "C:\\" + kanji + "\\"},
        {"C:\\" + kanji + "\\", "C:\\" + kanji + "\\"},
        {kanji, kanji + "\\"},
        {"C:\\a" + kanji + kanji, "C:\\a" + kanji + kanji + "\\"},
        // A lone lead byte at the end is a character of its own.
        {"C:\\x\x81", "C:\\x\x81\\"},
        // 0x5C after a single-byte katakana (0xB6) is a real backslash.
        {"C:\\\xB6\\", "C:\\\xB6\\"},
        // A folder written with forward slashes already ends in a separator.
        {"Z:/rec/", "Z:/rec/"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(recording::WithTrailingBackslash(c.folder), c.expected) << c.folder;
}

TEST(ClipName, OnePathLimitForTheWholeChain)
{
    EXPECT_EQ(recording::kMaxRecordingPath, 259u);
    TableListing listing({});
    // "<folder>\clip1.mpg": the folder with its backslash may take 250 characters.
    const std::string fits = "R:\\" + std::string(246, 'f') + "\\";
    ASSERT_EQ(fits.size(), 250u);
    const NameChoice named = recording::NextClipName(fits, listing, {});
    EXPECT_EQ(named.outcome, NameChoice::kNamed);
    EXPECT_EQ(named.name.size(), 259u);

    const std::string tooLong = "R:\\" + std::string(247, 'f') + "\\";
    const NameChoice refused = recording::NextClipName(tooLong, listing, {});
    EXPECT_EQ(refused.outcome, NameChoice::kRefused);
    EXPECT_TRUE(refused.name.empty()) << "never cut to fit";
    EXPECT_NE(refused.reason.find("260"), std::string::npos) << refused.reason;
    EXPECT_NE(refused.reason.find("259"), std::string::npos) << refused.reason;

    // A clip number with more digits pushes a folder that fitted before over the limit.
    TableListing many({"clip99.mpg"});
    EXPECT_EQ(recording::NextClipName(fits, many, {}).outcome, NameChoice::kRefused);
}

TEST(ClipName, EmptyFolderIsAskedForAndStored)
{
    TableListing listing({"clip4.mpg"});
    std::vector<std::string> stored;
    int asked = 0;
    recording::ClipFolderHost host{[&]() -> std::optional<std::string> {
                                       ++asked;
                                       return std::string("D:\\new");
                                   },
                                   [&](const std::string& f) { stored.push_back(f); }};
    const NameChoice choice = recording::NextClipName("", listing, host);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(stored, std::vector<std::string>{"D:\\new"});
    EXPECT_EQ(choice.outcome, NameChoice::kNamed);
    EXPECT_EQ(choice.name, "D:\\new\\clip5.mpg");

    // Cancelling the browser names nothing and stores nothing.
    stored.clear();
    for (auto answer : {std::optional<std::string>{}, std::optional<std::string>{""}}) {
        recording::ClipFolderHost cancel{[&] { return answer; }, [&](const std::string& f) { stored.push_back(f); }};
        const NameChoice none = recording::NextClipName("", listing, cancel);
        EXPECT_EQ(none.outcome, NameChoice::kCancelled);
        EXPECT_TRUE(none.name.empty());
    }
    EXPECT_TRUE(stored.empty());
    // A host without a browser cannot name a clip without a folder.
    EXPECT_EQ(recording::NextClipName("", listing, {}).outcome, NameChoice::kCancelled);
}

TEST(ClipName, RealFolderListing)
{
    const std::string folder = testsupport::OutputDir() + "clips\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* name : {"clip3.mpg", "clip10.avi", "other.mpg", "clipX.mpg"}) {
        const HANDLE f = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE) << name;
        CloseHandle(f);
    }
    recording::SystemFolderListing listing;
    std::vector<std::string> names = listing.Names(folder + "clip*.*");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"clip10.avi", "clip3.mpg", "clipX.mpg"}));
    const std::string noSlash = folder.substr(0, folder.size() - 1);
    EXPECT_EQ(recording::NextClipName(noSlash, listing, {}).name, folder + "clip11.mpg");
    EXPECT_TRUE(listing.Names(folder + "missing\\clip*.*").empty());
}

}  // namespace
