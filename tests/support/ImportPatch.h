#pragma once
// Points one import of a loaded module at a replacement for the patch's lifetime: a test can
// make a single system call fail where no input provokes it.
#include <windows.h>

namespace testsupport {

class ScopedImportPatch {
public:
    // `dll` and `function` name the import as `module` records it (the DLL name in any case).
    ScopedImportPatch(HMODULE module, const char* dll, const char* function, void* replacement);
    ~ScopedImportPatch();
    ScopedImportPatch(const ScopedImportPatch&) = delete;
    ScopedImportPatch& operator=(const ScopedImportPatch&) = delete;

    // False when the module does not import the function: the patch does nothing then.
    bool Active() const { return slot_ != nullptr; }

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

}  // namespace testsupport
