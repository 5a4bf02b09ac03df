#include "RunFile.h"

#include "ProgramStreamTail.h"

#include <algorithm>
#include <cassert>
#include <new>

namespace scrivet {

win::Handle OpenForWriting(const wchar_t* name, DWORD disposition, DWORD flags)
{
    return win::Handle(CreateFileW(name, GENERIC_WRITE, 0, nullptr, disposition, flags, nullptr));
}

DWORD CutAt(const win::Handle& file, uint64_t length)
{
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(length);
    if (!SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(file.Get()))
        return GetLastError();
    return 0;
}

DWORD UnbufferedRunFile::Create(const std::wstring& name, DWORD sectorSize)
{
    name_ = name;
    sectorSize_ = sectorSize;
    // Created always, but an empty file (the one the name's trial creation left) is opened as
    // it is rather than cut: Linux's ext4, under Wine, takes a cut to zero as the sign of a
    // file being replaced and makes the close write out every byte there and then.
    file_ = OpenForWriting(name.c_str(), OPEN_ALWAYS, FILE_FLAG_NO_BUFFERING);
    if (!file_)
        return GetLastError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.Get(), &size) || size.QuadPart != 0) {
        const DWORD error = CutAt(file_, 0);
        if (error != 0) {
            file_.Reset();
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
    while (*written < length) {
        const DWORD piece = std::min<DWORD>(length - *written, kLargestSystemWrite);
        DWORD done = 0;
        if (!WriteFile(file_.Get(), data + *written, piece, &done, nullptr))
            return GetLastError();
        *written += done;
        if (done != piece)
            return ERROR_DISK_FULL;
    }
    return 0;
}

DWORD UnbufferedRunFile::Finish(uint64_t& length, const FinishRule& rule)
{
    // Cut through the handle the run wrote with, before it is closed: if the file cannot be
    // opened again, it still ends at the data, not in the rest of the last sector.
    DWORD error = file_ ? CutAt(file_, length) : ERROR_INVALID_HANDLE;
    file_.Reset();
    if (error == 0 && !rule.repairTail)
        return 0;
    // The tail is read byte by byte, which an unbuffered handle does not allow.
    win::Handle file(CreateFileW(name_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return error != 0 ? error : GetLastError();
    if (rule.repairTail) {
        try {
            HandleTailFile tail(file);
            // Only a program stream is known to have pictures to end on; anything else
            // (an elementary stream, a WAV file) is finished as a stream its source ended.
            const TailEnd end = rule.wholePicture && StartsWithPackHeader(tail) ? TailEnd::LastPicture
                                                                               : TailEnd::LastPacket;
            RepairProgramStreamTail(tail, length, end, rule.maxLength);
        } catch (const std::bad_alloc&) {
            // No memory for the tail: the file keeps the data as written, unrepaired.
        }
    }
    // A cut that failed on the first handle and works on this one leaves the file complete.
    return CutAt(file, length);
}

}  // namespace scrivet
