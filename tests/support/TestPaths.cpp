#include "TestSupport.h"

#include <cstdlib>

namespace testsupport {

std::string OutputDir()
{
    std::string dir;
    if (const char* env = std::getenv("MAROVIN_TEST_OUT"); env && *env) {
        dir = env;
        // ctest passes a Unix path; Wine maps the root to drive Z:.
        if (dir[0] == '/')
            dir = "Z:" + dir;
    } else {
        dir = ".";
    }
    for (char& c : dir)
        if (c == '/')
            c = '\\';
    if (dir.back() != '\\')
        dir += '\\';
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

std::string ModuleDir()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of("\\/") + 1);
}

}  // namespace testsupport
