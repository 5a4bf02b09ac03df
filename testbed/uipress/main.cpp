// uipress: presses a control of a running program's dialog window, as a user's click would
// reach it, for the demo and scripts.
//   uipress TITLE ID     posts WM_COMMAND ID to the dialog titled TITLE; exit 1 when none
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: uipress TITLE ID\n");
        return 2;
    }
    HWND window = FindWindowA("#32770", argv[1]);
    if (!window) {
        std::fprintf(stderr, "uipress: no window titled %s\n", argv[1]);
        return 1;
    }
    const int id = std::atoi(argv[2]);
    return PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0) ? 0 : 1;
}
