#pragma once
// The rules a recording file name must pass before the writer takes it, and the one place
// the writer keeps the name it was given.
#include <win/Lock.h>

#include <windows.h>

#include <string>

namespace scrivet {

constexpr size_t kMaxNameLength = 260;
// Results the writer's clients know for names: too long, and no ANSI form that fits.
constexpr HRESULT kNameTooLong = 206;
constexpr HRESULT kNameNotConvertible = 123;

// S_OK, E_POINTER for a null name, kNameTooLong past 260 characters, kNameNotConvertible
// when the ANSI form with its terminator does not fit in 260 bytes.
HRESULT CheckFileName(const wchar_t* name);

// The writer's file name: set by the application, read by each run and by the pin's stream.
// Readers may be on other threads than the one that sets it, so every access is locked.
class RecordingName {
public:
    // Checks the name and keeps a copy in place of the last one: S_OK, a CheckFileName
    // failure (the last name is kept), or E_OUTOFMEMORY.
    HRESULT Set(const wchar_t* name);
    // A copy of the name, empty when none is set or the copy cannot be made.
    std::wstring Get() const;
    // A task-memory copy for a COM caller; null when no name is set. S_OK or E_OUTOFMEMORY.
    HRESULT CopyTo(LPOLESTR* out) const;

private:
    mutable win::CritSec lock_;
    std::wstring name_;
};

}  // namespace scrivet
