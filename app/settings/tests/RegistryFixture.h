#pragma once
// A private registry root under HKEY_CURRENT_USER for one test, removed before and after.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include <framework/ProfileStore.h>

namespace settingstest {

class RegistryFixture : public ::testing::Test {
protected:
    static constexpr char kKey[] = "MarovinSettingsTest";

    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }

    std::string Profile() const
    {
        return ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    framework::ProfileStore Store() const
    {
        return framework::ProfileStore(HKEY_CURRENT_USER, kKey, Profile());
    }
    std::string SectionPath(const char* section) const
    {
        return framework::ProfileSectionPath(kKey, Profile(), section);
    }
    // Type of a stored value, or nothing when it does not exist.
    std::optional<DWORD> ValueType(const char* section, const char* entry) const
    {
        DWORD type = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, SectionPath(section).c_str(), entry, RRF_RT_ANY,
                         &type, nullptr, nullptr) != ERROR_SUCCESS)
            return std::nullopt;
        return type;
    }
    void WriteRaw(const char* section, const char* entry, DWORD type, const void* data,
                  DWORD size) const
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, entry, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }

private:
    void Clear() const
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kKey).c_str());
    }
};

}  // namespace settingstest
