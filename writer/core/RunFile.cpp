#include "RunFile.h"

#include "ProgramStreamTail.h"

#include <cassert>

namespace scrivet {

HANDLE OpenForWriting(const std::wstring& name, DWORD disposition, DWORD flags)
{
    return CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, disposition, flags, nullptr);
}

UnbufferedRunFile::~UnbufferedRunFile()
{
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
}

DWORD UnbufferedRunFile::Create(const std::wstring& name, DWORD sectorSize)
{
    name_ = name;
    sectorSize_ = sectorSize;
    // Created always, but an empty file (the one the name's trial creation left) is opened as
    // it is rather than cut: Linux's ext4, under Wine, takes a cut to zero as the sign of a
    // file being replaced and makes the close write out every byte there and then.
    file_ = OpenForWriting(name, OPEN_ALWAYS, FILE_FLAG_NO_BUFFERING);
    if (file_ == INVALID_HANDLE_VALUE)
        return GetLastError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_, &size) || size.QuadPart != 0) {
        const LARGE_INTEGER start{};
        if (!SetFilePointerEx(file_, start, nullptr, FILE_BEGIN) || !SetEndOfFile(file_)) {
            const DWORD error = GetLastError();
            CloseHandle(file_);
            file_ = INVALID_HANDLE_VALUE;
            return error;
        }
    }
    return 0;
}

DWORD UnbufferedRunFile::WriteSectors(const BYTE* data, DWORD length, DWORD* written)
{
    *written = 0;
    // Windows refuses unbuffered writes that are not whole sectors from sector-aligned memory;
    // Wine does not, so the check is made here for both.
    const bool aligned = reinterpret_cast<uintptr_t>(data) % sectorSize_ == 0 &&
                         length % sectorSize_ == 0;
    assert(aligned);
    if (!aligned) {
        OutputDebugStringA("Scrivet:  unaligned unbuffered write refused\r\n");
        return ERROR_INVALID_PARAMETER;
    }
    if (!WriteFile(file_, data, length, written, nullptr))
        return GetLastError();
    return *written == length ? 0 : ERROR_DISK_FULL;
}

DWORD UnbufferedRunFile::Finish(uint64_t& length, bool repairTail)
{
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
    file_ = CreateFileW(name_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
        return GetLastError();
    if (repairTail) {
        HandleTailFile tail(file_);
        RepairProgramStreamTail(tail, length);
    }
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(length);
    DWORD error = 0;
    if (!SetFilePointerEx(file_, end, nullptr, FILE_BEGIN) || !SetEndOfFile(file_))
        error = GetLastError();
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    return error;
}

}  // namespace scrivet
