#include "TestSupport.h"

#include <vector>

namespace testsupport {

namespace {

struct Handle {
    HANDLE h = nullptr;
    ~Handle() { if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h); }
};

}  // namespace

int RunProcess(const std::string& command_line, std::string* output, DWORD timeout_ms)
{
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    Handle read_end, write_end;
    if (!CreatePipe(&read_end.h, &write_end.h, &sa, 0))
        return -1;
    SetHandleInformation(read_end.h, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = write_end.h;
    si.hStdError = write_end.h;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::vector<char> cmd(command_line.begin(), command_line.end());
    cmd.push_back('\0');
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return -1;
    Handle process{pi.hProcess}, thread{pi.hThread};
    CloseHandle(write_end.h);
    write_end.h = nullptr;

    std::string collected;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(read_end.h, buffer, sizeof(buffer), &got, nullptr) && got)
        collected.append(buffer, got);
    if (output)
        *output = collected;

    if (WaitForSingleObject(process.h, timeout_ms) != WAIT_OBJECT_0) {
        TerminateProcess(process.h, 1);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.h, &code);
    return static_cast<int>(code);
}

}  // namespace testsupport
