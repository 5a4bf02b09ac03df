#include "TestSupport.h"

#include <vector>

#include <win/Handle.h>

namespace testsupport {

int RunProcess(const std::string& command_line, std::string* output, DWORD timeout_ms)
{
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    win::Handle read_end, write_end;
    if (!CreatePipe(read_end.Put(), write_end.Put(), &sa, 0))
        return -1;
    SetHandleInformation(read_end.Get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = write_end.Get();
    si.hStdError = write_end.Get();
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::vector<char> cmd(command_line.begin(), command_line.end());
    cmd.push_back('\0');
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return -1;
    win::Handle process(pi.hProcess), thread(pi.hThread);
    write_end.Reset();

    std::string collected;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(read_end.Get(), buffer, sizeof(buffer), &got, nullptr) && got)
        collected.append(buffer, got);
    if (output)
        *output = collected;

    if (WaitForSingleObject(process.Get(), timeout_ms) != WAIT_OBJECT_0) {
        TerminateProcess(process.Get(), 1);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    return static_cast<int>(code);
}

}  // namespace testsupport
