#pragma once
// The "Graphics Debug Options" dialog: three check boxes, all unchecked when it opens.
#include <windows.h>

#include "QorEngineUserInterface.h"

namespace skelda {

enum DebugOptionIds : WORD {
    kReportMissingBitmapsCheck = 1045,
    kAssertOnMissingEntriesCheck = 1046,
    kReportLoadFailuresCheck = 1047,
};

// True on OK with the check states; false on Cancel with `options` untouched.
bool RunDebugOptionsDialog(HWND owner, QorDebugOptions* options);

}  // namespace skelda
