#pragma once
// What the tests of Marovin's companion dialogs share: finding the program's dialogs and
// message boxes, reading their texts, and the program's registry values.
#include <windows.h>

#include <set>
#include <string>

#include "MarovinProcess.h"

namespace marovintest {

constexpr DWORD kDialogWaitMs = 20000;

// A visible dialog of the program that owns `main` and is none of `known`; null when none
// appeared within `timeoutMs` (messages are pumped meanwhile).
HWND NewDialog(HWND main, const std::set<HWND>& known, DWORD timeoutMs);
// The same by the program's process, for dialogs shown after its main window has gone.
HWND NewDialogOf(DWORD process, const std::set<HWND>& known, DWORD timeoutMs);
// Whether `window` was closed or hidden within the wait.
bool Gone(HWND window, DWORD timeoutMs = kDialogWaitMs);
std::string ItemText(HWND dialog, int id);
// The text of a message box.
inline std::string BoxText(HWND box) { return ItemText(box, 0xFFFF); }
// How often `text` occurs in the program's debug output so far.
size_t Count(Running& running, const std::string& text);

// Values under HKEY_CURRENT_USER; a missing number reads 0xFFFFFFFF, a missing string "".
void SetString(const std::string& key, const char* name, const std::string& value);
std::string GetString(const std::string& key, const char* name);
void SetNumber(const std::string& key, const char* name, DWORD value);
DWORD GetNumber(const std::string& key, const char* name);

}  // namespace marovintest
