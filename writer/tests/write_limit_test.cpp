#include "WriteLimit.h"
#include "WriterEvents.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

using namespace scrivet;

namespace {

constexpr uint64_t MiB = 1024 * 1024;
constexpr uint64_t GiB = 1024 * MiB;

// Answers from tables, recording what it was asked. Relative names are taken against
// C:\cwd\; volume roots come from `mounts` (the longest that starts the path).
class FakeVolume final : public VolumeFacts {
public:
    bool freeOk = true;
    uint64_t freeBytes = 0;
    std::vector<std::wstring> mounts{L"C:\\", L"D:\\", L"E:\\", L"F:\\"};
    std::map<std::wstring, std::wstring> fileSystems;
    std::map<std::wstring, DWORD> sectors;
    std::wstring askedDirectory;
    std::wstring askedRoot = L"(none)";

    bool FullPath(const std::wstring& name, std::wstring* full) override
    {
        const bool absolute = (name.size() > 1 && name[1] == L':') || name.rfind(L"\\\\", 0) == 0;
        *full = absolute ? name : L"C:\\cwd\\" + name;
        return true;
    }
    bool VolumeRoot(const std::wstring& fullPath, std::wstring* root) override
    {
        root->clear();
        for (const std::wstring& mount : mounts)
            if (fullPath.rfind(mount, 0) == 0 && mount.size() > root->size())
                *root = mount;
        return !root->empty();
    }
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
        auto it = sectors.find(root);
        if (it == sectors.end())
            return false;
        *bytes = it->second;
        return true;
    }
};

std::optional<WriteLimit> LimitForFile(const std::wstring& name, int64_t callerLimit, FakeVolume& volume)
{
    return LimitForVolume(DescribeVolume(name, volume), callerLimit, volume);
}

}  // namespace

TEST(WriteLimit, FreeSpaceLessReserveBindsOnNtfs)
{
    const WriteLimit limit = ComputeWriteLimit(10 * GiB, false, kNoSizeLimit);
    EXPECT_EQ(limit.bytes, static_cast<int64_t>(10 * GiB - 2 * MiB));
    EXPECT_EQ(limit.reason, LimitReason::FreeSpace);
    EXPECT_EQ(LimitEvent(limit.reason), EC_WRITER_DISK_FULL);
}

TEST(WriteLimit, LessFreeThanTheReserveAllowsNothing)
{
    EXPECT_EQ(ComputeWriteLimit(MiB, false, kNoSizeLimit).bytes, 0);
    EXPECT_EQ(ComputeWriteLimit(2 * MiB, true, kNoSizeLimit).bytes, 0);
    EXPECT_EQ(ComputeWriteLimit(2 * MiB, true, kNoSizeLimit).reason, LimitReason::FreeSpace);
}

TEST(WriteLimit, CeilingBindsOnlyWhenFreeSpaceReachesIt)
{
    WriteLimit limit = ComputeWriteLimit(10 * GiB, true, kNoSizeLimit);
    EXPECT_EQ(limit.bytes, 0xFFFFFFFFll);
    EXPECT_EQ(LimitEvent(limit.reason), EC_WRITER_FAT_LIMIT);

    limit = ComputeWriteLimit(3 * GiB, true, kNoSizeLimit);
    EXPECT_EQ(limit.bytes, static_cast<int64_t>(3 * GiB - 2 * MiB));
    EXPECT_EQ(limit.reason, LimitReason::FreeSpace);
}

TEST(WriteLimit, ReasonIsTheLimitThatBinds)
{
    // The caller's limit is smaller: a normal stop at the size asked for.
    WriteLimit limit = ComputeWriteLimit(10 * GiB, false, 100000000);
    EXPECT_EQ(limit.bytes, 100000000);
    EXPECT_EQ(LimitEvent(limit.reason), EC_WRITER_SIZE_LIMIT);

    // Free space is smaller than the caller's limit: the user must hear the disk is full.
    limit = ComputeWriteLimit(50 * MiB, false, 100000000);
    EXPECT_EQ(limit.bytes, static_cast<int64_t>(48 * MiB));
    EXPECT_EQ(LimitEvent(limit.reason), EC_WRITER_DISK_FULL);

    // A caller limit above the ceiling leaves the ceiling binding on FAT.
    limit = ComputeWriteLimit(10 * GiB, true, 6 * static_cast<int64_t>(GiB));
    EXPECT_EQ(limit.bytes, 0xFFFFFFFFll);
    EXPECT_EQ(LimitEvent(limit.reason), EC_WRITER_FAT_LIMIT);

    limit = ComputeWriteLimit(10 * GiB, true, 0xFFFFFFFFll);
    EXPECT_EQ(LimitEvent(limit.reason), EC_WRITER_SIZE_LIMIT);
    limit = ComputeWriteLimit(10 * GiB, true, 0);
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

    // The FAT names are known in any case.
    volume.fileSystems[L"E:\\"] = L"fat32";
    EXPECT_EQ(LimitForFile(L"E:\\a.mpg", kNoSizeLimit, volume)->reason, LimitReason::FatCeiling);
}

