#pragma once
// A virtual card previewed by the capture engine inside a window of the test's own: the
// window's video area shows the picture, its message loop hands the graph events to the
// engine, and its host records what the engine asked of the main window.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CaptureGraph.h"
#include "DeviceModel.h"
#include "TestSupport.h"
#include "VideoStandardEngine.h"

namespace capturetest {

class TestHost : public capture::CaptureHost {
public:
    HWND window = nullptr;
    HWND area = nullptr;
    capture::CaptureGraph* graph = nullptr;
    bool previewOn = true;
    bool captureMode = false;
    std::vector<int> errors;
    std::vector<int> writerStops;
    std::vector<std::string> failures;
    uint64_t written = 0;
    int progressEvents = 0;
    RECT placed{};

    HWND EventWindow() override { return window; }
    HWND VideoArea() override { return area; }
    bool InCaptureMode() override { return captureMode; }
    bool PreviewOn() override { return previewOn; }
    void ReportError(int textId, HRESULT, const char*) override { errors.push_back(textId); }
    void ShowFailure(const std::string& text) override { failures.push_back(text); }
    void PreviewPlaced(const RECT& r) override { placed = r; }
    // The window stops a recording through its record command, as the program's does.
    void WriterStopped(int textId) override
    {
        writerStops.push_back(textId);
        graph->StopRecordingKeepPreview();
    }
    void ShowWrittenSize(uint64_t bytes) override
    {
        written = bytes;
        ++progressEvents;
    }
};

class CaptureCard : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Installs card 1 with `deviceType`, finds it in the device table and hands it to the engine.
    void UseCard(uint32_t deviceType);
    // Starts the preview on composite input 1; false when the engine failed.
    bool StartPreview(bool record = false);
    // Pumps the window's messages (the graph's events included) for `ms`.
    void Run(DWORD ms) { testsupport::PumpMessages(ms); }
    // Pictures the preview's decoder has shown, -1 when it has none.
    long PicturesShown() const;
    // The video area as the screen shows it.
    testsupport::ScreenImage AreaImage() const;
    // The recording's file in this test's output folder.
    std::string OutputFile(const std::string& name) const;
    // Records `seconds` from the running preview into `name` and stops; adds the file to the
    // manifest the probe script checks ("name vcodec width height seconds").
    void RecordClip(const std::string& name, DWORD ms, const char* vcodec, int width, int height);

    std::string profile_;
    settings::CaptureSettings settings_;
    std::unique_ptr<media::VideoStandardEngine> standard_;
    TestHost host_;
    std::unique_ptr<capture::CaptureGraph> graph_;
    vcap::CardRecord card_;
};

// Appends a line to the manifest of recordings for the probe script.
void Manifest(const std::string& line);

}  // namespace capturetest
