#pragma once
// The framework's window classes, copies of the system's button, static and slider classes.
#include <windows.h>

namespace skelda {

// "QORBUTTON" and "QORSTATIC" under `instance`: without the parent-DC style (and, for
// statics, without the drop shadow), with a class DC, double clicks and full redraw.
bool RegisterFrameworkWindowClasses(HINSTANCE instance);
void UnregisterFrameworkWindowClasses(HINSTANCE instance);
// "QORSLIDER" under this library's instance, as a copy of the class of `slider` (the first
// skinned slider's window) without the global-class and parent-DC styles and with a class DC.
// Later calls change nothing.
bool RegisterSliderWindowClass(HWND slider);
// The same from the name of the slider's class ("msctls_trackbar32"), before any slider exists.
bool RegisterSliderWindowClass(const char* sliderClass);

}  // namespace skelda
