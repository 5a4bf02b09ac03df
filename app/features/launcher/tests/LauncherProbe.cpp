// Started by the launcher tests: writes "<its own name>.started" beside itself with the
// command line it got and the folder it runs in, then ends.
#include <windows.h>

#include <cstdio>
#include <string>

int main()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    const std::string marker = std::string(self) + ".started";
    if (FILE* f = std::fopen(marker.c_str(), "w")) {
        std::fprintf(f, "%s\n%s\n", GetCommandLineA(), folder);
        std::fclose(f);
    }
    return 0;
}
