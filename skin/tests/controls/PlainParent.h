#pragma once
// A plain top-level window for the control window tests to place their controls in.
#include <windows.h>

#include "framework/Wnd.h"

namespace controltest {

// Registers the bar controls' classes and a plain window class `className`, then creates
// `parent` of that class as a visible popup at `place` on the screen.
bool CreatePlainParent(CWnd& parent, const char* className, const char* title, const RECT& place);

}  // namespace controltest
