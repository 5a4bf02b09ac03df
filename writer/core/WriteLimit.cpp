#include "WriteLimit.h"

#include "WriterEvents.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <vector>

namespace scrivet {

WriteLimit ComputeWriteLimit(uint64_t freeBytes, bool fatCeiling, int64_t callerLimit)
{
    WriteLimit limit;
    const uint64_t usable = freeBytes > kFreeSpaceReserve ? freeBytes - kFreeSpaceReserve : 0;
    limit.bytes = static_cast<int64_t>(std::min<uint64_t>(usable, INT64_MAX));
    if (fatCeiling && limit.bytes >= kFatCeiling) {
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

bool HasFatCeiling(const std::optional<std::wstring>& fileSystem)
{
    if (!fileSystem || fileSystem->empty())
        return true;
    std::wstring upper = *fileSystem;
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(std::towupper(c));
    return upper == L"FAT" || upper == L"FAT12" || upper == L"FAT16" || upper == L"FAT32";
}

DWORD UsableSectorSize(std::optional<DWORD> reported)
{
    if (!reported)
        return kDefaultSectorSize;
    const DWORD size = *reported;
    const bool powerOfTwo = size != 0 && (size & (size - 1)) == 0;
    return powerOfTwo && size >= 512 && size <= 65536 ? size : kDefaultSectorSize;
}

bool SystemVolumeFacts::FullPath(const std::wstring& name, std::wstring* full)
{
    const DWORD needed = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return false;
    std::vector<wchar_t> buffer(needed);
    const DWORD length = GetFullPathNameW(name.c_str(), needed, buffer.data(), nullptr);
    if (length == 0 || length >= needed)
        return false;
    full->assign(buffer.data(), length);
    return true;
}

bool SystemVolumeFacts::VolumeRoot(const std::wstring& fullPath, std::wstring* root)
{
    std::vector<wchar_t> buffer(fullPath.size() + 2);
    if (!GetVolumePathNameW(fullPath.c_str(), buffer.data(), static_cast<DWORD>(buffer.size())))
        return false;
    root->assign(buffer.data());
    if (root->empty())
        return false;
    if (root->back() != L'\\')
        root->push_back(L'\\');
    return true;
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

VolumeInfo DescribeVolume(const std::wstring& fileName, VolumeFacts& volume)
{
    VolumeInfo info;
    if (!volume.FullPath(fileName, &info.fullPath))
        info.fullPath = fileName;
    info.directory = DirectoryOf(info.fullPath);
    // The system knows mount points and shares; the spelling of the name is the fallback.
    if (!volume.VolumeRoot(info.fullPath, &info.root))
        info.root = VolumeRoot(info.directory);
    if (info.root.empty())
        return info;
    DWORD sector = 0;
    info.sectorSize = UsableSectorSize(volume.BytesPerSector(info.root, &sector)
                                           ? std::optional<DWORD>(sector)
                                           : std::nullopt);
    std::wstring fileSystem;
    info.fatCeiling = HasFatCeiling(volume.FileSystemName(info.root, &fileSystem)
                                        ? std::optional<std::wstring>(fileSystem)
                                        : std::nullopt);
    return info;
}

std::optional<WriteLimit> LimitForVolume(const VolumeInfo& info, int64_t callerLimit,
                                         VolumeFacts& volume)
{
    uint64_t freeBytes = 0;
    if (!volume.FreeBytesAvailable(info.directory, &freeBytes))
        return std::nullopt;
    return ComputeWriteLimit(freeBytes, info.fatCeiling, callerLimit);
}

}  // namespace scrivet
