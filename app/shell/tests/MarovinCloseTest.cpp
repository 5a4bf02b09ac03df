// Every way of closing the main window runs the same shut-down sequence: the close button,
// WM_CLOSE, the X key, and IDOK and IDCANCEL (what the dialog manager makes of a default
// button). The Enter and Esc keys belong to the keyboard's table and do not close it.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "MarovinInput.h"
#include "MarovinProcess.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

constexpr int kCloseButton = 1043;
constexpr int kNoVideoLabel = 1338;

enum class Way { CloseButton, CloseMessage, OkCommand, CancelCommand, ExitKey, EnterKey, EscKey };

const char* Name(Way way)
{
    switch (way) {
    case Way::CloseButton: return "close button";
    case Way::CloseMessage: return "WM_CLOSE";
    case Way::OkCommand: return "IDOK";
    case Way::CancelCommand: return "IDCANCEL";
    case Way::ExitKey: return "X";
    case Way::EnterKey: return "Enter";
    case Way::EscKey: return "Esc";
    }
    return "";
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
    bool keyTaken = false;
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
    case Way::OkCommand:
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        break;
    case Way::CancelCommand:
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        break;
    case Way::ExitKey:
        if (BringForward(window))
            PressKey('X');
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
    if (way == Way::EnterKey || way == Way::EscKey) {
        // The key's command is in the output once it was taken; the window must outlive it.
        const std::string taken = way == Way::EnterKey ? "key command 32789: nothing" : "key command 32801: nothing";
        run.keyTaken = WaitForOutput(marovin, taken, 15000);
        run.exited = WaitForExit(marovin, 1500, &run.code);
        PostMessageA(window, WM_CLOSE, 0, 0);
        WaitForExit(marovin, 15000, nullptr);
        run.output = marovin.Output();
        return run;
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

    for (Way way : {Way::CloseMessage, Way::OkCommand, Way::CancelCommand, Way::ExitKey}) {
        const ClosedRun run = StartAndClose(way);
        ASSERT_TRUE(run.exited) << Name(way) << " did not end the program\n" << run.output;
        EXPECT_EQ(run.code, 0u) << Name(way);
        EXPECT_EQ(run.lines, button.lines) << Name(way) << "\n" << run.output;
    }
}

TEST(MarovinClose, EnterAndEscAreKeyCommandsThatLeaveTheWindowOpen)
{
    for (Way way : {Way::EnterKey, Way::EscKey}) {
        const ClosedRun run = StartAndClose(way);
        EXPECT_TRUE(run.keyTaken) << Name(way) << " did not reach its command\n" << run.output;
        EXPECT_FALSE(run.exited) << Name(way) << " ended the program\n" << run.output;
    }
}

}  // namespace
