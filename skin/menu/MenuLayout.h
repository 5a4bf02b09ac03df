#pragma once
// The arithmetic of the skinned menu: which radio button shows which entry, where entries
// and separators go, and where the menu opens on the screen for a placement code, with the
// fallbacks when it would not fit the work area. Pure logic.
#include <windows.h>

#include <vector>

namespace skelda::menu {

// A menu shows at most this many entries: one per radio button of its template.
constexpr int kMaxEntries = 41;
constexpr int kFirstEntryId = 1224;
constexpr int kUnusedEntryId = 1244;
// Height of the band a separator takes between two entries.
constexpr int kSeparatorBand = 9;

// The radio button id of entry `index` (1224 to 1243, then 1245 to 1265); 0 outside.
int EntryControlId(int index);
// The entry index of a radio button id; -1 for other ids.
int EntryIndexOfControl(int controlId);

struct MenuMetrics {
    int left = 0, top = 0, right = 0, bottom = 0;  // margins around the entries
    int spaceBetween = 0;                          // gap between neighbouring entries
    SIZE entry{0, 0};                              // every entry's size
    int minWidth = 0, minHeight = 0;               // the skin's smallest face
};

struct MenuLayout {
    SIZE size{0, 0};
    std::vector<RECT> entries;     // client coordinates
    std::vector<int> separators;   // the y of each separator's line, in the order given
};

// Entries top to bottom; each separator (the index of the entry that follows it) takes a band
// before that entry. A separator with no entry after it is not drawn.
MenuLayout LayOutMenu(const MenuMetrics& metrics, int entryCount, const std::vector<int>& separatorsBefore);

// The entry under a client point, -1 for none (margins, gaps and separators).
int EntryAt(const MenuLayout& layout, POINT client);

// Codes outside 0..6 count as 0.
int NormalisePlacement(int code);
// The menu's top-left corner for a placement code around `anchor`:
// 0 (x-w, y-h), 1 (x-w, y-h/2), 2 (x-w, y), 3 (x-w/2, y), 4 (x, y), 5 (x, y-h/2), 6 (x, y-h).
POINT PlacementCorner(int code, POINT anchor, SIZE size);
// The codes tried after `code` when the menu does not fit: the mirror images first (the other
// side, then above instead of below), then the side's middle. Five of them.
std::vector<int> FallbackPlacements(int code);

struct PlacementRequest {
    int code = 0;
    POINT anchor{0, 0};
    SIZE size{0, 0};
    RECT workArea{};
    bool hasExclusion = false;  // a rectangle the menu should open beside (its parent menu)
    RECT exclusion{};
};

// The menu's screen rectangle: the code's, or the first fallback that fits the work area.
// A fallback on the other side of an exclusion rectangle is anchored at its mirror image, so
// a sub-menu flips to the other side of its parent. When nothing fits, the code's rectangle
// is moved inside the work area as far as its size allows.
RECT PlaceMenu(const PlacementRequest& request);

}  // namespace skelda::menu
