// Counting the process's live GDI objects, for leak checks.
#include <algorithm>

#include "GdiObjects.h"

namespace testsupport {

DWORD GdiObjectCount()
{
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return count;
    // Wine has no answer above: count the entries of the process's GDI handle table, whose
    // type byte is non-zero while the object lives.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"  // the TEB read through the gs segment
#endif
    auto* teb = reinterpret_cast<BYTE*>(NtCurrentTeb());
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    BYTE* peb = *reinterpret_cast<BYTE**>(teb + 0x60);
    const BYTE* table = peb ? *reinterpret_cast<BYTE**>(peb + 0xF8) : nullptr;
    if (!table)
        return 0;
    MEMORY_BASIC_INFORMATION region{};
    if (!VirtualQuery(table, &region, sizeof(region)))
        return 0;
    const size_t available = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize - table;
    constexpr size_t kEntrySize = 24, kTypeOffset = 14, kMaxEntries = 0x10000;
    const size_t entries = std::min(kMaxEntries, available / kEntrySize);
    DWORD count = 0;
    for (size_t i = 0; i < entries; ++i)
        if (table[i * kEntrySize + kTypeOffset] != 0)
            ++count;
    return count;
}

}  // namespace testsupport
