#pragma once
// What the text library's editing dialogs share: the module their templates live in, closing
// up the rows they leave out, and how a refused entry is told.
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

// Moves OK and Cancel up by `shift` pixels and makes the dialog as much shorter: for dialogs
// that leave out the rows an edited element does not keep.
inline void MoveButtonsUp(HWND dialog, int shift)
{
    for (int item : {IDOK, IDCANCEL}) {
        HWND button = ::GetDlgItem(dialog, item);
        RECT rect{};
        ::GetWindowRect(button, &rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        ::SetWindowPos(button, nullptr, rect.left, rect.top - shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    RECT window{};
    ::GetWindowRect(dialog, &window);
    ::SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - shift,
                   SWP_NOMOVE | SWP_NOZORDER);
}

inline void ShowRefusal(const std::string& message, const std::string& caption)
{
    UserInterface().ShowMessage(message, caption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace lorvane
