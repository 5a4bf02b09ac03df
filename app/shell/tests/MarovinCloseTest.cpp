// Every way of closing the main window runs the same shut-down sequence: the close button,
// WM_CLOSE, and the Enter and Esc keys that the dialog manager turns into IDOK and IDCANCEL.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "MarovinProcess.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

constexpr int kCloseButton = 1043;
constexpr int kNoVideoLabel = 1338;

enum class Way { CloseButton, CloseMessage, EnterKey, EscKey };

const char* Name(Way way)
{
    switch (way) {
    case Way::CloseButton: return "close button";
    case Way::CloseMessage: return "WM_CLOSE";
    case Way::EnterKey: return "Enter";
    case Way::EscKey: return "Esc";
    }
    return "";
}

bool BringForward(HWND window)
{
    return testsupport::PumpMessages(5000, [window] {
        if (GetForegroundWindow() != window)
            SetForegroundWindow(window);
        return GetForegroundWindow() == window;
    });
}

void Send(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PressKey(WORD key)
{
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    INPUT up = down;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    Send({down, up});
}

// A real click in the middle of the control, as the user makes it.
void Click(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1, height = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = ((rect.left + rect.right) / 2) * 65535 / width;
    move.mi.dy = ((rect.top + rect.bottom) / 2) * 65535 / height;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    INPUT down = move;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    INPUT up = move;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    Send({move});
    testsupport::PumpMessages(100);
    Send({down});
    testsupport::PumpMessages(100);
    Send({up});
}

// The program's debug lines from the start of its shut-down sequence to its end.
std::vector<std::string> ShutDownLines(const std::string& output)
{
    std::vector<std::string> lines;
    std::istringstream in(output);
    std::string line;
    bool closing = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        closing = closing || line.rfind("Marovin:  closing:", 0) == 0;
        if (closing && line.rfind("Marovin:  ", 0) == 0)
            lines.push_back(line);
    }
    return lines;
}

struct ClosedRun {
    bool exited = false;
    DWORD code = 99;
    std::vector<std::string> lines;
    std::string output;
};

ClosedRun StartAndClose(Way way)
{
    ClosedRun run;
    Running marovin;
    if (!Start(testsupport::ModuleDir() + "Marovin.exe", marovin))
        return run;
    const HWND window = WaitForMainWindow(30000);
    if (window == nullptr)
        return run;
    // Close once the session has started the preview: its timers then all had their turn.
    const HWND label = GetDlgItem(window, kNoVideoLabel);
    testsupport::PumpMessages(15000, [label] { return IsWindowVisible(label) != FALSE; });
    switch (way) {
    case Way::CloseButton:
        if (BringForward(window))
            Click(GetDlgItem(window, kCloseButton));
        break;
    case Way::CloseMessage:
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case Way::EnterKey:
        if (BringForward(window))
            PressKey(VK_RETURN);
        break;
    case Way::EscKey:
        if (BringForward(window))
            PressKey(VK_ESCAPE);
        break;
    }
    run.exited = WaitForExit(marovin, 15000, &run.code);
    testsupport::PumpMessages(200);
    run.output = marovin.Output();
    run.lines = ShutDownLines(run.output);
    return run;
}

TEST(MarovinClose, EveryWayOfClosingRunsTheSameShutDownSequence)
{
    const ClosedRun button = StartAndClose(Way::CloseButton);
    ASSERT_TRUE(button.exited) << button.output;
    EXPECT_EQ(button.code, 0u);
    // The sessions close first, the skin engine goes with the window.
    const std::vector<std::string> expected = {
        "Marovin:  closing: timers stopped, mode 0",
        "Marovin:  closing: playback session closed",
        "Marovin:  closing: capture and playback released",
        "Marovin:  skin engine shut down",
        "Marovin:  main window destroyed",
    };
    EXPECT_EQ(button.lines, expected) << button.output;

    for (Way way : {Way::CloseMessage, Way::EnterKey, Way::EscKey}) {
        const ClosedRun run = StartAndClose(way);
        ASSERT_TRUE(run.exited) << Name(way) << " did not end the program\n" << run.output;
        EXPECT_EQ(run.code, 0u) << Name(way);
        EXPECT_EQ(run.lines, button.lines) << Name(way) << "\n" << run.output;
    }
}

}  // namespace
