#pragma once
// Marovin.exe started as a real process by a test that reads its debug output as its
// debugger, the way the system delivers OutputDebugString text.
#include <windows.h>

#include <string>

#include <win/Lock.h>

namespace marovintest {

struct Running {
    PROCESS_INFORMATION info{};
    HANDLE thread = nullptr;
    HANDLE started = nullptr;
    std::string exe;
    win::CritSec lock;
    std::string output;
    bool ok = false;

    Running();
    ~Running();
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    std::string Output();
};

// Starts `exe` under this test's debugging; false when it did not start.
bool Start(const std::string& exe, Running& running);
// The visible main window, null when it did not appear in time (messages are pumped).
HWND WaitForMainWindow(DWORD timeoutMs);
bool WaitForExit(const Running& running, DWORD timeoutMs, DWORD* code);
// What a program that did not end shows: its top-level windows and its debug output, for the
// failure message.
std::string Describe(Running& running);
// Pumps messages until the program's debug output holds `text`.
bool WaitForOutput(Running& running, const std::string& text, DWORD timeoutMs);

}  // namespace marovintest
