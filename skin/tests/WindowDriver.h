#pragma once
// Drives real dialogs from a second thread while the thread under test runs them modally:
// waits for a top-level window of this process, lets a test act on it, records what it saw.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace enginetest {

// All texts of a window's children, in order (a message box's text is among them).
std::vector<std::string> ChildTexts(HWND window);

// Waits up to `timeoutMs` for a visible top-level window of this process whose title is
// `title` (or, with an empty title, any dialog whose child texts include `text`), then runs
// `act` on it. `found` tells afterwards whether the window appeared.
class WindowDriver {
public:
    WindowDriver(std::string title, std::string text, std::function<void(HWND)> act, DWORD timeoutMs = 15000);
    ~WindowDriver();
    bool Found();  // joins the driver thread

private:
    std::thread thread_;
    bool found_ = false;
};

}  // namespace enginetest
