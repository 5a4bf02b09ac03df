#include "VcapctlRunner.h"

#include "TestSupport.h"

namespace testsupport {

DWORD RunVcapctl(const std::string& args, DWORD timeout_ms)
{
    std::string cmd = "\"" + ModuleDir() + "vcapctl.exe\" " + args;
    // The child (and whatever Wine starts on its behalf) gets its own output handles, so
    // nothing outlives the test holding ctest's pipe.
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = nul;
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    if (nul != INVALID_HANDLE_VALUE)
        CloseHandle(nul);
    if (!started)
        return 0xFFFFFFFF;
    const bool ended = PumpMessages(timeout_ms, [&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; });
    DWORD code = 0xFFFFFFFF;
    if (ended)
        GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

}  // namespace testsupport
