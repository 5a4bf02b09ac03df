#include "FileName.h"

#include <cwchar>

namespace scrivet {

HRESULT CheckFileName(const wchar_t* name)
{
    if (!name)
        return E_POINTER;
    if (std::wcslen(name) > kMaxNameLength)
        return kNameTooLong;
    char ansi[kMaxNameLength];
    if (WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, sizeof ansi, nullptr, nullptr) == 0)
        return kNameNotConvertible;
    return S_OK;
}

}  // namespace scrivet
