// Stretch arithmetic of skinned dialogs.
#include "StretchGeometry.h"

#include <algorithm>

namespace skelda {

StretchCopyRects ComputeCopyRects(int w, int h, const StretchOffsets& o)
{
    StretchCopyRects r;
    r.centre = RECT{o.left + 1, o.top + 1, w - o.right, h - o.bottom};
    r.topLeft = RECT{0, 0, o.left, o.top};
    r.topRight = RECT{w - o.right, 0, w, o.top};
    r.bottomLeft = RECT{0, h - o.bottom, o.left, h};
    r.bottomRight = RECT{w - o.right, h - o.bottom, w, h};
    // The side edges start on the centre's first row, so a line across the face stays one line.
    r.leftEdge = RECT{0, o.top + 1, o.left, h - o.bottom};
    r.rightEdge = RECT{w - o.right, o.top + 1, w, h - o.bottom};
    r.topEdge = RECT{o.left, 0, w - o.right, o.top};
    r.bottomEdge = RECT{o.left, h - o.bottom, w - o.right, h};
    return r;
}

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

std::vector<StretchCopy> PlanComposite(const StretchCopyRects& r, const StretchOffsets& o, int width, int height)
{
    std::vector<StretchCopy> copies;
    const int cw = Width(r.centre), ch = Height(r.centre);
    if (cw <= 0 || ch <= 0)
        return copies;
    const int nx = (width - o.right - o.left) / cw + 1;
    const int ny = (height - o.bottom - o.top) / ch + 1;
    for (int row = 0; row < ny; ++row)
        for (int column = 0; column < nx; ++column)
            copies.push_back({r.centre, o.left + column * cw, o.top + row * ch});
    const int tw = Width(r.topEdge), bw = Width(r.bottomEdge);
    for (int column = 0; column < nx; ++column) {
        copies.push_back({r.topEdge, o.left + column * tw, 0});
        copies.push_back({r.bottomEdge, o.left + column * bw, height - o.bottom});
    }
    for (int row = 0; row < ny; ++row) {
        copies.push_back({r.leftEdge, 0, o.top + row * ch});
        copies.push_back({r.rightEdge, width - o.right, o.top + row * ch});
    }
    copies.push_back({r.topLeft, 0, 0});
    copies.push_back({r.topRight, width - o.right, 0});
    copies.push_back({r.bottomLeft, 0, height - o.bottom});
    copies.push_back({r.bottomRight, width - o.right, height - o.bottom});
    return copies;
}

namespace {

// Moves the edges named in `low`/`high` bits by `delta`, holding the size in [minimum, maximum]
// by keeping the other edge fixed.
void DragAxis(LONG* lowEdge, LONG* highEdge, bool moveLow, bool moveHigh, int delta, int minimum, int maximum)
{
    const LONG low = *lowEdge, high = *highEdge;
    if (moveHigh) {
        const int size = std::clamp(static_cast<int>(high + delta - low), minimum, std::max(minimum, maximum));
        *highEdge = low + size;
    } else if (moveLow) {
        const int size = std::clamp(static_cast<int>(high - (low + delta)), minimum, std::max(minimum, maximum));
        *lowEdge = high - size;
    }
}

}  // namespace

RECT DragStretchRect(const RECT& start, int orientation, int dx, int dy, const StretchLimits& limits)
{
    RECT result = start;
    if (limits.allowHorizontal)
        DragAxis(&result.left, &result.right, (orientation & kEdgeLeft) != 0, (orientation & kEdgeRight) != 0, dx,
                 limits.minWidth, limits.maxWidth);
    if (limits.allowVertical)
        DragAxis(&result.top, &result.bottom, (orientation & kEdgeTop) != 0, (orientation & kEdgeBottom) != 0, dy,
                 limits.minHeight, limits.maxHeight);
    return result;
}

namespace {

int StepTowards(int size, int target, int step)
{
    if (size < target)
        return std::min(target, size + step);
    return std::max(target, size - step);
}

}  // namespace

RECT StepStretchRect(const RECT& current, int orientation, int step, int targetWidth, int targetHeight, bool* done)
{
    RECT result = current;
    step = std::max(1, step);
    if (orientation & (kEdgeLeft | kEdgeRight)) {
        const int width = StepTowards(Width(current), targetWidth, step);
        if (orientation & kEdgeRight)
            result.right = result.left + width;
        else
            result.left = result.right - width;
    }
    if (orientation & (kEdgeTop | kEdgeBottom)) {
        const int height = StepTowards(Height(current), targetHeight, step);
        if (orientation & kEdgeBottom)
            result.bottom = result.top + height;
        else
            result.top = result.bottom - height;
    }
    const bool widthDone = !(orientation & (kEdgeLeft | kEdgeRight)) || Width(result) == targetWidth;
    const bool heightDone = !(orientation & (kEdgeTop | kEdgeBottom)) || Height(result) == targetHeight;
    if (done)
        *done = widthDone && heightDone;
    return result;
}

bool StretchValuesValid(const StretchLimits& l, int beginningWidth, int beginningHeight)
{
    if (l.allowHorizontal &&
        (l.maxWidth <= l.minWidth || beginningWidth < l.minWidth || beginningWidth > l.maxWidth))
        return false;
    if (l.allowVertical &&
        (l.maxHeight <= l.minHeight || beginningHeight < l.minHeight || beginningHeight > l.maxHeight))
        return false;
    return true;
}

}  // namespace skelda
