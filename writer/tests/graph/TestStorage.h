#pragma once
// Storage for the test module's writer: the system's files and volumes, except that every
// volume reports 4096-byte sectors, a folder named "small" is a volume of kSmallVolumeBytes
// (free space = capacity less the files in it), the free space of a folder named "nospace"
// cannot be read, and a file whose name holds "stuck" hangs on its first write until the
// event kUnstickEvent is set or 30 s pass.
#include "Storage.h"

namespace scrivet::test {

constexpr DWORD kTestSectorSize = 4096;
constexpr uint64_t kSmallVolumeBytes = 8 * 1024 * 1024;
constexpr const wchar_t* kUnstickEvent = L"ScrivetTestUnstick";
// {5C7A9E11-6B0D-4E57-9F1B-2A8C3D4E5F60}: the test module's writer, created from its own
// class object (never registered).
constexpr CLSID kTestWriterClsid = {0x5c7a9e11, 0x6b0d, 0x4e57, {0x9f, 0x1b, 0x2a, 0x8c, 0x3d, 0x4e, 0x5f, 0x60}};

class TestStorage final : public Storage, private VolumeFacts {
public:
    VolumeFacts& Volumes() override { return *this; }
    DWORD CreateRunFile(const std::wstring& name, DWORD sectorSize,
                        std::unique_ptr<RunFile>* file) override;

private:
    bool FullPath(const std::wstring& name, std::wstring* full) override;
    bool VolumeRoot(const std::wstring& fullPath, std::wstring* root) override;
    bool FreeBytesAvailable(const std::wstring& directory, uint64_t* bytes) override;
    bool FileSystemName(const std::wstring& root, std::wstring* name) override;
    bool BytesPerSector(const std::wstring& root, DWORD* bytes) override;

    SystemStorage system_;
};

}  // namespace scrivet::test
