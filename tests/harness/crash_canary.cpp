// Dereferences a null pointer: the harness must report this program as failed.
#include <cstdio>

int main()
{
    std::puts("crash_canary: about to crash");
    std::fflush(stdout);
    volatile int* nowhere = nullptr;
    *nowhere = 42;
    std::puts("crash_canary: survived the crash (harness fault)");
    return 0;
}
