#pragma once
// How many bytes a run may write, and which limit it is that binds: the free space less a
// reserve, the 4 GiB ceiling of volumes other than NTFS, or the caller's own limit.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace scrivet {

constexpr int64_t kNoSizeLimit = -1;
constexpr uint64_t kFreeSpaceReserve = 0x200000;
constexpr int64_t kFatCeiling = 0xFFFFFFFF;

enum class LimitReason { FreeSpace, FatCeiling, CallerLimit };

struct WriteLimit {
    int64_t bytes = 0;
    LimitReason reason = LimitReason::FreeSpace;
};

// The smallest of the three limits. On a tie the caller's limit wins over the others (the
// recording reached the size that was asked for) and the ceiling over free space.
WriteLimit ComputeWriteLimit(uint64_t freeBytes, bool ntfs, int64_t callerLimit);

// The graph event that reports a stop at this limit.
long LimitEvent(LimitReason reason);

// What the writer asks of the volume it writes to; tests put their own answers in.
class VolumeFacts {
public:
    virtual bool FreeBytesAvailable(const std::wstring& directory, uint64_t* bytes) = 0;
    virtual bool FileSystemName(const std::wstring& root, std::wstring* name) = 0;
    virtual bool BytesPerSector(const std::wstring& root, DWORD* bytes) = 0;

protected:
    ~VolumeFacts() = default;
};

class SystemVolumeFacts final : public VolumeFacts {
public:
    bool FreeBytesAvailable(const std::wstring& directory, uint64_t* bytes) override;
    bool FileSystemName(const std::wstring& root, std::wstring* name) override;
    bool BytesPerSector(const std::wstring& root, DWORD* bytes) override;
};

// Drive and directory of a file name, joined ("C:\rec\" for "C:\rec\a.mpg").
std::wstring DirectoryOf(const std::wstring& fileName);

// The volume root of a directory: "C:\" for a drive, "\\server\share\" for a share, empty
// when the directory names neither.
std::wstring VolumeRoot(const std::wstring& directory);

// The limit for a run writing `fileName`; nothing when the free space cannot be read.
std::optional<WriteLimit> LimitForFile(const std::wstring& fileName, int64_t callerLimit,
                                       VolumeFacts& volume);

// Bytes per sector of the drive named by the file name's first character; 512 when unknown.
DWORD SectorSizeForFile(const std::wstring& fileName, VolumeFacts& volume);

}  // namespace scrivet
