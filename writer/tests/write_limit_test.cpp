#include "WriteLimit.h"
#include "WriterEvents.h"

#include <gtest/gtest.h>

#include <map>

using namespace scrivet;

namespace {

constexpr uint64_t MiB = 1024 * 1024;
constexpr uint64_t GiB = 1024 * MiB;

// Answers from a table, recording what it was asked.
class FakeVolume final : public VolumeFacts {
public:
    bool freeOk = true;
    uint64_t freeBytes = 0;
    std::map<std::wstring, std::wstring> fileSystems;
    std::wstring askedDirectory;
    std::wstring askedRoot = L"(none)";
    DWORD sector = 0;

    bool FreeBytesAvailable(const std::wstring& directory, uint64_t* bytes) override
    {
        askedDirectory = directory;
        *bytes = freeBytes;
        return freeOk;
    }
    bool FileSystemName(const std::wstring& root, std::wstring* name) override
    {
        askedRoot = root;
        auto it = fileSystems.find(root);
        if (it == fileSystems.end())
            return false;
        *name = it->second;
        return true;
    }
    bool BytesPerSector(const std::wstring& root, DWORD* bytes) override
    {
        askedRoot = root;
        *bytes = sector;
        return sector != 0;
    }
};

}  // namespace

TEST(WriteLimit, FreeSpaceLessReserveBindsOnNtfs)
{
    const WriteLimit limit = ComputeWriteLimit(10 * GiB, true, kNoSizeLimit);
    EXPECT_EQ(limit.bytes, static_cast<int64_t>(10 * GiB - 2 * MiB));
    EXPECT_EQ(limit.reason, LimitReason::FreeSpace);
    EXPECT_EQ(LimitEvent(limit.reason), EC_WRITER_DISK_FULL);
}

TEST(WriteLimit, LessFreeThanTheReserveAllowsNothing)
{
    EXPECT_EQ(ComputeWriteLimit(MiB, true, kNoSizeLimit).bytes, 0);
    EXPECT_EQ(ComputeWriteLimit(2 * MiB, false, kNoSizeLimit).bytes, 0);
    EXPECT_EQ(ComputeWriteLimit(2 * MiB, false, kNoSizeLimit).reason, LimitReason::FreeSpace);
}

TEST(WriteLimit, CeilingBindsOnlyWhenFreeSpaceReachesIt)
{
    WriteLimit limit = ComputeWriteLimit(10 * GiB, false, kNoSizeLimit);
    EXPECT_EQ(limit.bytes, 0xFFFFFFFFll);
    EXPECT_EQ(LimitEvent(limit.reason), EC_WRITER_FAT_LIMIT);

    limit = ComputeWriteLimit(3 * GiB, false, kNoSizeLimit);
    EXPECT_EQ(limit.bytes, static_cast<int64_t>(3 * GiB - 2 * MiB));
    EXPECT_EQ(limit.reason, LimitReason::FreeSpace);
}

TEST(WriteLimit, ReasonIsTheLimitThatBinds)
{
    // The caller's limit is smaller: a normal stop at the size asked for.
    WriteLimit limit = ComputeWriteLimit(10 * GiB, true, 100000000);
    EXPECT_EQ(limit.bytes, 100000000);
    EXPECT_EQ(LimitEvent(limit.reason), EC_WRITER_SIZE_LIMIT);

    // Free space is smaller than the caller's limit: the user must hear the disk is full.
    limit = ComputeWriteLimit(50 * MiB, true, 100000000);
    EXPECT_EQ(limit.bytes, static_cast<int64_t>(48 * MiB));
    EXPECT_EQ(LimitEvent(limit.reason), EC_WRITER_DISK_FULL);

    // A caller limit above the ceiling leaves the ceiling binding on FAT.
    limit = ComputeWriteLimit(10 * GiB, false, 6 * static_cast<int64_t>(GiB));
    EXPECT_EQ(limit.bytes, 0xFFFFFFFFll);
    EXPECT_EQ(LimitEvent(limit.reason), EC_WRITER_FAT_LIMIT);

    limit = ComputeWriteLimit(10 * GiB, false, 0xFFFFFFFFll);
    EXPECT_EQ(LimitEvent(limit.reason), EC_WRITER_SIZE_LIMIT);
    limit = ComputeWriteLimit(10 * GiB, false, 0);
    EXPECT_EQ(limit.bytes, 0);
    EXPECT_EQ(LimitEvent(limit.reason), EC_WRITER_SIZE_LIMIT);
}

