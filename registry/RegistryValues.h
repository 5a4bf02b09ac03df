#pragma once
// Typed reads of registry values from an open key.
#include <windows.h>

#include <string>

namespace skelda {

// A DWORD value; false when the key or the value is missing or of another type.
bool ReadDword(HKEY key, const char* name, DWORD* value);
// A REG_SZ value of at most MAX_PATH bytes including its terminator; false otherwise.
bool ReadPathString(HKEY key, const char* name, std::string* value);

}  // namespace skelda
