#include "MarovinProcess.h"

#include "TestSupport.h"

namespace marovintest {

Running::Running() = default;

Running::~Running()
{
    if (info.hProcess && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(info.hProcess, 9);
    if (thread) {
        WaitForSingleObject(thread, 15000);
        CloseHandle(thread);
    }
    if (started)
        CloseHandle(started);
    if (info.hProcess) {
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
}

std::string Running::Output()
{
    win::AutoLock hold(lock);
    return output;
}

namespace {

DWORD WINAPI DebugLoop(void* parameter)
{
    Running& running = *static_cast<Running*>(parameter);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::string command = "\"" + running.exe + "\"";
    running.ok = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE,
                                DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup,
                                &running.info) != FALSE;
    SetEvent(running.started);
    if (!running.ok)
        return 0;
    for (;;) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, 1000)) {
            // A quiet program (a long recording writes no lines) is still running: leaving
            // this loop would end the debugging thread and the program with it.
            if (WaitForSingleObject(running.info.hProcess, 0) == WAIT_OBJECT_0)
                break;
            continue;
        }
        DWORD status = DBG_CONTINUE;
        if (event.dwDebugEventCode == OUTPUT_DEBUG_STRING_EVENT &&
            !event.u.DebugString.fUnicode) {
            std::string text(event.u.DebugString.nDebugStringLength, '\0');
            SIZE_T got = 0;
            ReadProcessMemory(running.info.hProcess, event.u.DebugString.lpDebugStringData,
                              text.data(), text.size(), &got);
            text.resize(got > 0 ? got - 1 : 0);
            win::AutoLock hold(running.lock);
            running.output += text;
        } else if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT &&
                   event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
            status = DBG_EXCEPTION_NOT_HANDLED;
        } else if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) {
            CloseHandle(event.u.CreateProcessInfo.hFile);
        } else if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT) {
            CloseHandle(event.u.LoadDll.hFile);
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT)
            break;
    }
    return 0;
}

}  // namespace

bool Start(const std::string& exe, Running& running)
{
    running.exe = exe;
    running.started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    running.thread = CreateThread(nullptr, 0, DebugLoop, &running, 0, nullptr);
    if (!running.thread)
        return false;
    WaitForSingleObject(running.started, 30000);
    return running.ok;
}

HWND WaitForMainWindow(DWORD timeoutMs)
{
    HWND found = nullptr;
    testsupport::PumpMessages(timeoutMs, [&found] {
        found = FindWindowA("#32770", "Marovin");
        return found != nullptr && IsWindowVisible(found);
    });
    return found;
}

bool WaitForExit(const Running& running, DWORD timeoutMs, DWORD* code)
{
    if (WaitForSingleObject(running.info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(running.info.hProcess, code);
    return true;
}

std::string Describe(Running& running)
{
    struct Search {
        DWORD process;
        std::string text;
    } search{running.info.dwProcessId, {}};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s.process)
                return TRUE;
            char className[64] = {};
            char title[128] = {};
            GetClassNameA(window, className, sizeof className);
            GetWindowTextA(window, title, sizeof title);
            s.text += std::string("window \"") + className + "\" \"" + title + "\"" +
                      (IsWindowVisible(window) ? " visible" : "") +
                      (IsWindowEnabled(window) ? "" : " disabled") + "\n";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.text + "output:\n" + running.Output();
}

bool WaitForOutput(Running& running, const std::string& text, DWORD timeoutMs)
{
    return testsupport::PumpMessages(timeoutMs, [&] { return running.Output().find(text) != std::string::npos; });
}

}  // namespace marovintest