TEST(WriteLimit, DirectoryAndRoot)
{
    EXPECT_EQ(DirectoryOf(L"C:\\rec\\sub\\clip1.mpg"), L"C:\\rec\\sub\\");
    EXPECT_EQ(DirectoryOf(L"\\\\server\\share\\rec\\clip1.mpg"), L"\\\\server\\share\\rec\\");
    EXPECT_EQ(DirectoryOf(L"clip1.mpg"), L"");

    EXPECT_EQ(VolumeRoot(L"C:\\rec\\sub\\"), L"C:\\");
    EXPECT_EQ(VolumeRoot(L"d:\\"), L"d:\\");
    EXPECT_EQ(VolumeRoot(L"\\\\server\\share\\rec\\"), L"\\\\server\\share\\");
    EXPECT_EQ(VolumeRoot(L"\\\\server\\share\\"), L"\\\\server\\share\\");
    EXPECT_EQ(VolumeRoot(L"\\\\server\\"), L"");
    EXPECT_EQ(VolumeRoot(L"\\rec\\"), L"");
    EXPECT_EQ(VolumeRoot(L""), L"");
}

TEST(WriteLimit, FatVolumeWithMuchFreeSpaceStopsAtTheCeiling)
{
    FakeVolume volume;
    volume.freeBytes = 20 * GiB;
    volume.fileSystems[L"E:\\"] = L"FAT32";
    auto limit = LimitForFile(L"E:\\rec\\clip3.mpg", kNoSizeLimit, volume);
    ASSERT_TRUE(limit);
    EXPECT_EQ(volume.askedDirectory, L"E:\\rec\\");
    EXPECT_EQ(volume.askedRoot, L"E:\\");
    EXPECT_EQ(limit->bytes, 0xFFFFFFFFll);
    EXPECT_EQ(limit->reason, LimitReason::FatCeiling);

    volume.fileSystems[L"E:\\"] = L"NTFS";
    limit = LimitForFile(L"E:\\rec\\clip3.mpg", kNoSizeLimit, volume);
    ASSERT_TRUE(limit);
    EXPECT_EQ(limit->bytes, static_cast<int64_t>(20 * GiB - 2 * MiB));
    EXPECT_EQ(limit->reason, LimitReason::FreeSpace);

    // Only the exact name counts as NTFS.
    volume.fileSystems[L"E:\\"] = L"ntfs";
    EXPECT_EQ(LimitForFile(L"E:\\a.mpg", kNoSizeLimit, volume)->reason, LimitReason::FatCeiling);
}

TEST(WriteLimit, ShareRootsAreAskedAndUnknownVolumesKeepTheCeiling)
{
    FakeVolume volume;
    volume.freeBytes = 20 * GiB;
    volume.fileSystems[L"\\\\nas\\video\\"] = L"NTFS";
    auto limit = LimitForFile(L"\\\\nas\\video\\rec\\clip1.mpg", kNoSizeLimit, volume);
    ASSERT_TRUE(limit);
    EXPECT_EQ(volume.askedRoot, L"\\\\nas\\video\\");
    EXPECT_EQ(limit->reason, LimitReason::FreeSpace);

    volume.askedRoot = L"(none)";
    limit = LimitForFile(L"clip1.mpg", kNoSizeLimit, volume);
    ASSERT_TRUE(limit);
    EXPECT_EQ(volume.askedRoot, L"(none)");
    EXPECT_EQ(limit->reason, LimitReason::FatCeiling);

    // A volume whose file system cannot be read is treated like FAT.
    limit = LimitForFile(L"F:\\clip1.mpg", kNoSizeLimit, volume);
    EXPECT_EQ(limit->reason, LimitReason::FatCeiling);
}

TEST(WriteLimit, FailedFreeSpaceQueryGivesNoLimit)
{
    FakeVolume volume;
    volume.freeOk = false;
    EXPECT_FALSE(LimitForFile(L"C:\\clip1.mpg", 1000, volume));
}

TEST(WriteLimit, SectorSizeFromTheFirstCharacter)
{
    FakeVolume volume;
    volume.sector = 4096;
    EXPECT_EQ(SectorSizeForFile(L"D:\\rec\\a.mpg", volume), 4096u);
    EXPECT_EQ(volume.askedRoot, L"D:\\");
    volume.sector = 0;
    EXPECT_EQ(SectorSizeForFile(L"D:\\rec\\a.mpg", volume), 512u);
    EXPECT_EQ(SectorSizeForFile(L"", volume), 512u);
}

TEST(WriteLimit, SystemVolumeAnswersForTheTestDrive)
{
    SystemVolumeFacts volume;
    uint64_t freeBytes = 0;
    EXPECT_TRUE(volume.FreeBytesAvailable(L"C:\\", &freeBytes));
    EXPECT_GT(freeBytes, 0u);
    EXPECT_FALSE(volume.FreeBytesAvailable(L"Q:\\no\\such\\folder\\", &freeBytes));
    std::wstring name;
    EXPECT_TRUE(volume.FileSystemName(L"C:\\", &name));
    EXPECT_FALSE(name.empty());
    EXPECT_GE(SectorSizeForFile(L"C:\\x.mpg", volume), 512u);
}