TEST(WriteLimit, ShareRootsAreAskedAndUnknownVolumesKeepTheCeiling)
{
    FakeVolume volume;
    volume.freeBytes = 20 * GiB;
    volume.mounts.clear();  // the system cannot say: the spelling of the name is the fallback
    volume.fileSystems[L"\\\\nas\\video\\"] = L"NTFS";
    auto limit = LimitForFile(L"\\\\nas\\video\\rec\\clip1.mpg", kNoSizeLimit, volume);
    ASSERT_TRUE(limit);
    EXPECT_EQ(volume.askedRoot, L"\\\\nas\\video\\");
    EXPECT_EQ(limit->reason, LimitReason::FreeSpace);

    // A volume whose file system cannot be read is treated like FAT.
    limit = LimitForFile(L"F:\\clip1.mpg", kNoSizeLimit, volume);
    EXPECT_EQ(limit->reason, LimitReason::FatCeiling);
}

TEST(WriteLimit, RelativeNamesAreTakenAgainstTheCurrentFolder)
{
    FakeVolume volume;
    volume.freeBytes = 20 * GiB;
    volume.fileSystems[L"C:\\"] = L"NTFS";
    auto limit = LimitForFile(L"clip1.mpg", kNoSizeLimit, volume);
    ASSERT_TRUE(limit);
    EXPECT_EQ(volume.askedDirectory, L"C:\\cwd\\");
    EXPECT_EQ(volume.askedRoot, L"C:\\");
    EXPECT_EQ(limit->reason, LimitReason::FreeSpace);
}

TEST(WriteLimit, OnlyTheFatFamilyAndUnreadableNamesKeepTheCeiling)
{
    const struct {
        std::optional<std::wstring> fileSystem;
        bool ceiling;
    } cases[] = {
        {L"NTFS", false}, {L"exFAT", false}, {L"ReFS", false}, {L"UDF", false}, {L"CDFS", false},
        {L"FAT32", true}, {L"FAT", true},    {L"FAT16", true}, {L"FAT12", true}, {L"fat32", true},
        {L"", true},      {std::nullopt, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HasFatCeiling(c.fileSystem), c.ceiling) << (c.fileSystem ? std::string(c.fileSystem->begin(), c.fileSystem->end()) : "unreadable");
        FakeVolume volume;
        volume.freeBytes = 20 * GiB;
        if (c.fileSystem)
            volume.fileSystems[L"E:\\"] = *c.fileSystem;
        const auto limit = LimitForFile(L"E:\\rec\\big.mpg", kNoSizeLimit, volume);
        ASSERT_TRUE(limit);
        EXPECT_EQ(limit->bytes, c.ceiling ? 0xFFFFFFFFll : static_cast<int64_t>(20 * GiB - 2 * MiB));
        EXPECT_EQ(limit->reason, c.ceiling ? LimitReason::FatCeiling : LimitReason::FreeSpace);
    }
}

TEST(WriteLimit, TheVolumeIsFoundThroughItsRealRoot)
{
    // D:\video is another volume mounted on a folder: its own sector size and file system
    // count, not those of D:\.
    FakeVolume volume;
    volume.freeBytes = 20 * GiB;
    volume.mounts.push_back(L"D:\\video\\");
    volume.sectors[L"D:\\"] = 512;
    volume.fileSystems[L"D:\\"] = L"NTFS";
    volume.sectors[L"D:\\video\\"] = 4096;
    volume.fileSystems[L"D:\\video\\"] = L"FAT32";
    VolumeInfo info = DescribeVolume(L"D:\\video\\rec\\clip1.mpg", volume);
    EXPECT_EQ(info.root, L"D:\\video\\");
    EXPECT_EQ(info.directory, L"D:\\video\\rec\\");
    EXPECT_EQ(info.sectorSize, 4096u);
    EXPECT_TRUE(info.fatCeiling);
    info = DescribeVolume(L"D:\\other\\clip1.mpg", volume);
    EXPECT_EQ(info.root, L"D:\\");
    EXPECT_EQ(info.sectorSize, 512u);
    EXPECT_FALSE(info.fatCeiling);
}

TEST(WriteLimit, FailedFreeSpaceQueryGivesNoLimit)
{
    FakeVolume volume;
    volume.freeOk = false;
    EXPECT_FALSE(LimitForFile(L"C:\\clip1.mpg", 1000, volume));
}

TEST(WriteLimit, SectorSizeOfTheVolumeOrTheDefault)
{
    FakeVolume volume;
    volume.sectors[L"D:\\"] = 4096;
    EXPECT_EQ(DescribeVolume(L"D:\\rec\\a.mpg", volume).sectorSize, 4096u);
    volume.sectors[L"D:\\"] = 0;
    EXPECT_EQ(DescribeVolume(L"D:\\rec\\a.mpg", volume).sectorSize, 512u);
    volume.sectors.clear();
    EXPECT_EQ(DescribeVolume(L"D:\\rec\\a.mpg", volume).sectorSize, 512u);
    volume.mounts.clear();
    EXPECT_EQ(DescribeVolume(L"", volume).sectorSize, 512u);

    const struct {
        std::optional<DWORD> reported;
        DWORD used;
    } cases[] = {{512, 512}, {4096, 4096}, {2048, 2048}, {65536, 65536}, {0, 512}, {520, 512},
                 {256, 512}, {131072, 512}, {std::nullopt, 512}};
    for (const auto& c : cases)
        EXPECT_EQ(UsableSectorSize(c.reported), c.used) << (c.reported ? *c.reported : 0);
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
    std::wstring root;
    EXPECT_TRUE(volume.VolumeRoot(L"C:\\windows\\x.mpg", &root));
    EXPECT_EQ(root, L"C:\\");
    DWORD sector = 0;
    EXPECT_TRUE(volume.BytesPerSector(root, &sector));
    EXPECT_GE(sector, 512u);
}
