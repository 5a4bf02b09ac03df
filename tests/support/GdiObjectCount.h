#pragma once
// Live GDI objects of this process, for leak checks (Wine answers 0 to GetGuiResources for
// them).
#include <windows.h>

namespace testsupport {

DWORD GdiObjectCount();

}  // namespace testsupport
