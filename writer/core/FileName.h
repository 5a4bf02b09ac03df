#pragma once
// The rules a recording file name must pass before the writer takes it.
#include <windows.h>

namespace scrivet {

constexpr size_t kMaxNameLength = 260;
// Results the writer's clients know for names: too long, and no ANSI form that fits.
constexpr HRESULT kNameTooLong = 206;
constexpr HRESULT kNameNotConvertible = 123;

// S_OK, E_POINTER for a null name, kNameTooLong past 260 characters, kNameNotConvertible
// when the ANSI form with its terminator does not fit in 260 bytes.
HRESULT CheckFileName(const wchar_t* name);

}  // namespace scrivet
