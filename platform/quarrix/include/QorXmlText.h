#pragma once
// Conversions between attribute text and the values stored in the skin and text files:
// decimal integers, bytes, and ANSI <-> wide strings. Pure functions, no COM.
#include <string>

namespace qorxml {

// Decimal text with optional surrounding blanks and an optional sign, within 32 bits.
// Anything else (empty, "12abc", "0x10", overflow) does not convert.
bool ParseInt32(const std::string& text, int* value);
// As ParseInt32, limited to 0..255.
bool ParseByte(const std::string& text, unsigned char* value);
// As ParseInt32 but also accepts values up to 4294967295 (colours written unsigned).
bool ParseUInt32(const std::string& text, unsigned int* value);

std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);

}  // namespace qorxml
