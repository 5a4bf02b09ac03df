#pragma once
// Input as the user makes it, for the tests that drive Marovin's window: keys and clicks go
// through the system's input queue to the window in front.
#include <windows.h>

#include <string>

namespace marovintest {

// Brings `window` to the front; false when it did not come within five seconds.
bool BringForward(HWND window);
// Presses and releases `key` with the table modifier bits FSHIFT, FCONTROL and FALT held.
void PressKey(WORD key, BYTE modifiers = 0);
// Types `text` character by character, with the shift state each character needs.
void TypeText(const std::string& text);
// A real click in the middle of the control.
void Click(HWND control);

}  // namespace marovintest
