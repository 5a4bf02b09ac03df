// Marovin started with none, one and two virtual capture cards in the prefix: it finds them,
// keeps the remembered one, lists the chosen card's inputs, and hears a card leave.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CaptureDevices.h"
#include "CardInstaller.h"
#include "MarovinProcess.h"
#include "TestSupport.h"
#include "VcapctlRunner.h"

using namespace marovintest;

namespace {

constexpr char kCaptureKey[] = "Software\\Halvark\\Marovin\\Capture";
constexpr int kInputList = 1501;

void RemoveAllCards()
{
    std::wstring error;
    for (const vcap::CardRecord& card : vcap::LoadAllCards())
        vcap::UninstallCard(card.number, error);
}

void InstallCard(int number)
{
    vcap::Personality personality;
    vcap::CardRecord card;
    std::wstring error;
    ASSERT_TRUE(vcap::InstallCard(number, personality, card, error)) << std::string(error.begin(), error.end());
}

std::string StoredDeviceName()
{
    char value[512] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, kCaptureKey, "DeviceName", RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return "<missing>";
    return value;
}

void StoreDeviceName(const std::string& name)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kCaptureKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "DeviceName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>(name.size() + 1));
    RegCloseKey(key);
}

// The texts of the window's input list and the selected one.
struct InputList {
    std::vector<std::string> items;
    int selected = -1;
};
InputList ReadInputList(HWND window)
{
    InputList list;
    const HWND combo = GetDlgItem(window, kInputList);
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    // The list is read through the wide message: Wine copies it across processes in the
    // window's own character set.
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[128] = L"";
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) < 128)
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        char narrow[256] = "";
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        list.items.push_back(narrow);
    }
    list.selected = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    return list;
}

class MarovinDevices : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(testsupport::RegisterTestBedFilters());
    }
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Halvark\\Marovin");
        RemoveAllCards();
    }
    void TearDown() override { RemoveAllCards(); }

    // The display names the device layer gives the installed cards, in table order.
    static std::vector<std::string> CardNames()
    {
        std::vector<std::string> names;
        devices::EnumerateCaptureDevices();
        for (int i = 0; i < devices::Devices().count; ++i)
            names.push_back(devices::Devices().records[i].name);
        return names;
    }

    HWND StartMarovin(Running& marovin)
    {
        EXPECT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", marovin));
        const HWND window = WaitForMainWindow(30000);
        EXPECT_NE(window, nullptr) << marovin.Output();
        return window;
    }
    void Close(Running& marovin, HWND window)
    {
        PostMessageA(window, WM_CLOSE, 0, 0);
        DWORD code = 99;
        EXPECT_TRUE(WaitForExit(marovin, 15000, &code)) << Describe(marovin);
        EXPECT_EQ(code, 0u);
    }
};

TEST_F(MarovinDevices, WithoutACardTheInputListIsEmptyAndTheRememberedNameStays)
{
    StoreDeviceName("Virtual MPEG Card (DevNode:7)");
    Running marovin;
    const HWND window = StartMarovin(marovin);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(ReadInputList(window).items.empty());
    EXPECT_EQ(StoredDeviceName(), "Virtual MPEG Card (DevNode:7)") << "found again when the card returns";
    const std::string output = marovin.Output();
    EXPECT_NE(output.find("Marovin:  0 capture device(s) found"), std::string::npos) << output;
    EXPECT_NE(output.find("Marovin:  no capture device present"), std::string::npos) << output;
    Close(marovin, window);
}

TEST_F(MarovinDevices, OneCardIsFoundRememberedAndItsInputsListed)
{
    InstallCard(1);
    const std::vector<std::string> names = CardNames();
    ASSERT_EQ(names.size(), 1u);

    Running marovin;
    const HWND window = StartMarovin(marovin);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(StoredDeviceName(), names[0]);
    const InputList inputs = ReadInputList(window);
    // The card's crossbar in the program's order; composite 2 and auxiliary share one entry.
    const std::vector<std::string> expected = {"S-Video", "Composite", "Composite 2", "S-Video 2", "TV Tuner",
                                               "Component"};
    EXPECT_EQ(inputs.items, expected);
    EXPECT_EQ(inputs.selected, 0) << "the stored source 0 (S-Video) is available";
    EXPECT_NE(marovin.Output().find("Marovin:  capture device 1 of 1: " + names[0]), std::string::npos);
    Close(marovin, window);
}

TEST_F(MarovinDevices, TwoCardsTheRememberedOneByPrefixAndItsRemovalIsHeard)
{
    InstallCard(1);
    InstallCard(2);
    const std::vector<std::string> names = CardNames();
    ASSERT_EQ(names.size(), 2u);
    ASSERT_NE(names[0], names[1]);
    // A stored name that starts with the second card's name chooses that card.
    StoreDeviceName(names[1] + " (renamed)");

    Running marovin;
    const HWND window = StartMarovin(marovin);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(StoredDeviceName(), names[1]) << "the chosen name is written back";
    EXPECT_NE(marovin.Output().find("Marovin:  2 capture device(s) found"), std::string::npos);
    EXPECT_NE(marovin.Output().find("Marovin:  capture device 2 of 2: " + names[1]), std::string::npos);
    EXPECT_EQ(ReadInputList(window).items.size(), 6u);

    // Which installed card is the chosen one: take exactly that one away, then bring it back.
    int chosen = 0;
    devices::EnumerateCaptureDevices();
    const std::string chosenPath = devices::Devices().records[1].capturePath;
    for (const vcap::CardRecord& card : vcap::LoadAllCards()) {
        const std::wstring& path = card.paths[static_cast<int>(vcap::FilterRole::Capture)];
        if (_stricmp(chosenPath.c_str(), std::string(path.begin(), path.end()).c_str()) == 0)
            chosen = card.number;
    }
    ASSERT_NE(chosen, 0);
    ASSERT_EQ(testsupport::RunVcapctl("--card " + std::to_string(chosen) + " remove"), 0u);
    EXPECT_TRUE(WaitForOutput(marovin, "Marovin:  capture device removed: " + names[1], 10000)) << marovin.Output();
    EXPECT_NE(marovin.Output().find("Marovin:  1 capture device(s) found"), std::string::npos);

    ASSERT_EQ(testsupport::RunVcapctl("--card " + std::to_string(chosen) + " readd"), 0u);
    EXPECT_TRUE(testsupport::PumpMessages(10000, [&] {
        const std::string out = marovin.Output();
        return out.rfind("Marovin:  2 capture device(s) found") > out.find("Marovin:  capture device removed");
    })) << "arrival re-enumerates";
    Close(marovin, window);
}

TEST_F(MarovinDevices, AMissingRememberedCardGivesWayToTheFirst)
{
    InstallCard(1);
    const std::vector<std::string> names = CardNames();
    ASSERT_EQ(names.size(), 1u);
    // Another card than the one installed was used last time: the installed one is taken.
    StoreDeviceName("Some Other Card (PCI Slot 4)");
    Running marovin;
    const HWND window = StartMarovin(marovin);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(StoredDeviceName(), names[0]);
    Close(marovin, window);
}

}  // namespace
