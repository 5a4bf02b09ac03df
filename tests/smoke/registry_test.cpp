// Registry values written by one process and read by another (Wine's reg.exe), both ways.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace {

const std::string kKey = "Software\\MarovinSmoke\\Registry";

TEST(SmokeRegistry, ValuesWrittenHereAreReadByAnotherProcess)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const DWORD number = 0x1234;
    const char text[] = "Skins\\Skin";
    RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    RegSetValueExA(key, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
    RegCloseKey(key);

    std::string out;
    ASSERT_EQ(testsupport::RunProcess("reg.exe query \"HKCU\\" + kKey + "\" /v Number", &out), 0) << out;
    EXPECT_NE(out.find("REG_DWORD"), std::string::npos) << out;
    EXPECT_NE(out.find("0x1234"), std::string::npos) << out;
    ASSERT_EQ(testsupport::RunProcess("reg.exe query \"HKCU\\" + kKey + "\" /v Text", &out), 0) << out;
    EXPECT_NE(out.find("Skins\\Skin"), std::string::npos) << out;
}

TEST(SmokeRegistry, ValuesWrittenByAnotherProcessAreReadHere)
{
    ASSERT_EQ(testsupport::RunProcess("reg.exe add \"HKCU\\" + kKey +
                                      "\" /v FromChild /t REG_DWORD /d 4096 /f"),
              0);
    DWORD value = 0, size = sizeof(value), type = 0;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kKey.c_str(), "FromChild", RRF_RT_ANY, &type, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 4096u);

    ASSERT_EQ(testsupport::RunProcess("reg.exe delete \"HKCU\\" + kKey + "\" /v FromChild /f"), 0);
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, kKey.c_str(), "FromChild", RRF_RT_ANY, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
}

}  // namespace
