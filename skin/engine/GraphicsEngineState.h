#pragma once
// The one graphics engine of the process, shared by the facade, the bitmap utilities and the
// skinned dialogs.
#include <windows.h>
#include <msxml2.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <win/ComPtr.h>
#include "QorEngineUserInterface.h"
#include "QorText_API.h"

namespace skelda {

struct GraphicsEngineState {
    std::string applicationName;
    std::string clientRegistryKey;
    DWORD languageId = 0;

    std::string parentFolder;  // ends in a backslash once set; empty for a resource library
    std::string defaultParentFolder, defaultGraphicsFile, defaultTextFile;
    std::string graphicsFilePath, textFilePath;

    bool promptForGraphics = false, promptForText = false;
    bool allowEditingGraphics = false, allowEditingText = false;
    bool showGraphicsErrors = false, showTextErrors = false;
    bool useDefaultGraphics = true, useDefaultText = true;
    QorDebugOptions debug;
    bool graphicsChanged = false, textChanged = false;

    win::ComPtr<IXMLDOMDocument> graphicsDocument;
    HMODULE bitmapModule = nullptr;
    win::ComPtr<IXMLDOMNode> templatesNode;
    std::vector<std::pair<std::string, win::ComPtr<IXMLDOMNode>>> buttonTemplates;
    QorText_API text;
    // Button outlines by picture file and transparent colour: the buttons that share a
    // picture (a template's digits, launchers, tabs) share one tracing of it.
    std::map<std::pair<std::string, COLORREF>, HRGN> outlines;

    // Releases the document, the templates, the text document and the outlines.
    void ReleaseDocuments();
};

GraphicsEngineState& EngineState();

// The installed user-interface surface, or the built-in windows.
QorEngineUserInterface& EngineUserInterface();

// A new region holding the outline of `bitmap`, the picture of file `path`, cut at
// `transparent`: traced at the first request for that file and colour, copied afterwards.
// Null when the picture has no opaque pixel.
HRGN CopyOfPictureOutline(const std::string& path, HBITMAP bitmap, COLORREF transparent);
// Forgets the outlines of file `path` (its picture was replaced).
void ForgetPictureOutline(const std::string& path);

// The first button template named `name` (exact match), or null.
IXMLDOMNode* FindButtonTemplate(const std::string& name);

}  // namespace skelda
