// A resident hidden window that keeps Wine's desktop process warm during a test run, so each
// GUI or COM test does not pay for explorer starting again. Ends when wineserver is killed.
// With "--warm" it only creates its window and exits: run in the foreground first, it makes
// Wine start the desktop process on its own (silent) standard handles rather than on those of
// the first test, which would keep ctest waiting for that test's output to end.
// With a file name as its argument it creates that file once its window exists, so the
// runner can wait until the resident window is there.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    HWND window = CreateWindowExA(0, "STATIC", "wine-keepalive", WS_POPUP, 0, 0, 1, 1,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    if (commandLine && std::strstr(commandLine, "--warm")) {
        DestroyWindow(window);
        return 0;
    }
    if (commandLine && *commandLine) {
        HANDLE ready = CreateFileA(commandLine, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (ready != INVALID_HANDLE_VALUE)
            CloseHandle(ready);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
