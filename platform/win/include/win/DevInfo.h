#pragma once
// Owner of a SetupAPI device information set (link setupapi where it is used).
#include <windows.h>
#include <setupapi.h>

#include "win/Owned.h"

namespace win {

struct DevInfoTraits {
    using Raw = HDEVINFO;
    static Raw Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Raw h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(Raw h) { SetupDiDestroyDeviceInfoList(h); }
};
using DevInfoList = Owned<DevInfoTraits>;

}  // namespace win
