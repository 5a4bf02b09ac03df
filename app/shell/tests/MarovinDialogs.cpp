#include "MarovinDialogs.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace marovintest {

HWND NewDialog(HWND main, const std::set<HWND>& known, DWORD timeoutMs)
{
    DWORD process = 0;
    GetWindowThreadProcessId(main, &process);
    return NewDialogOf(process, known, timeoutMs);
}

HWND NewDialogOf(DWORD process, const std::set<HWND>& known, DWORD timeoutMs)
{
    struct Search {
        DWORD process = 0;
        const std::set<HWND>* known;
        HWND found = nullptr;
    } search{process, &known};
    testsupport::PumpMessages(timeoutMs, [&] {
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                DWORD process = 0;
                GetWindowThreadProcessId(w, &process);
                char cls[32] = {};
                GetClassNameA(w, cls, sizeof cls);
                if (process == s->process && IsWindowVisible(w) && std::string(cls) == "#32770" && !s->known->count(w)) {
                    s->found = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

bool Gone(HWND window, DWORD timeoutMs)
{
    return testsupport::PumpMessages(timeoutMs, [&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

std::string ItemText(HWND dialog, int id)
{
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

size_t Count(Running& running, const std::string& text)
{
    const std::string out = running.Output();
    size_t n = 0;
    for (size_t at = out.find(text); at != std::string::npos; at = out.find(text, at + 1))
        ++n;
    return n;
}

void SetString(const std::string& key, const char* name, const std::string& value)
{
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
}

std::string GetString(const std::string& key, const char* name)
{
    char value[1024] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

void SetNumber(const std::string& key, const char* name, DWORD value)
{
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(k);
}

DWORD GetNumber(const std::string& key, const char* name)
{
    DWORD value = 0xFFFFFFFF, size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

}  // namespace marovintest
