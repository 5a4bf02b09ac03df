// The framework's keys as a standard user sees them on Windows: readable, not writable. Every
// setting must still be read; only writes fail. The test takes write access away from the keys
// with their security descriptors and gives it back afterwards.
#include <windows.h>
#include <aclapi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EGERegistryMgr_API.h"

using Reg = EGERegistryMgr_API;

namespace {

const char* const kChain[] = {"Software\\Corvale", "Software\\Corvale\\GraphicsEngineAppSettings",
                              "Software\\Corvale\\GraphicsEngineAppSettings\\ReadOnlyApp"};

// Each key of the chain allows everyone only reading (and changing the permissions back) while
// the object lives; the original descriptors are restored at the end.
class ReadOnlyKeys {
public:
    ReadOnlyKeys()
    {
        for (const char* path : kChain) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS)
                continue;
            DWORD size = 0;
            RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
            std::vector<BYTE> original(size ? size : 1);
            if (size && RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, original.data(), &size) == ERROR_SUCCESS)
                saved_.push_back({path, original});
            Restrict(key);
            RegCloseKey(key);
        }
    }
    ~ReadOnlyKeys()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, it->first.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS)
                continue;
            RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, it->second.data());
            RegCloseKey(key);
        }
    }
    size_t Restricted() const { return saved_.size(); }

private:
    static void Restrict(HKEY key)
    {
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone))
            return;
        EXPLICIT_ACCESS_A access{};
        access.grfAccessPermissions = KEY_READ | WRITE_DAC;
        access.grfAccessMode = SET_ACCESS;
        access.grfInheritance = NO_INHERITANCE;
        access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        access.Trustee.ptstrName = static_cast<LPSTR>(everyone);
        PACL acl = nullptr;
        if (SetEntriesInAclA(1, &access, nullptr, &acl) == ERROR_SUCCESS) {
            SECURITY_DESCRIPTOR descriptor;
            InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
            SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
            RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
            LocalFree(acl);
        }
        FreeSid(everyone);
    }
    std::vector<std::pair<std::string, std::vector<BYTE>>> saved_;
};

}  // namespace

TEST(RegistryManagerReadOnly, SettingsAreReadWhenWriteAccessIsRefusedAndOnlyWritesFail)
{
    const std::string app = "ReadOnlyApp";
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kChain[2]);
    ASSERT_TRUE(Reg::MakeNewApplicationEntry(app));
    ASSERT_TRUE(Reg::SetAllowGraphicsEditingRegEntry(1, app));
    ASSERT_TRUE(Reg::SetUseDefaultGraphicsFile(0, app));
    ASSERT_TRUE(Reg::SetQorGraphicsFile("C:\\Skins\\Mine.xml", app));
    {
        ReadOnlyKeys readOnly;
        ASSERT_EQ(readOnly.Restricted(), 3u);
        HKEY probe = nullptr;
        ASSERT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kChain[2], 0, KEY_SET_VALUE, &probe), ERROR_SUCCESS)
            << "the keys really refuse writing";

        bool found = false;
        EXPECT_TRUE(Reg::GetAllowEditingQorGraphicsFile(app, &found));
        EXPECT_TRUE(found) << "read, not the default";
        EXPECT_FALSE(Reg::GetUseDefaultGraphicsFile(app, &found));
        EXPECT_TRUE(found);
        std::string path;
        EXPECT_TRUE(Reg::GetQorGraphicsFile(app, &path, &found));
        EXPECT_EQ(path, "C:\\Skins\\Mine.xml");
        HKEY appKey = Reg::Get_HKeyOf_One_Qor_GraphicsEngineAppSettings(app, false);
        EXPECT_NE(appKey, nullptr) << "the application key opens for reading";
        if (appKey)
            RegCloseKey(appKey);
        std::string name;
        bool listed = false;
        for (DWORD i = 0; Reg::EnumHKeyOf_Qor_GraphicsEngineAppSettings(i, &name); ++i)
            listed = listed || name == app;
        EXPECT_TRUE(listed);

        EXPECT_FALSE(Reg::SetAllowGraphicsEditingRegEntry(0, app)) << "the write is refused";
        EXPECT_FALSE(Reg::SetQorGraphicsFile("C:\\Other.xml", app));
        EXPECT_TRUE(Reg::GetAllowEditingQorGraphicsFile(app, &found)) << "and nothing changed";
        EXPECT_TRUE(Reg::GetQorGraphicsFile(app, &path, &found));
        EXPECT_EQ(path, "C:\\Skins\\Mine.xml");
    }
    EXPECT_TRUE(Reg::SetAllowGraphicsEditingRegEntry(0, app)) << "write access is back";
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kChain[2]);
}
