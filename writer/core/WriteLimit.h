#pragma once
// How many bytes a run may write, and which limit it is that binds: the free space less a
// reserve, the 4 GiB ceiling of the FAT file systems, or the caller's own limit. The rules
// are plain functions of what the volume reports, so they are tested with made-up volumes.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace scrivet {

constexpr int64_t kNoSizeLimit = -1;
constexpr uint64_t kFreeSpaceReserve = 0x200000;
constexpr int64_t kFatCeiling = 0xFFFFFFFF;
constexpr DWORD kDefaultSectorSize = 512;

enum class LimitReason { FreeSpace, FatCeiling, CallerLimit };

struct WriteLimit {
    int64_t bytes = 0;
    LimitReason reason = LimitReason::FreeSpace;
};

// The smallest of the three limits. On a tie the caller's limit wins over the others (the
// recording reached the size that was asked for) and the ceiling over free space.
WriteLimit ComputeWriteLimit(uint64_t freeBytes, bool fatCeiling, int64_t callerLimit);

// The graph event that reports a stop at this limit.
long LimitEvent(LimitReason reason);

// Whether files on a volume with this file system stop at 4 GiB: the FAT family does, and so
// does a volume whose file system cannot be read; exFAT, NTFS, ReFS, UDF and the rest do not.
bool HasFatCeiling(const std::optional<std::wstring>& fileSystem);

// The sector size to write in: what the volume reports when it is a power of two of at least
// 512 bytes and at most 64 KiB (the ring's alignment), else 512.
DWORD UsableSectorSize(std::optional<DWORD> reported);

// What the writer asks of the volume it writes to; tests put their own answers in.
class VolumeFacts {
public:
    // The full path of a possibly relative name.
    virtual bool FullPath(const std::wstring& name, std::wstring* full) = 0;
    // The root of the volume that holds a full path: "C:\", "\\server\share\", or the folder
    // another volume is mounted on.
    virtual bool VolumeRoot(const std::wstring& fullPath, std::wstring* root) = 0;
    virtual bool FreeBytesAvailable(const std::wstring& directory, uint64_t* bytes) = 0;
    virtual bool FileSystemName(const std::wstring& root, std::wstring* name) = 0;
    virtual bool BytesPerSector(const std::wstring& root, DWORD* bytes) = 0;

protected:
    ~VolumeFacts() = default;
};

class SystemVolumeFacts final : public VolumeFacts {
public:
    bool FullPath(const std::wstring& name, std::wstring* full) override;
    bool VolumeRoot(const std::wstring& fullPath, std::wstring* root) override;
    bool FreeBytesAvailable(const std::wstring& directory, uint64_t* bytes) override;
    bool FileSystemName(const std::wstring& root, std::wstring* name) override;
    bool BytesPerSector(const std::wstring& root, DWORD* bytes) override;
};

// Drive and directory of a file name, joined ("C:\rec\" for "C:\rec\a.mpg").
std::wstring DirectoryOf(const std::wstring& fileName);

// The volume root as the name spells it: "C:\" for a drive, "\\server\share\" for a share,
// empty when the directory names neither. Used when the system cannot say.
std::wstring VolumeRoot(const std::wstring& directory);

// The volume a file is written to, as far as the writer cares.
struct VolumeInfo {
    std::wstring fullPath;
    std::wstring directory;  // of the full path
    std::wstring root;       // empty when unknown
    DWORD sectorSize = kDefaultSectorSize;
    bool fatCeiling = true;
};
VolumeInfo DescribeVolume(const std::wstring& fileName, VolumeFacts& volume);

// The limit for a run on that volume, from the free space it has now; nothing when the free
// space cannot be read.
std::optional<WriteLimit> LimitForVolume(const VolumeInfo& info, int64_t callerLimit,
                                         VolumeFacts& volume);

}  // namespace scrivet
