// A resident hidden window that keeps Wine's desktop process warm during a test run, so each
// GUI or COM test does not pay for explorer starting again. Ends when wineserver is killed.
// With a file name as its argument it creates that file once its window exists: the
// desktop process then runs, started by this program and not by a test whose output pipe
// it would inherit and hold open.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int)
{
    HWND window = CreateWindowExA(0, "STATIC", "wine-keepalive", WS_POPUP, 0, 0, 1, 1,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    if (command_line && *command_line) {
        HANDLE ready = CreateFileA(command_line, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (ready != INVALID_HANDLE_VALUE)
            CloseHandle(ready);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
