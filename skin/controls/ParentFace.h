#pragma once
// The part of a skinned dialog's face that lies under one of its controls, for controls that
// show the face through themselves.
#include <windows.h>

namespace skelda::controls {

// A new bitmap (the caller deletes it) compatible with the control's own context holding the
// face of its parent dialog under the control; null when the parent has no skinned face.
HBITMAP TakeParentFace(HWND control);

// Paints that part into `dc` at the client origin, or the system's dialog colour without it.
void PaintParentFace(HWND control, HDC dc);

}  // namespace skelda::controls
