#pragma once
// The arithmetic of stretchable dialogs: the nine-part cut of the background, the composite
// face for a given size, and the window rectangle while a grabber is dragged. Pure logic.
#include <windows.h>

#include <vector>

namespace skelda {

// Edge bits of a grabber's orientation.
enum StretchEdge : int { kEdgeLeft = 1, kEdgeRight = 2, kEdgeTop = 4, kEdgeBottom = 8 };

struct StretchOffsets {
    int left = 0, right = 0, top = 0, bottom = 0;
};

struct StretchCopyRects {
    RECT centre, topLeft, topRight, bottomLeft, bottomRight, leftEdge, rightEdge, topEdge, bottomEdge;
};

// The nine parts of a background of `width` x `height` (right and bottom exclusive).
StretchCopyRects ComputeCopyRects(int width, int height, const StretchOffsets& offsets);

// One block copy of the composite: `source` of the background to (x, y) of the composite.
struct StretchCopy {
    RECT source;
    int x, y;
};

// The copies, in painting order, that make a face of `width` x `height`: tiled centre, tiled
// edges, then the corners on top. Empty when the centre part has no area.
std::vector<StretchCopy> PlanComposite(const StretchCopyRects& rects, const StretchOffsets& offsets, int width,
                                       int height);

struct StretchLimits {
    bool allowHorizontal = false, allowVertical = false;
    int minWidth = 0, maxWidth = 0, minHeight = 0, maxHeight = 0;
};

// The window rectangle after the mouse moved by (dx, dy) since the grab began on a grabber of
// `orientation` (edge bits). Edges not named, or in a direction not allowed, stay; the size is
// held within the limits by keeping the opposite edge where it was.
RECT DragStretchRect(const RECT& start, int orientation, int dx, int dy, const StretchLimits& limits);

// One step of an automatic expansion or contraction towards `targetWidth` x `targetHeight`:
// each named edge moves by at most `step`. Returns the new rectangle; `done` when reached.
RECT StepStretchRect(const RECT& current, int orientation, int step, int targetWidth, int targetHeight,
                     bool* done);

// Maximum above minimum and beginning values within them, for each allowed direction.
bool StretchValuesValid(const StretchLimits& limits, int beginningWidth, int beginningHeight);

}  // namespace skelda
