#pragma once
// Tracing the outline of the first opaque shape of a picture with eight-neighbour boundary
// following. Pure logic over a pixel source, so it runs the same over a DIB section's memory,
// over GetPixel (the slow reference) and over test grids.
//
// A source provides Width(), Height() and Opaque(x, y); Opaque is only asked for pixels inside
// the picture. Pixels outside it count as "invalid", which behaves like transparent.
#include <windows.h>

#include <vector>

namespace skelda {

// Direction offsets, numbered clockwise from west.
inline constexpr int kTraceDx[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
inline constexpr int kTraceDy[8] = {0, -1, -1, -1, 0, 1, 1, 1};

template <class Source>
bool TraceOpaqueValid(const Source& source, int x, int y)
{
    return x >= 0 && y >= 0 && x < source.Width() && y < source.Height() && source.Opaque(x, y);
}

// The first opaque pixel in row order; false when there is none.
template <class Source>
bool FindFirstOpaque(const Source& source, POINT* start)
{
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            if (source.Opaque(x, y)) {
                *start = POINT{x, y};
                return true;
            }
    return false;
}

// The outline of the shape holding the first opaque pixel, in tracing order, starting at that
// pixel. Transparent cells just right of or below the shape are part of the outline, so that
// a polygon through these points (which excludes its own right and bottom edges) still covers
// the shape's last column and row. Empty when the picture has no opaque pixel.
template <class Source>
std::vector<POINT> TraceOutline(const Source& source)
{
    std::vector<POINT> points;
    POINT start{};
    if (!FindFirstOpaque(source, &start))
        return points;
    const int width = source.Width(), height = source.Height();
    POINT current = start;
    int direction = 4;
    // Each cell of the (W+1) x (H+1) grid can be entered from at most eight neighbours; the
    // limit only guards against a source that answers inconsistently.
    const size_t limit = 8 * (static_cast<size_t>(width) + 1) * (static_cast<size_t>(height) + 1) + 8;
    while (points.size() < limit) {
        points.push_back(current);
        bool found = false;
        for (int step = 0; step < 8; ++step) {
            const int d = (direction + step) % 8;
            const int x = current.x + kTraceDx[d], y = current.y + kTraceDy[d];
            if (x < 0 || y < 0 || x > width || y > height)
                continue;
            bool take = TraceOpaqueValid(source, x, y);
            if (!take)
                take = !TraceOpaqueValid(source, x + 1, y) &&
                       (TraceOpaqueValid(source, x, y - 1) || TraceOpaqueValid(source, x - 1, y));
            if (take) {
                current = POINT{x, y};
                direction = (d + 5) % 8;
                found = true;
                break;
            }
        }
        if (!found || (current.x == start.x && current.y == start.y))
            break;
    }
    return points;
}

}  // namespace skelda
