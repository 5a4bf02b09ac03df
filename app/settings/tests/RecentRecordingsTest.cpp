// The recent-recordings list: adding, moving to the top, refusing long paths, removing
// deleted files, and its registry form.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "RecentRecordings.h"
#include "RegistryFixture.h"
#include "TestSupport.h"

namespace {

using settings::RecentEntry;
using settings::RecentRecordings;

RecentEntry Entry(const std::string& path, const std::string& format = "MPEG2")
{
    RecentEntry entry;
    entry.path = path;
    entry.streamFormat = format;
    entry.resolution = "720x480";
    entry.duration = "00:01:02";
    return entry;
}

TEST(RecentList, NewEntriesGoOnTopAndTheFifthFallsOff)
{
    RecentRecordings list;
    for (int i = 1; i <= 5; ++i)
        ASSERT_TRUE(list.Add(Entry("C:\\rec\\clip" + std::to_string(i) + ".mpg")));
    EXPECT_EQ(list.At(0).path, "C:\\rec\\clip5.mpg");
    EXPECT_EQ(list.At(3).path, "C:\\rec\\clip2.mpg");
}

TEST(RecentList, SameFileInAnyCaseMovesToTheTopWithNewDetails)
{
    RecentRecordings list;
    list.Add(Entry("C:\\rec\\a.mpg"));
    list.Add(Entry("C:\\rec\\b.mpg"));
    list.Add(Entry("C:\\rec\\c.mpg"));
    ASSERT_TRUE(list.Add(Entry("c:/REC/A.MPG", "VCD")));
    EXPECT_EQ(list.At(0).path, "c:\\REC\\A.MPG");
    EXPECT_EQ(list.At(0).streamFormat, "VCD");
    EXPECT_EQ(list.At(1).path, "C:\\rec\\c.mpg");
    EXPECT_EQ(list.At(2).path, "C:\\rec\\b.mpg");
    EXPECT_FALSE(list.HasEntry(3));
}

TEST(RecentList, RelativePathsBecomeAbsoluteAndLongPathsAreRefused)
{
    RecentRecordings list;
    ASSERT_TRUE(list.Add(Entry("clip1.mpg")));
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    std::string expected = current;
    if (expected.back() != '\\')
        expected += '\\';
    EXPECT_EQ(list.At(0).path, expected + "clip1.mpg");

    const std::string longPath = "C:\\" + std::string(253, 'x') + ".mpg";  // 260 characters
    ASSERT_EQ(longPath.size(), 260u);
    EXPECT_FALSE(list.Add(Entry(longPath)));
    EXPECT_TRUE(list.Add(Entry(longPath.substr(0, 255) + ".mpg")));  // 259 characters
    EXPECT_FALSE(list.Add(Entry("")));
    EXPECT_EQ(list.At(1).path, expected + "clip1.mpg");
}

TEST(RecentList, ThumbnailSitsBesideTheRecording)
{
    EXPECT_EQ(settings::ThumbnailPathFor("C:\\r\\clip3.mpg"), "C:\\r\\clip3.bmp");
    EXPECT_EQ(settings::ThumbnailPathFor("C:\\r\\Clip3.MPEG"), "C:\\r\\Clip3.bmp");
    EXPECT_EQ(settings::ThumbnailPathFor("C:\\r\\show.vob"), "C:\\r\\show.vob.bmp");
}

TEST(RecentList, ThumbnailPictureBesideTheRecordingMadeOrPlaceholder)
{
    std::set<std::string> files = {"C:\\r\\a.bmp"};
    std::vector<std::string> written;
    const auto canOpen = [&](const std::string& p) { return files.count(p) > 0; };
    auto write = [&](bool succeed, bool creates) {
        return [&, succeed, creates](const std::string& recording, const std::string& bitmap) {
            written.push_back(recording + ">" + bitmap);
            if (creates)
                files.insert(bitmap);
            return succeed;
        };
    };
    EXPECT_EQ(settings::ThumbnailPicture("C:\\r\\a.mpg", "P.bmp", canOpen, write(true, true)), "C:\\r\\a.bmp");
    EXPECT_TRUE(written.empty()) << "an existing picture is not made again";

    EXPECT_EQ(settings::ThumbnailPicture("C:\\r\\b.MPEG", "P.bmp", canOpen, write(true, true)), "C:\\r\\b.bmp");
    EXPECT_EQ(written, (std::vector<std::string>{"C:\\r\\b.MPEG>C:\\r\\b.bmp"}));

    EXPECT_EQ(settings::ThumbnailPicture("C:\\r\\c.mpg", "P.bmp", canOpen, write(false, false)), "P.bmp");
    EXPECT_EQ(settings::ThumbnailPicture("C:\\r\\d.mpg", "P.bmp", canOpen, write(true, false)), "P.bmp")
        << "a success that left no file does not count";
}

class RecentStoreTest : public settingstest::RegistryFixture {};

TEST_F(RecentStoreTest, WriteReplacesTheSectionAndReadRestoresIt)
{
    const auto store = Store();
    store.WriteString("Recent", "file4", "C:\\stale.mpg");
    store.WriteString("Recent", "file4dur", "00:00:01");

    RecentRecordings list;
    list.Add(Entry("C:\\rec\\one.mpg"));
    list.Add(Entry("C:\\rec\\two.mpg", "SVCD"));
    list.Write(store);
    EXPECT_FALSE(ValueType("Recent", "file4"));
    EXPECT_FALSE(ValueType("Recent", "file4dur"));
    EXPECT_FALSE(ValueType("Recent", "file3"));
    EXPECT_EQ(store.GetString("Recent", "file1sf", ""), "SVCD");
    EXPECT_EQ(store.GetString("Recent", "file2res", ""), "720x480");

    RecentRecordings read;
    read.Read(store);
    EXPECT_EQ(read.At(0).path, "C:\\rec\\two.mpg");
    EXPECT_EQ(read.At(1).duration, "00:01:02");
    EXPECT_FALSE(read.HasEntry(2));
}

TEST_F(RecentStoreTest, DeletedRecordingDisappearsFromTheListAndTheRegistry)
{
    const std::string folder = testsupport::OutputDir();
    const std::string kept = folder + "kept.mpg";
    const std::string gone = folder + "gone.mpg";
    for (const std::string& path : {kept, gone}) {
        FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fclose(file);
    }
    RecentRecordings list;
    list.Add(Entry(kept));
    list.Add(Entry(gone));
    list.Write(Store());
    ASSERT_TRUE(DeleteFileA(gone.c_str()));

    RecentRecordings read;
    read.Read(Store());
    const auto exists = [](const std::string& path) {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    ASSERT_TRUE(read.RemoveMissing(exists));
    read.Write(Store());
    EXPECT_TRUE(settings::SamePath(read.At(0).path, kept));
    EXPECT_FALSE(read.HasEntry(1));
    EXPECT_FALSE(read.RemoveMissing(exists));

    RecentRecordings again;
    again.Read(Store());
    EXPECT_TRUE(settings::SamePath(again.At(0).path, kept));
    EXPECT_FALSE(ValueType("Recent", "file2"));
    DeleteFileA(kept.c_str());
}

}  // namespace
