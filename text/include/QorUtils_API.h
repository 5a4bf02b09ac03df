#pragma once
// Small services of the text library for the editing mode.
#include <string>

#include "LorvaneExport.h"

class LORVANE_API QorUtils_API {
public:
    // "Assign Name to New Control" for control `id`, starting with `*name`; true with the
    // name the designer gave (typed, or found in a resource header) on OK.
    static bool GetNameResourceID(std::string* name, int id);
};
