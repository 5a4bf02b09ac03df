#pragma once
// The choices a recording's start makes from the settings before the engine is asked.
#include "CaptureSettings.h"

namespace recording {

// "FileName" 1 asks for each recording's name; anything else numbers clips.
inline bool AsksForFileName(const settings::CaptureSettings& s) { return s.fileName == 1; }

// What the engine starts with: with a custom template stream type 1 (MPEG-1) for capture
// modes 1 and 3, else 2 (MPEG-2); with the built-in qualities the "Capture" code itself.
inline int StartStreamType(const settings::CaptureSettings& s)
{
    if (s.setupMode == 3)
        return settings::IsMpeg1Mode(s.custom.captureMode) ? 1 : 2;
    return s.capture;
}

}  // namespace recording
