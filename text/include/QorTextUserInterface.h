#pragma once
// What the text library asks of the user: its start-up prompt, the save dialog and its
// message boxes. The library shows real windows by default; a client (or a test) may install
// its own surface.
#include <string>

#include "LorvaneExport.h"

class LORVANE_API QorTextUserInterface {
public:
    virtual ~QorTextUserInterface() = default;
    // "Choose Text Script File": true on OK with the edited path.
    virtual bool ChooseTextScriptFile(std::string* path) = 0;
    // A file-save dialog for XML files on `current`; true with a chosen name.
    virtual bool ChooseSaveFile(const std::string& current, std::string* chosen) = 0;
    // A message box; returns the button pressed.
    virtual int ShowMessage(const std::string& text, const std::string& caption, unsigned style) = 0;
};

// Installs `surface` (null restores the built-in windows); returns the previous one, null
// for the built-in windows. The library does not take ownership.
LORVANE_API QorTextUserInterface* QorSetTextUserInterface(QorTextUserInterface* surface);
