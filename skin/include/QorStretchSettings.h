#pragma once
// The values of a stretch dialog's "QorStretchDlgData" element: which directions it stretches,
// its size limits and the region offsets that cut its face into nine parts.
namespace skelda {

struct QorStretchSettings {
    bool allowHorizontal = false, allowVertical = false;
    int beginningWidth = 0, beginningHeight = 0;
    int minWidth = 0, maxWidth = 0, minHeight = 0, maxHeight = 0;
    int left = 0, right = 0, top = 0, bottom = 0;
};

}  // namespace skelda
