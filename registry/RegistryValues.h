#pragma once
// Typed reads of registry values from an open key.
#include <windows.h>

#include <string>

namespace skelda {

// A DWORD value; false when the key or the value is missing or of another type.
bool ReadDword(HKEY key, const char* name, DWORD* value);
// A REG_SZ value of at most MAX_PATH bytes including its terminator; false otherwise.
bool ReadPathString(HKEY key, const char* name, std::string* value);

// The framework's keys live under HKEY_LOCAL_MACHINE, which a standard user may read but not
// change. These open a key for writing where that is allowed and for reading where it is not,
// so that settings are still read; writes then fail where they are attempted. The caller
// closes the key; null when it can be neither created nor opened.
HKEY CreateOrOpenForReading(HKEY parent, const char* name);
HKEY OpenWritableOrReadable(HKEY parent, const char* name);

}  // namespace skelda
