#pragma once
// What the graphics engine asks of the user: the debug options, the graphics file prompt,
// the save dialog and message boxes. The engine shows real windows by default; a client (or a
// test) may install its own surface.
#include <string>

#include "SkeldaExport.h"

// The three switches of the "Graphics Debug Options" dialog.
struct QorDebugOptions {
    bool reportMissingBitmaps = false;     // check box 1045
    bool assertOnMissingXmlEntries = false;  // check box 1046; kept for the editor, not read
    bool reportLoadFailures = false;       // check box 1047
};

class SKELDA_API QorEngineUserInterface {
public:
    virtual ~QorEngineUserInterface() = default;
    // "Graphics Debug Options": true on OK with the check states in `options`.
    virtual bool AskDebugOptions(QorDebugOptions* options) = 0;
    // "Choose Graphics Script File": true on OK with the edited path.
    virtual bool ChooseGraphicsScriptFile(std::string* path) = 0;
    // A file-save dialog for XML files on `current`; true with a chosen name.
    virtual bool ChooseSaveFile(const std::string& current, std::string* chosen) = 0;
    // A message box (an empty caption means none); returns the button pressed.
    virtual int ShowMessage(const std::string& text, const std::string& caption, unsigned style) = 0;
};

// Installs `surface` (null restores the built-in windows); returns the previous one, null for
// the built-in windows. The engine does not take ownership.
SKELDA_API QorEngineUserInterface* QorSetEngineUserInterface(QorEngineUserInterface* surface);
