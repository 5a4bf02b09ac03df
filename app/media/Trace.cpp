#include "Trace.h"

#include <errors.h>

#include <cstdarg>
#include <cstdio>

namespace media {

void DebugLine(const char* format, ...)
{
    char text[1200];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    char line[1300];
    snprintf(line, sizeof line, "Marovin:  %s\r\n", text);
    OutputDebugStringA(line);
}

HRESULT TraceFailure(const char* what, HRESULT hr)
{
    // The system's own text is capped at 160 characters, as the driver teams read it.
    char text[161] = "";
    if (AMGetErrorTextA(hr, text, sizeof text) == 0)
        text[0] = 0;
    for (char* p = text; *p; ++p) {
        if (*p == '\r' || *p == '\n')
            *p = ' ';
    }
    DebugLine("%s failed: 0x%08lX %s", what, static_cast<unsigned long>(hr), text);
    return hr;
}

}  // namespace media
