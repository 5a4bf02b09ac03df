#pragma once
// Every message box of the program goes through here, so that all of them take the skin's
// look once the skinned message box can show them, and the plain system box before the skin
// engine runs (or after it failed to start).
#include <windows.h>

#include <string>

namespace shell {

// Shows `text` under `caption` with the buttons and icon of `style` (MB_*), owned by `owner`;
// returns the button pressed (IDOK, IDYES, ...), or 0 when no box could be shown.
int ShowProgramMessage(HWND owner, const std::string& text, const std::string& caption, UINT style);

// Whether the skin engine runs, so that boxes may be skinned; the main window says so.
void SetSkinnedMessagesAvailable(bool available);
bool SkinnedMessagesAvailable();

}  // namespace shell
