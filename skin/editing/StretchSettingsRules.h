#pragma once
// The checks of the stretch editing dialogs, without windows: which region offsets can cut a
// face and which size limits a stretch dialog can keep. Each answers with the message that
// refuses the values, or accepts them.
#include <string>

#include "FieldRules.h"
#include "QorStretchSettings.h"

namespace skelda::editing {

// The "QorStretchDlgData" attribute of each value, as the dialogs' fields name them.
struct StretchAttribute {
    const char* name;
    bool QorStretchSettings::*flag;
    int QorStretchSettings::*number;
};
const StretchAttribute* StretchAttributes(int* count);

// The offsets must be 0 or more and leave a middle band of at least one pixel in each
// direction of a face of `faceWidth` x `faceHeight`: that band is what is tiled.
FieldCheck CheckRegionOffsets(const QorStretchSettings& settings, int faceWidth, int faceHeight);

// In each direction that stretches: maximum above minimum, beginning size within them, and a
// minimum that still holds the face's fixed borders (left + right or top + bottom offsets)
// with a middle pixel between them.
FieldCheck CheckSizingLimits(const QorStretchSettings& settings);

}  // namespace skelda::editing
