// Menu arithmetic: entry ids, entry and separator places, placement and its fallbacks.
#include "MenuLayout.h"

#include <algorithm>

namespace skelda::menu {

int EntryControlId(int index)
{
    if (index < 0 || index >= kMaxEntries)
        return 0;
    const int id = kFirstEntryId + index;
    return id >= kUnusedEntryId ? id + 1 : id;
}

int EntryIndexOfControl(int controlId)
{
    if (controlId < kFirstEntryId || controlId == kUnusedEntryId || controlId > EntryControlId(kMaxEntries - 1))
        return -1;
    return controlId < kUnusedEntryId ? controlId - kFirstEntryId : controlId - kFirstEntryId - 1;
}

MenuLayout LayOutMenu(const MenuMetrics& m, int entryCount, const std::vector<int>& separatorsBefore)
{
    MenuLayout layout;
    const int count = std::clamp(entryCount, 0, kMaxEntries);
    int y = m.top;
    for (int i = 0; i < count; ++i) {
        for (int before : separatorsBefore)
            if (before == i) {
                layout.separators.push_back(y + kSeparatorBand / 2);
                y += kSeparatorBand;
            }
        layout.entries.push_back({m.left, y, m.left + m.entry.cx, y + m.entry.cy});
        y += m.entry.cy + (i + 1 < count ? m.spaceBetween : 0);
    }
    layout.size.cx = std::max<LONG>(m.left + m.entry.cx + m.right, m.minWidth);
    layout.size.cy = std::max<LONG>(y + m.bottom, m.minHeight);
    return layout;
}

int EntryAt(const MenuLayout& layout, POINT client)
{
    for (size_t i = 0; i < layout.entries.size(); ++i)
        if (PtInRect(&layout.entries[i], client))
            return static_cast<int>(i);
    return -1;
}

int NormalisePlacement(int code)
{
    return code >= 0 && code <= 6 ? code : 0;
}

POINT PlacementCorner(int code, POINT anchor, SIZE size)
{
    const LONG x = anchor.x, y = anchor.y, w = size.cx, h = size.cy;
    switch (NormalisePlacement(code)) {
    case 1: return {x - w, y - h / 2};
    case 2: return {x - w, y};
    case 3: return {x - w / 2, y};
    case 4: return {x, y};
    case 5: return {x, y - h / 2};
    case 6: return {x, y - h};
    default: return {x - w, y - h};
    }
}

std::vector<int> FallbackPlacements(int code)
{
    static const int kOrder[7][5] = {
        {6, 2, 4, 1, 5}, {5, 0, 2, 6, 4}, {4, 0, 6, 1, 5}, {4, 2, 6, 0, 1},
        {2, 6, 0, 5, 1}, {1, 6, 4, 0, 2}, {0, 4, 2, 5, 1},
    };
    const int* row = kOrder[NormalisePlacement(code)];
    return std::vector<int>(row, row + 5);
}

namespace {

// -1 for codes that open to the left of the anchor, 1 to the right, 0 centred.
int Side(int code)
{
    return code <= 2 ? -1 : code == 3 ? 0 : 1;
}

RECT RectAt(POINT corner, SIZE size)
{
    return {corner.x, corner.y, corner.x + size.cx, corner.y + size.cy};
}

bool Inside(const RECT& rect, const RECT& area)
{
    return rect.left >= area.left && rect.top >= area.top && rect.right <= area.right && rect.bottom <= area.bottom;
}

}  // namespace

RECT PlaceMenu(const PlacementRequest& r)
{
    const int code = NormalisePlacement(r.code);
    const RECT chosen = RectAt(PlacementCorner(code, r.anchor, r.size), r.size);
    if (Inside(chosen, r.workArea))
        return chosen;
    for (int fallback : FallbackPlacements(code)) {
        POINT anchor = r.anchor;
        if (r.hasExclusion && Side(fallback) * Side(code) < 0)
            anchor.x = r.exclusion.left + r.exclusion.right - anchor.x;
        const RECT rect = RectAt(PlacementCorner(fallback, anchor, r.size), r.size);
        if (Inside(rect, r.workArea))
            return rect;
    }
    // Nothing fits: keep the chosen rectangle but on the screen, so every entry can be reached.
    RECT moved = chosen;
    const LONG dx = std::max(r.workArea.left - moved.left, std::min<LONG>(0, r.workArea.right - moved.right));
    const LONG dy = std::max(r.workArea.top - moved.top, std::min<LONG>(0, r.workArea.bottom - moved.bottom));
    OffsetRect(&moved, dx, dy);
    return moved;
}

}  // namespace skelda::menu
