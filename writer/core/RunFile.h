#pragma once
// The file that one run writes, as its writer thread sees it: unbuffered whole-sector writes
// during the run, then the finishing steps (exact length, repaired tail) once it ends.
#include <win/Handle.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace scrivet {

// How a run's file is finished once its data is in.
struct FinishRule {
    // The connection is not audio: the end of an MPEG program stream is repaired.
    bool repairTail = false;
    // The writer stopped writing by itself (a limit, a failed write), so the stream ends
    // wherever that left it, often inside a picture: a program stream then ends on its last
    // whole picture. A stream its source ended keeps every complete packet.
    bool wholePicture = false;
    // The repaired file never grows past this, though the closing codes would take it there.
    uint64_t maxLength = UINT64_MAX;
};

class RunFile {
public:
    virtual ~RunFile() = default;
    // `data` and `length` are whole sectors; returns 0 or the Win32 error.
    virtual DWORD WriteSectors(const BYTE* data, DWORD length, DWORD* written) = 0;
    // Cuts the file at `length`, repairs the program-stream tail as the rule says (which may
    // change `length`) and closes it. Returns 0, or the Win32 error of the first step that
    // failed; even then the file is cut at `length` whenever the system allows it.
    virtual DWORD Finish(uint64_t& length, const FinishRule& rule) = 0;
};

// The most one system write call takes; a run's larger writes are made in pieces of this.
// Wine passes an unbuffered write through the system cache like any other, and on a busy
// virtual machine Linux copied calls of a quarter or a whole megabyte, in a third or more of
// the runs, at three to eight times the processor time per byte of 64 KiB calls (larger calls
// take larger blocks of page cache, which often come from memory the host has taken back).
constexpr DWORD kLargestSystemWrite = 64u << 10;

// A file created for the run with no system caching.
class UnbufferedRunFile final : public RunFile {
public:
    // Creates (or empties) the file; returns 0 or the Win32 error.
    DWORD Create(const std::wstring& name, DWORD sectorSize);
    DWORD WriteSectors(const BYTE* data, DWORD length, DWORD* written) override;
    DWORD Finish(uint64_t& length, const FinishRule& rule) override;

private:
    std::wstring name_;  // this run's file, which a later name given to the writer does not change
    DWORD sectorSize_ = 512;
    win::Handle file_;
};

// Opens a file for writing with no sharing, as the writer does everywhere.
win::Handle OpenForWriting(const wchar_t* name, DWORD disposition, DWORD flags);

// Sets the end of an open file at `length`; 0 or the Win32 error.
DWORD CutAt(const win::Handle& file, uint64_t length);

}  // namespace scrivet
