#include "ServerRegistration.h"

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <cwchar>

namespace vcap {
namespace {

std::wstring HexCode(HRESULT hr)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

// What regsvr32 does: load the server and call its entry point, in this process.
bool CallEntryPoint(const std::wstring& path, const char* entry, std::wstring& error)
{
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
        error = path + L": cannot be loaded (error " + std::to_wstring(GetLastError()) + L")";
        return false;
    }
    using EntryPoint = HRESULT(STDAPICALLTYPE*)();
    auto call = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, entry)));
    const HRESULT hr = call ? call() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    FreeLibrary(module);
    if (FAILED(hr)) {
        error = path + L": " + std::wstring(entry, entry + std::strlen(entry)) + L" failed with " + HexCode(hr);
        return false;
    }
    return true;
}

}  // namespace

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    const size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

bool RegisterTestBedServers(const std::wstring& folder, bool unregister, std::wstring& error)
{
    // The servers list themselves with the filter mapper, a COM object.
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = true;
    for (const wchar_t* name : kTestBedServers) {
        const std::wstring path = folder + name;
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            error = path + L": not found";
            ok = false;
            break;
        }
        if (!CallEntryPoint(path, unregister ? "DllUnregisterServer" : "DllRegisterServer", error)) {
            ok = false;
            break;
        }
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return ok;
}

}  // namespace vcap
