#pragma once
// What the settings pages ask of the main window: its controls, the settings record and
// store, the capture engine, texts and message boxes, and the running preview.
#include <framework/Framework.h>
#include <framework/ProfileStore.h>

#include <string>
#include <vector>

#include "CaptureSettings.h"

namespace capture {
class CaptureGraph;
}

namespace pages {

class PageHost {
public:
    virtual ~PageHost() = default;
    // The main window, which holds every page's controls.
    virtual CWnd& Window() = 0;
    virtual settings::CaptureSettings& Settings() = 0;
    virtual framework::ProfileStore Store() const = 0;
    // Writes the settings record back, the recording folder's free space measured anew.
    virtual void SaveSettings() = 0;
    // The capture engine while its graph is built, else null.
    virtual capture::CaptureGraph* Engine() = 0;
    // Whether the preview graph runs (a change of quality then needs the apply button).
    virtual bool GraphRunning() const = 0;
    virtual bool Recording() const = 0;
    // The input sources the device offers (indexes 0 to 5).
    virtual std::vector<int> AvailableSources() const = 0;
    // A text of the text library.
    virtual std::string Text(int id) = 0;
    // A skinned message box captioned with the application's title; the button pressed.
    virtual int Message(const std::string& text, UINT type) = 0;
    // A page holds a change that the running graph has not taken: the apply button lights.
    virtual void PageChanged() = 0;
    // Rebuilds the running preview so that it takes the settings as they are now.
    virtual void RestartPreview() = 0;
};

}  // namespace pages
