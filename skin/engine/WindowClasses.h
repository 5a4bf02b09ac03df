#pragma once
// The framework's window classes, copies of the system's button and static classes.
#include <windows.h>

namespace skelda {

// "QORBUTTON" and "QORSTATIC" under `instance`: without the parent-DC style (and, for
// statics, without the drop shadow), with a class DC, double clicks and full redraw.
bool RegisterFrameworkWindowClasses(HINSTANCE instance);
void UnregisterFrameworkWindowClasses(HINSTANCE instance);

}  // namespace skelda
