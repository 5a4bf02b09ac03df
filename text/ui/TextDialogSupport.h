#pragma once
// What the text library's editing dialogs share: the module their templates live in, and how
// a refused entry is told.
#include <windows.h>

#include <string>

#include <framework/Framework.h>
#include "TextLibraryState.h"

namespace lorvane {

// The library's own module, whichever program loaded it: the dialogs' templates are there.
inline HINSTANCE TextDialogModule()
{
    return AfxModuleOfAddress(reinterpret_cast<const void*>(&TextDialogModule));
}

inline void ShowRefusal(const std::string& message, const std::string& caption)
{
    UserInterface().ShowMessage(message, caption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace lorvane
