#include "TestSupport.h"

#include <cstdio>

namespace testsupport {

bool RegisterTestBedFilters()
{
    std::string output;
    const int code = RunProcess("\"" + ModuleDir() + "vcapinstall.exe\" register", &output);
    if (code != 0)
        std::fprintf(stderr, "vcapinstall register: exit %d: %s\n", code, output.c_str());
    return code == 0;
}

}  // namespace testsupport
