#pragma once
// Owners for the handles the device layer opens.
#include <windows.h>
#include <setupapi.h>

#include <utility>

namespace devices {

class DevInfoSet {
public:
    explicit DevInfoSet(HDEVINFO h) : h_(h) {}
    ~DevInfoSet()
    {
        if (Valid())
            SetupDiDestroyDeviceInfoList(h_);
    }
    DevInfoSet(const DevInfoSet&) = delete;
    DevInfoSet& operator=(const DevInfoSet&) = delete;
    HDEVINFO Get() const { return h_; }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }

private:
    HDEVINFO h_;
};

class RegKey {
public:
    RegKey() = default;
    ~RegKey()
    {
        if (h_)
            RegCloseKey(h_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY* Put() { return &h_; }
    HKEY Get() const { return h_; }

private:
    HKEY h_ = nullptr;
};

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle()
    {
        if (Valid())
            CloseHandle(h_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }

private:
    HANDLE h_;
};

}  // namespace devices
