#pragma once
// The items of an extended dialog template (DIALOGEX), and a copy of the template without
// some of them. A skinned dialog replaces most of its buttons and labels by windows of the
// skin's own classes; when those items are left out of the template that the dialog manager
// reads, the dialog can create each of them once, as the skin's window, instead of the dialog
// manager creating a window that is destroyed again at once.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "SkeldaExport.h"

namespace skelda {

struct DialogTemplateItem {
    size_t index = 0;  // place among all the template's items (their z-order and tab order)
    DWORD helpId = 0, exStyle = 0, style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    DWORD id = 0;
    std::wstring className;  // predefined classes by name ("Button", "Static", ...)
    std::wstring text;       // a resource ordinal as "#n", as the dialog manager passes it
    std::vector<BYTE> creationData;  // the item's extra bytes, after their byte count
};

// Splits the extended template `data` of `size` bytes: `kept` receives a copy holding only
// the items `takeOut` refuses, `takenOut` the others in template order. False, and both
// outputs empty, for a plain (not extended) or damaged template.
SKELDA_API bool SplitDialogTemplate(const void* data, size_t size,
                                    const std::function<bool(const DialogTemplateItem&)>& takeOut,
                                    std::vector<BYTE>* kept, std::vector<DialogTemplateItem>* takenOut);

}  // namespace skelda
