#include "FileName.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <string>
#include <thread>

using namespace scrivet;

TEST(RecordingName, KeepsTheLastGoodNameAndRefusesBadOnes)
{
    RecordingName name;
    EXPECT_EQ(name.Get(), L"");
    LPOLESTR copy = reinterpret_cast<LPOLESTR>(1);
    ASSERT_EQ(name.CopyTo(&copy), S_OK);
    EXPECT_EQ(copy, nullptr);

    ASSERT_EQ(name.Set(L"C:\\rec\\clip1.mpg"), S_OK);
    EXPECT_EQ(name.Get(), L"C:\\rec\\clip1.mpg");
    EXPECT_EQ(name.Set(nullptr), E_POINTER);
    const std::wstring tooLong(261, L'a'), noRoom(260, L'a');
    EXPECT_EQ(name.Set(tooLong.c_str()), kNameTooLong);
    EXPECT_EQ(name.Set(noRoom.c_str()), kNameNotConvertible);
    EXPECT_EQ(name.Get(), L"C:\\rec\\clip1.mpg");

    ASSERT_EQ(name.CopyTo(&copy), S_OK);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::wstring(copy), L"C:\\rec\\clip1.mpg");
    CoTaskMemFree(copy);
}

TEST(RecordingName, ReadersOnOtherThreadsSeeWholeNames)
{
    RecordingName name;
    const std::wstring a = L"C:\\a\\" + std::wstring(200, L'x'), b = L"D:\\b.mpg";
    ASSERT_EQ(name.Set(a.c_str()), S_OK);
    std::thread reader([&] {
        for (int i = 0; i < 20000; ++i) {
            const std::wstring seen = name.Get();
            ASSERT_TRUE(seen == a || seen == b);
        }
    });
    for (int i = 0; i < 20000; ++i)
        name.Set(i % 2 ? a.c_str() : b.c_str());
    reader.join();
}
