#include "WriteLimit.h"

#include "WriterEvents.h"

#include <algorithm>
#include <cstdlib>

namespace scrivet {

WriteLimit ComputeWriteLimit(uint64_t freeBytes, bool ntfs, int64_t callerLimit)
{
    WriteLimit limit;
    const uint64_t usable = freeBytes > kFreeSpaceReserve ? freeBytes - kFreeSpaceReserve : 0;
    limit.bytes = static_cast<int64_t>(std::min<uint64_t>(usable, INT64_MAX));
    if (!ntfs && limit.bytes >= kFatCeiling) {
        limit.bytes = kFatCeiling;
        limit.reason = LimitReason::FatCeiling;
    }
    if (callerLimit != kNoSizeLimit && callerLimit >= 0 && callerLimit <= limit.bytes) {
        limit.bytes = callerLimit;
        limit.reason = LimitReason::CallerLimit;
    }
    return limit;
}

long LimitEvent(LimitReason reason)
{
    switch (reason) {
    case LimitReason::FatCeiling:
        return EC_WRITER_FAT_LIMIT;
    case LimitReason::CallerLimit:
        return EC_WRITER_SIZE_LIMIT;
    case LimitReason::FreeSpace:
        break;
    }
    return EC_WRITER_DISK_FULL;
}

bool SystemVolumeFacts::FreeBytesAvailable(const std::wstring& directory, uint64_t* bytes)
{
    ULARGE_INTEGER available{};
    // An empty directory means the current one, which the system takes as a null path.
    if (!GetDiskFreeSpaceExW(directory.empty() ? nullptr : directory.c_str(), &available, nullptr,
                             nullptr))
        return false;
    *bytes = available.QuadPart;
    return true;
}

bool SystemVolumeFacts::FileSystemName(const std::wstring& root, std::wstring* name)
{
    wchar_t buffer[257] = {};
    if (!GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, buffer, 257))
        return false;
    *name = buffer;
    return true;
}

bool SystemVolumeFacts::BytesPerSector(const std::wstring& root, DWORD* bytes)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &clusters))
        return false;
    *bytes = bytesPerSector;
    return true;
}

std::wstring DirectoryOf(const std::wstring& fileName)
{
    wchar_t drive[_MAX_DRIVE] = {};
    wchar_t directory[_MAX_DIR] = {};
    if (_wsplitpath_s(fileName.c_str(), drive, _MAX_DRIVE, directory, _MAX_DIR, nullptr, 0,
                      nullptr, 0) != 0)
        return {};
    return std::wstring(drive) + directory;
}

std::wstring VolumeRoot(const std::wstring& directory)
{
    if (directory.size() >= 3 && directory[1] == L':')
        return directory.substr(0, 3);
    if (directory.size() > 2 && directory[0] == L'\\' && directory[1] == L'\\') {
        const size_t serverEnd = directory.find(L'\\', 2);
        if (serverEnd == std::wstring::npos || serverEnd == 2)
            return {};
        const size_t shareEnd = directory.find(L'\\', serverEnd + 1);
        if (shareEnd == std::wstring::npos || shareEnd == serverEnd + 1)
            return {};
        return directory.substr(0, shareEnd + 1);
    }
    return {};
}

std::optional<WriteLimit> LimitForFile(const std::wstring& fileName, int64_t callerLimit,
                                       VolumeFacts& volume)
{
    const std::wstring directory = DirectoryOf(fileName);
    uint64_t freeBytes = 0;
    if (!volume.FreeBytesAvailable(directory, &freeBytes))
        return std::nullopt;
    // Without a root there is nothing to ask, and the ceiling stays as for a FAT volume.
    bool ntfs = false;
    const std::wstring root = VolumeRoot(directory);
    std::wstring fileSystem;
    if (!root.empty() && volume.FileSystemName(root, &fileSystem))
        ntfs = fileSystem == L"NTFS";
    return ComputeWriteLimit(freeBytes, ntfs, callerLimit);
}

DWORD SectorSizeForFile(const std::wstring& fileName, VolumeFacts& volume)
{
    DWORD bytes = 0;
    if (fileName.empty())
        return 512;
    const std::wstring root = std::wstring(1, fileName[0]) + L":\\";
    if (!volume.BytesPerSector(root, &bytes) || bytes == 0)
        return 512;
    return bytes;
}

}  // namespace scrivet
