// Never ends: the harness must stop it at its timeout and report it as failed.
#include <windows.h>
#include <cstdio>

int main()
{
    std::puts("hang_canary: sleeping forever");
    std::fflush(stdout);
    Sleep(INFINITE);
    return 0;
}
