#pragma once
// Helpers for tests that drive real windows and processes under Wine.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// Dispatches messages for about `ms` milliseconds, or until `done` answers true.
// Returns whether `done` became true (always true without a predicate).
bool PumpMessages(DWORD ms, const std::function<bool()>& done = {});

// A 24-bit top-down copy of a screen rectangle, as the display shows it now.
struct ScreenImage {
    int width = 0;
    int height = 0;
    std::vector<BYTE> bgr;  // width * height * 3, rows top to bottom, no padding

    COLORREF Pixel(int x, int y) const;
    bool SaveBmp(const std::string& path) const;
    size_t DistinctColours() const;
};

ScreenImage CaptureScreen(const RECT& screen_rect);
ScreenImage CaptureWindow(HWND window);

// Runs a command line to completion and returns its exit code (or -1 when it could not
// start or ran past `timeout_ms`); standard output and error are collected in `output`.
int RunProcess(const std::string& command_line, std::string* output = nullptr,
               DWORD timeout_ms = 60000);

// Folder for a test's artefacts (MAROVIN_TEST_OUT, else the current folder), created on demand,
// ending in a backslash.
std::string OutputDir();

// Folder holding the running executable, ending in a backslash.
std::string ModuleDir();

// Registers the in-process COM server `fileName` of ModuleDir() in the running prefix, as
// regsvr32 would; false when it cannot be loaded or its registration fails.
bool RegisterModuleServer(const std::string& fileName);

}  // namespace testsupport
