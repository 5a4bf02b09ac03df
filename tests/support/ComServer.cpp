#include "TestSupport.h"

namespace testsupport {

bool RegisterModuleServer(const std::string& fileName)
{
    HMODULE module = LoadLibraryA((ModuleDir() + fileName).c_str());
    if (!module)
        return false;
    using Register = HRESULT(STDAPICALLTYPE*)();
    auto reg = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
    const bool ok = reg && SUCCEEDED(reg());
    FreeLibrary(module);
    return ok;
}

}  // namespace testsupport
