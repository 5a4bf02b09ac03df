// The smallest windowed program: the baseline for Marovin's start-up time under Wine.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    MessageBoxA(nullptr, "Baseline", "TrivialStart", MB_OK);
    return 0;
}
