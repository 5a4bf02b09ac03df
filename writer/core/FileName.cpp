#include "FileName.h"

#include <objbase.h>

#include <cstring>
#include <cwchar>
#include <new>

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

HRESULT RecordingName::Set(const wchar_t* name)
{
    const HRESULT check = CheckFileName(name);
    if (check != S_OK)
        return check;
    try {
        std::wstring copy(name);
        win::AutoLock hold(lock_);
        name_.swap(copy);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

std::wstring RecordingName::Get() const
{
    try {
        win::AutoLock hold(lock_);
        return name_;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

HRESULT RecordingName::CopyTo(LPOLESTR* out) const
{
    win::AutoLock hold(lock_);
    *out = nullptr;
    if (name_.empty())
        return S_OK;
    const size_t bytes = (name_.size() + 1) * sizeof(wchar_t);
    *out = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!*out)
        return E_OUTOFMEMORY;
    std::memcpy(*out, name_.c_str(), bytes);
    return S_OK;
}

}  // namespace scrivet
