// Skelda, the skin framework: module entry point. Loading the library registers the skinned
// controls' window classes and initialises COM (apartment-threaded) on the loading thread, so
// the engine can create its XML documents at once.
#include <windows.h>
#include <objbase.h>

#include "WindowClasses.h"

namespace {

bool g_comInitialised = false;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        skelda::RegisterFrameworkWindowClasses(instance);
        g_comInitialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded by FreeLibrary, not at process exit: undo what loading did.
        skelda::UnregisterFrameworkWindowClasses(instance);
        if (g_comInitialised)
            CoUninitialize();
    }
    return TRUE;
}
