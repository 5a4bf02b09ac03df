// Typed reads of registry values.
#include "RegistryValues.h"

namespace skelda {

bool ReadDword(HKEY key, const char* name, DWORD* value)
{
    DWORD type = 0, data = 0, size = sizeof(data);
    if (!key || RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(data))
        return false;
    *value = data;
    return true;
}

bool ReadPathString(HKEY key, const char* name, std::string* value)
{
    char buffer[MAX_PATH + 1] = {};
    DWORD type = 0, size = MAX_PATH;
    if (!key || RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    buffer[size < MAX_PATH ? size : MAX_PATH] = '\0';  // the stored string may lack its terminator
    *value = buffer;
    return true;
}

HKEY CreateOrOpenForReading(HKEY parent, const char* name)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(parent, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS)
        return key;
    return RegOpenKeyExA(parent, name, 0, KEY_READ, &key) == ERROR_SUCCESS ? key : nullptr;
}

HKEY OpenWritableOrReadable(HKEY parent, const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS)
        return key;
    return RegOpenKeyExA(parent, name, 0, KEY_READ, &key) == ERROR_SUCCESS ? key : nullptr;
}

}  // namespace skelda
