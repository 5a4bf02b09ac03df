#pragma once
// The file that one run writes, as its writer thread sees it: unbuffered whole-sector writes
// during the run, then the finishing steps (exact length, repaired tail) once it ends.
#include <windows.h>

#include <cstdint>
#include <string>

namespace scrivet {

class RunFile {
public:
    virtual ~RunFile() = default;
    // `data` and `length` are whole sectors; returns 0 or the Win32 error.
    virtual DWORD WriteSectors(const BYTE* data, DWORD length, DWORD* written) = 0;
    // Closes the unbuffered handle, reopens the file, repairs the program-stream tail when
    // asked (which may change `length`), cuts the file at `length` and closes it.
    virtual DWORD Finish(uint64_t& length, bool repairTail) = 0;
};

// A file created for the run with no system caching.
class UnbufferedRunFile final : public RunFile {
public:
    ~UnbufferedRunFile() override;
    // Creates (or empties) the file; returns 0 or the Win32 error.
    DWORD Create(const std::wstring& name, DWORD sectorSize);
    DWORD WriteSectors(const BYTE* data, DWORD length, DWORD* written) override;
    DWORD Finish(uint64_t& length, bool repairTail) override;

private:
    std::wstring name_;
    DWORD sectorSize_ = 512;
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

// Opens a file for writing with no sharing, as the writer does everywhere.
HANDLE OpenForWriting(const std::wstring& name, DWORD disposition, DWORD flags);

}  // namespace scrivet
