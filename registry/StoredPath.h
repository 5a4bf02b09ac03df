#pragma once
// Conversion between the paths stored in the skin files (relative to the skin's parent
// folder) and absolute paths. Pure string rules: nothing touches the file system.
#include <string>

namespace skelda {

// Relative (no colon): base + path. Absolute: kept when it lies below base (case-sensitive),
// otherwise false. An empty base keeps the path.
bool ToAbsoluteStoredPath(const std::string& base, std::string* path);
// Absolute below base (case ignored): the part after base. Relative, or an empty base:
// unchanged. An absolute path elsewhere: false and unchanged.
bool ToRelativeStoredPath(const std::string& base, std::string* path);

// "a\b" -> "a\b\", "" stays "".
std::string WithTrailingBackslash(const std::string& folder);

}  // namespace skelda
