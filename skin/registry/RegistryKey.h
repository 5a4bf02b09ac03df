#pragma once
// Owns an open registry key.
#include <windows.h>

#include <string>
#include <utility>

namespace skelda {

class RegistryKey {
public:
    RegistryKey() = default;
    explicit RegistryKey(HKEY key) : key_(key) {}
    RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept
    {
        std::swap(key_, other.key_);
        return *this;
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey()
    {
        if (key_)
            RegCloseKey(key_);
    }

    HKEY Get() const { return key_; }
    HKEY Release() { return std::exchange(key_, nullptr); }
    explicit operator bool() const { return key_ != nullptr; }

    // A DWORD value; false when missing or of another type.
    bool ReadDword(const char* name, DWORD* value) const;
    // A REG_SZ value of at most MAX_PATH bytes including its terminator; false otherwise.
    bool ReadPathString(const char* name, std::string* value) const;

private:
    HKEY key_ = nullptr;
};

}  // namespace skelda
