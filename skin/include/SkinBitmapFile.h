#pragma once
// The one way skin bitmaps are loaded: the file's or resource's bytes are checked first and
// only a sound bitmap reaches the system's loader. A damaged one is refused like a missing one.
#include <windows.h>

#include <string>

#include "SkeldaExport.h"

namespace skelda {

// LoadImage of the bitmap file at `path` with `width`, `height` (0 keeps the file's size) and
// `flags` (LR_LOADFROMFILE is added). Null when the file is missing, unreadable or damaged.
// The caller deletes the bitmap.
SKELDA_API HBITMAP LoadCheckedBitmapFile(const std::string& path, int width, int height, UINT flags);

// The bitmap resource `name` of `module` as a DIB section; null when absent or damaged.
SKELDA_API HBITMAP LoadCheckedBitmapResource(HMODULE module, const std::string& name);

}  // namespace skelda
