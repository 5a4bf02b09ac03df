// A resident hidden window that keeps Wine's desktop process warm during a test run, so each
// GUI or COM test does not pay for explorer starting again. Ends when wineserver is killed.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    HWND window = CreateWindowExA(0, "STATIC", "wine-keepalive", WS_POPUP, 0, 0, 1, 1,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
