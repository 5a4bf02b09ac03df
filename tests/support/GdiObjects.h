#pragma once
// Counting a process's live GDI objects, for leak checks.
#include <windows.h>

namespace testsupport {

// Live GDI objects of this process (under Wine counted in the process's GDI handle table, as
// GetGuiResources answers 0 there).
DWORD GdiObjectCount();

}  // namespace testsupport
