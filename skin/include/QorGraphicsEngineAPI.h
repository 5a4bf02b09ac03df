#pragma once
// The skin framework's graphics engine. The facade holds no data: every object addresses the
// one engine of the process. Start it once before the first skinned dialog and shut it down
// after the last one is closed.
#include <windows.h>
#include <msxml2.h>

#include <string>

#include "QorEngineUserInterface.h"
#include "SkeldaExport.h"

class SKELDA_API QorGraphicsEngineAPI {
public:
    QorGraphicsEngineAPI() = default;
    ~QorGraphicsEngineAPI() = default;

    // Decides the skin and text files (per-application settings, then `clientRegistryKey`'s
    // values, then the "Skins\Skin" folder next to the executable), opens the text file and
    // loads the graphics document. False when the engine cannot run; the client treats that
    // as fatal.
    bool InitializeGraphicsEngine(const std::string& applicationName, const std::string& clientRegistryKey,
                                  DWORD languageId);
    // Offers to save edited graphics and text, then releases documents, templates and the
    // bitmap library. Always true.
    bool ShutdownCleanup();

    bool GetText(int textId, std::string* text);
    // Shows the skinned message box modally (message and caption each only when not null;
    // `style` the Win32 message box flags) and returns the id of the button pressed, as the
    // system's message box does. Without a skin to draw it, the system's box stands in.
    int QorMessageBox(const char* message, const char* caption, UINT style, bool centerText);
    // Loads a bitmap named as in the skin file (relative to the skin folder, or a resource
    // of the skin's resource library); the caller deletes it.
    bool GetBitmap(const std::string& path, HBITMAP* bitmap);

    // What the running engine decided, for the editing mode and for diagnostics.
    std::string GetGraphicsFilePath();
    std::string GetTextFilePath();
    std::string GetParentFolder();  // ends in a backslash; empty for a resource library
    QorDebugOptions GetDebugOptions();
    // The graphics document; the caller releases it. False when none is loaded.
    bool GetGraphicsDocument(IXMLDOMDocument** document);
    // The first button template of that name in document order; the caller releases it.
    bool GetButtonTemplate(const std::string& name, IXMLDOMNode** element);
    int GetButtonTemplateCount();
    // Set by the editing mode so that shutdown offers to save.
    void SetGraphicsChanged(bool changed);
    void SetTextChanged(bool changed);
    bool GetGraphicsChanged();
    bool GetTextChanged();  // the engine's flag or the text library's own
    // Every open skinned dialog writes its edits into the graphics document.
    bool WriteOpenDialogEdits();
    // With changes and a document: the open dialogs write their edits, the designer chooses the
    // file (on the current one) and the document is saved through a temporary file that then
    // replaces it, so that a failed save leaves the old file whole. Reports the outcome; only a
    // successful save clears the changes.
    bool SaveGraphicsWork();
    // The text document, the same way; clears the text changes on success.
    bool SaveTextWork();
};
