#pragma once
// Marovin with one virtual card installed and a recording folder of the test's own: the
// fixture of the end-to-end recording tests, and the registry and message-box helpers they
// share. Recordings the tests make are listed for the probe script.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "MarovinProcess.h"

namespace marovintest {

constexpr char kProgramKey[] = "Software\\Halvark\\Marovin";
constexpr char kCaptureKey[] = "Software\\Halvark\\Marovin\\Capture";
constexpr char kRecentKey[] = "Software\\Halvark\\Marovin\\Recent";
constexpr WPARAM kRecordControl = 1014;

void RemoveAllCards();
void SetString(const char* key, const char* name, const std::string& value);
std::string GetString(const char* key, const char* name);
void SetNumber(const char* key, const char* name, DWORD value);
// A message box of the program in front of its main window: its text, then dismissed.
std::string DismissMessageBox(HWND main, DWORD timeoutMs);
bool Exists(const std::string& path);

class MarovinRecording : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
    // Starts Marovin and waits until its preview runs.
    static void StartPreviewing(Running& running, HWND* window);
    // Closes the window and waits for the program to end.
    static void CloseMarovin(Running& running, HWND window);
    // Presses the record control, waits until `file` records and lets it run for `ms`.
    void StartRecording(Running& running, HWND window, const std::string& file, DWORD ms);
    // Presses the record control and waits for the window to say what happened.
    void Record(Running& running, HWND window, const std::string& file, DWORD ms);
    // Lists a recording of this test for the probe script: its duration in seconds ("-" when
    // unknown) and how far the file may be from it.
    void Manifest(const std::string& file, const char* seconds = "-", const char* tolerance = "0.5");

    std::string test_;
    std::string folder_;
};

}  // namespace marovintest
