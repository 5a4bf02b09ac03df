#include "RunRecovery.h"

#include "ProgramStreamTail.h"
#include "RunFile.h"

#include <win/Handle.h>

#include <new>
#include <vector>

namespace scrivet {

namespace {

// Length of the file without its trailing zero bytes: a file extended ahead of its data, or
// whose last sectors never reached the disk, reads as zeros there.
bool LengthWithoutTrailingZeros(TailFile& file, uint64_t size, uint64_t& length)
{
    constexpr DWORD kChunk = 64 * 1024;
    std::vector<uint8_t> chunk(kChunk);
    uint64_t end = size;
    while (end > 0) {
        const DWORD count = static_cast<DWORD>(end < kChunk ? end : kChunk);
        DWORD got = 0;
        if (!file.ReadAt(end - count, chunk.data(), count, &got) || got != count)
            return false;
        for (DWORD i = count; i > 0; --i) {
            if (chunk[i - 1] != 0) {
                length = end - count + i;
                return true;
            }
        }
        end -= count;
    }
    length = 0;
    return true;
}

}  // namespace

Recovery RecoverRunFile(const std::wstring& name)
{
    Recovery result;
    win::Handle file(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        result.error = GetLastError();
        result.outcome = result.error == ERROR_FILE_NOT_FOUND || result.error == ERROR_PATH_NOT_FOUND
                             ? Recovery::kMissing
                             : Recovery::kFailed;
        return result;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) {
        result.error = GetLastError();
        return result;
    }
    HandleTailFile tail(file);
    if (!StartsWithPackHeader(tail)) {
        result.outcome = Recovery::kNotAStream;
        result.length = static_cast<uint64_t>(size.QuadPart);
        return result;
    }
    try {
        uint64_t length = 0;
        if (!LengthWithoutTrailingZeros(tail, static_cast<uint64_t>(size.QuadPart), length)) {
            result.error = GetLastError();
            return result;
        }
        // A stream that already ends (its run finished, the program died after) stays whole.
        uint8_t last[4] = {};
        DWORD got = 0;
        if (length < sizeof last || !tail.ReadAt(length - sizeof last, last, sizeof last, &got) ||
            got != sizeof last || last[0] != 0 || last[1] != 0 || last[2] != 1 || last[3] != 0xB9)
            RepairProgramStreamTail(tail, length, TailEnd::LastPicture);
        result.error = CutAt(file, length);
        result.length = length;
        result.outcome = result.error == 0 ? Recovery::kRecovered : Recovery::kFailed;
    } catch (const std::bad_alloc&) {
        result.error = ERROR_NOT_ENOUGH_MEMORY;
    }
    return result;
}

}  // namespace scrivet
