#pragma once
// A run's file left behind by a run that never ended (the program or the machine died): the
// bytes past the data are dropped and the stream is closed on its last whole picture, so the
// file plays to its end without a damaged picture.
#include <windows.h>

#include <cstdint>
#include <string>

namespace scrivet {

struct Recovery {
    enum Outcome { kRecovered, kMissing, kNotAStream, kFailed };
    Outcome outcome = kFailed;
    uint64_t length = 0;  // the file's length afterwards
    DWORD error = 0;      // the Win32 error of kMissing and kFailed
};

// Recovers `name` in place. A file that does not start with a pack header is left untouched.
Recovery RecoverRunFile(const std::wstring& name);

}  // namespace scrivet
