#include "TestStorage.h"

#include <win/Handle.h>

#include <algorithm>
#include <cwctype>

namespace scrivet::test {

namespace {

bool Holds(std::wstring text, const wchar_t* part)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text.find(part) != std::wstring::npos;
}

struct FindTraits {
    using Raw = HANDLE;
    static Raw Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Raw h) { return h != INVALID_HANDLE_VALUE; }
    static void Free(Raw h) { FindClose(h); }
};

uint64_t BytesInFolder(const std::wstring& directory)
{
    uint64_t total = 0;
    WIN32_FIND_DATAW found{};
    win::Owned<FindTraits> search(FindFirstFileW((directory + L"*").c_str(), &found));
    if (!search)
        return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            total += (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    } while (FindNextFileW(search.Get(), &found));
    return total;
}

// Hangs on its first write, as a write to a dead network share does.
class StuckRunFile final : public RunFile {
public:
    explicit StuckRunFile(std::unique_ptr<RunFile> file) : file_(std::move(file)) {}
    DWORD WriteSectors(const BYTE* data, DWORD length, DWORD* written) override
    {
        if (!waited_) {
            waited_ = true;
            win::Handle unstick(OpenEventW(SYNCHRONIZE, FALSE, kUnstickEvent));
            if (unstick)
                WaitForSingleObject(unstick.Get(), 30000);
        }
        return file_->WriteSectors(data, length, written);
    }
    DWORD Finish(uint64_t& length, const FinishRule& rule) override { return file_->Finish(length, rule); }

private:
    std::unique_ptr<RunFile> file_;
    bool waited_ = false;
};

}  // namespace

DWORD TestStorage::CreateRunFile(const std::wstring& name, DWORD sectorSize, std::unique_ptr<RunFile>* file)
{
    const DWORD error = system_.CreateRunFile(name, sectorSize, file);
    if (error == 0 && Holds(name, L"stuck"))
        *file = std::make_unique<StuckRunFile>(std::move(*file));
    return error;
}

bool TestStorage::FullPath(const std::wstring& name, std::wstring* full)
{
    return system_.Volumes().FullPath(name, full);
}

bool TestStorage::VolumeRoot(const std::wstring& fullPath, std::wstring* root)
{
    return system_.Volumes().VolumeRoot(fullPath, root);
}

bool TestStorage::FreeBytesAvailable(const std::wstring& directory, uint64_t* bytes)
{
    if (Holds(directory, L"\\nospace\\")) {
        SetLastError(ERROR_NOT_READY);
        return false;
    }
    if (!Holds(directory, L"\\small\\"))
        return system_.Volumes().FreeBytesAvailable(directory, bytes);
    const uint64_t used = BytesInFolder(directory);
    *bytes = used < kSmallVolumeBytes ? kSmallVolumeBytes - used : 0;
    return true;
}

bool TestStorage::FileSystemName(const std::wstring& root, std::wstring* name)
{
    return system_.Volumes().FileSystemName(root, name);
}

bool TestStorage::BytesPerSector(const std::wstring&, DWORD* bytes)
{
    *bytes = kTestSectorSize;
    return true;
}

}  // namespace scrivet::test
