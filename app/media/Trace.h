#pragma once
// Diagnostics for the media and device code: lines to the debugger output stream.
#include <windows.h>

namespace media {

// Writes "Marovin:  <text>\r\n" (printf-style) to the debugger output.
void DebugLine(const char* format, ...);

// Traces a failing DirectShow call with its code and the system's error text for it, and
// returns the code unchanged so callers can write `return TraceFailure("Run", hr);`.
HRESULT TraceFailure(const char* what, HRESULT hr);

}  // namespace media
