#pragma once
// Owners of kernel handles (files, events, threads, semaphores, mutexes) and registry keys.
#include <windows.h>

#include "win/Owned.h"

namespace win {

// Null and INVALID_HANDLE_VALUE both mean "no handle", as Win32 APIs return either.
struct HandleTraits {
    using Raw = HANDLE;
    static Raw Empty() { return nullptr; }
    static bool IsValid(Raw h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(Raw h) { CloseHandle(h); }
};
using Handle = Owned<HandleTraits>;

struct RegKeyTraits {
    using Raw = HKEY;
    static Raw Empty() { return nullptr; }
    static bool IsValid(Raw h) { return h != nullptr; }
    static void Free(Raw h) { RegCloseKey(h); }
};
using RegKey = Owned<RegKeyTraits>;

struct GdiObjectTraits {
    using Raw = HGDIOBJ;
    static Raw Empty() { return nullptr; }
    static bool IsValid(Raw h) { return h != nullptr; }
    static void Free(Raw h) { DeleteObject(h); }
};
using GdiObject = Owned<GdiObjectTraits>;

}  // namespace win
