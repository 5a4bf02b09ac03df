#pragma once
// The text library's process-wide state: the document, its tables and where it came from.
#include <windows.h>
#include <msxml2.h>

#include <string>

#include <win/ComPtr.h>
#include "QorTextUserInterface.h"
#include "TextTables.h"

namespace lorvane {

// Settings read per application when a file is opened.
struct TextLibrarySettings {
    std::string storedPath;
    bool useDefaultTextFile = true;
    bool promptForTextFile = false;
    bool showTextErrorDialogs = false;
    bool allowEditingText = false;
};

struct TextLibraryState {
    win::ComPtr<IXMLDOMDocument> document;
    TextTables tables;
    std::string currentPath;
    TextLibrarySettings settings;
    bool alternateEncoding = false;
    DWORD alternateId = 0;
    bool changed = false;
    bool assertTextEntries = false;

    void Release();
};

TextLibraryState& State();

// The installed user-interface surface, or the built-in windows.
QorTextUserInterface& UserInterface();

// Reads the settings of `applicationName`; a missing value is written back with its default
// (which succeeds only when the application's key exists).
TextLibrarySettings ReadTextLibrarySettings(const std::string& applicationName);

}  // namespace lorvane
