// Walks the module's import descriptors in memory to the address slot of one named import.
#include "ImportPatch.h"

namespace testsupport {
namespace {

void** FindImportSlot(HMODULE module, const char* dll, const char* function)
{
    if (!module)
        return nullptr;
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return nullptr;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0 || !d->OriginalFirstThunk)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void Write(void** slot, void* value)
{
    DWORD previous = 0;
    if (VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous)) {
        *slot = value;
        VirtualProtect(slot, sizeof *slot, previous, &previous);
    }
}

}  // namespace

ScopedImportPatch::ScopedImportPatch(HMODULE module, const char* dll, const char* function, void* replacement)
    : slot_(FindImportSlot(module, dll, function))
{
    if (slot_) {
        original_ = *slot_;
        Write(slot_, replacement);
    }
}

ScopedImportPatch::~ScopedImportPatch()
{
    if (slot_)
        Write(slot_, original_);
}

}  // namespace testsupport
