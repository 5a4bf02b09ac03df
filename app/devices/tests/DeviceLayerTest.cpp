// The device layer against virtual cards installed in the test prefix: the table, the
// filters of a card, its bus, its removal and arrival.
#include "CaptureDevices.h"
#include "CardInstaller.h"
#include "DeviceCategories.h"
#include "DeviceFilters.h"
#include "DeviceInfo.h"
#include "DeviceNaming.h"
#include "DeviceNotify.h"
#include "DeviceWatch.h"
#include "TestSupport.h"
#include "VcapctlRunner.h"
#include <win/ComPtr.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using win::ComPtr;
using namespace devices;

namespace {

std::string Narrowed(const std::wstring& s)
{
    return Narrow(s.c_str());
}

void RemoveAllCards()
{
    std::wstring error;
    for (const vcap::CardRecord& c : vcap::LoadAllCards())
        vcap::UninstallCard(c.number, error);
}

vcap::CardRecord Install(int number, uint32_t type, vcap::Bus bus)
{
    vcap::Personality p;
    p.deviceType = type;
    p.bus = bus;
    vcap::CardRecord card;
    std::wstring error;
    EXPECT_TRUE(vcap::InstallCard(number, p, card, error)) << Narrowed(error);
    return card;
}

struct Change {
    int change;
    std::string name;
};
std::vector<Change> g_changes;
void OnChange(void* context, int change, const char* name)
{
    ++*static_cast<int*>(context);
    g_changes.push_back({change, name ? name : ""});
}

class DeviceLayer : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(testsupport::RegisterTestBedFilters());
    }
    void SetUp() override
    {
        RemoveAllCards();
        SelectCaptureDevice(-1);
    }
    void TearDown() override { RemoveAllCards(); }

    static bool SamePath(const std::string& a, const std::wstring& b) { return _stricmp(a.c_str(), Narrowed(b).c_str()) == 0; }
};

}  // namespace

TEST_F(DeviceLayer, EnumerationFillsTheRecordWithEveryPath)
{
    const vcap::CardRecord card = Install(1, 1, vcap::Bus::Usb20);
    ASSERT_EQ(EnumerateCaptureDevices(), 1);
    const CaptureDeviceRecord& r = Devices().records[0];
    EXPECT_EQ(r.description, "Virtual MPEG Card");
    EXPECT_EQ(r.name.rfind("Virtual MPEG Card (", 0), 0u) << r.name;
    EXPECT_TRUE(SamePath(r.tunerPath, card.paths[int(vcap::FilterRole::Tuner)])) << r.tunerPath;
    EXPECT_TRUE(SamePath(r.tvAudioPath, card.paths[int(vcap::FilterRole::TvAudio)])) << r.tvAudioPath;
    EXPECT_TRUE(SamePath(r.crossbarPath, card.paths[int(vcap::FilterRole::Crossbar)])) << r.crossbarPath;
    EXPECT_TRUE(SamePath(r.capturePath, card.paths[int(vcap::FilterRole::Capture)])) << r.capturePath;
    EXPECT_TRUE(SamePath(r.encoderPath, card.paths[int(vcap::FilterRole::Encoder)])) << r.encoderPath;
    EXPECT_TRUE(SamePath(r.multiplexerPath, card.paths[int(vcap::FilterRole::Multiplexer)])) << r.multiplexerPath;
    for (const std::string* p : {&r.tunerPath, &r.tvAudioPath, &r.crossbarPath, &r.capturePath, &r.encoderPath, &r.multiplexerPath})
        EXPECT_FALSE(p->empty());

    CaptureDeviceRecord classified = r;
    ASSERT_EQ(ClassifyDevice(classified), S_OK);
    EXPECT_EQ(classified.deviceType, kTypeMultiplexingEncoder);
    EXPECT_TRUE(ExtendedControlsAvailable());
}

TEST_F(DeviceLayer, ACardWithoutStreamFilterIsTypeThree)
{
    Install(1, 3, vcap::Bus::Pci);
    ASSERT_EQ(EnumerateCaptureDevices(), 1);
    CaptureDeviceRecord r = Devices().records[0];
    EXPECT_TRUE(r.encoderPath.empty());
    ASSERT_EQ(ClassifyDevice(r), S_OK);
    EXPECT_EQ(r.deviceType, kTypeCaptureStream);
}

// A card whose encoder has no stream output is type 2; a codec-API card, which has no
// capture interface of the vendor's class, is found from its tuner and listed as type 4 with
// the stream filter the search connected to its capture filter.
TEST_F(DeviceLayer, ElementaryAndCodecApiCardsGetTheirTypes)
{
    const vcap::CardRecord elementary = Install(1, 2, vcap::Bus::Usb20);
    const vcap::CardRecord codec = Install(2, 4, vcap::Bus::Pci);
    ASSERT_EQ(EnumerateCaptureDevices(), 2);
    ASSERT_EQ(EnumerateCaptureDevices(), 2) << "found again, not listed twice";
    const int e = Devices().records[0].deviceType == kTypeCodecApi ? 1 : 0;
    CaptureDeviceRecord r2 = Devices().records[e];
    const CaptureDeviceRecord& r4 = Devices().records[1 - e];

    EXPECT_TRUE(SamePath(r2.encoderPath, elementary.paths[int(vcap::FilterRole::Encoder)])) << r2.encoderPath;
    EXPECT_TRUE(r2.multiplexerPath.empty());
    ASSERT_EQ(ClassifyDevice(r2), S_OK);
    EXPECT_EQ(r2.deviceType, kTypeElementaryEncoder);

    EXPECT_EQ(r4.deviceType, kTypeCodecApi);
    EXPECT_EQ(r4.description, "Virtual MPEG Card #2");
    EXPECT_EQ(r4.name.rfind("Virtual MPEG Card #2 (", 0), 0u) << r4.name;
    EXPECT_NE(r4.name, r2.name);
    for (auto [path, role] : {std::pair{&r4.tunerPath, vcap::FilterRole::Tuner}, {&r4.tvAudioPath, vcap::FilterRole::TvAudio},
                              {&r4.crossbarPath, vcap::FilterRole::Crossbar}, {&r4.capturePath, vcap::FilterRole::Capture}})
        EXPECT_TRUE(SamePath(*path, codec.paths[int(role)])) << *path;
    EXPECT_TRUE(r4.encoderPath.empty());
    EXPECT_TRUE(r4.multiplexerPath.empty());
    EXPECT_TRUE(r4.streamClsid == *vcap::Role(vcap::FilterRole::CodecEncoder).filterClsid);
    EXPECT_EQ(r4.streamFilterName, Narrowed(vcap::FilterFriendlyName(codec, vcap::FilterRole::CodecEncoder)));
    CaptureDeviceRecord again = r4;
    again.deviceType = 0;
    ASSERT_EQ(ClassifyDevice(again), S_OK);
    EXPECT_EQ(again.deviceType, kTypeCodecApi) << "its capture filter has no encoder property set";

    // The bus of a codec-API card is not asked of it.
    SelectCaptureDevice(1 - e);
    int bus = -1;
    ASSERT_EQ(GetBusType(nullptr, &bus), S_OK);
    EXPECT_EQ(bus, 0);
}

TEST_F(DeviceLayer, DeviceInfoCarriesTheSetupProperties)
{
    const vcap::CardRecord card = Install(1, 1, vcap::Bus::Pci);
    DeviceInfo info;
    ASSERT_TRUE(GetDeviceInfo(0, &info, nullptr));
    EXPECT_EQ(info.description, "Virtual MPEG Card");
    EXPECT_EQ(info.location, "PCI bus 2, device 3, function 0");
    EXPECT_EQ(info.hardwareIds, "ROOT\\MAROVIN_VCAP");
    // A root-enumerated device: named by its device node.
    EXPECT_EQ(_stricmp(info.enumeratorName.c_str(), "ROOT"), 0) << info.enumeratorName;
    EXPECT_EQ(info.displayName, FormatDisplayName(info.description, info.enumeratorName, info.uiNumber, info.devInst));
    EXPECT_TRUE(info.driverText.empty()) << "no driver answers the query here";
    EXPECT_FALSE(GetDeviceInfo(1, &info, nullptr));

    DeviceInfo byPath;
    const std::string capturePath = Narrowed(card.paths[int(vcap::FilterRole::Capture)]);
    ASSERT_TRUE(FindDeviceInfoByPath(capturePath.c_str(), &byPath, &kCategoryCapture));
    EXPECT_EQ(_stricmp(byPath.devicePath.c_str(), capturePath.c_str()), 0);
    EXPECT_EQ(byPath.devInst, info.devInst);
    FreeDeviceInfo(&byPath);
    EXPECT_TRUE(byPath.devicePath.empty());
}

TEST_F(DeviceLayer, BadInputFailsCleanly)
{
    SetLastError(0);
    EXPECT_FALSE(GetDeviceInfo(0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    DeviceInfo info;
    EXPECT_FALSE(FindDeviceInfoByPath("", &info, nullptr));
    EXPECT_FALSE(FindDeviceInfoByPath(nullptr, &info, nullptr));
    EXPECT_FALSE(FindDevicePathByInstance(1, nullptr, nullptr, false));
    EXPECT_FALSE(SendDriverQuery("\\\\?\\no#such#device", &info, 4));
    ComPtr<IBaseFilter> f;
    EXPECT_EQ(FindDeviceFilter(kCategoryCapture, nullptr, "\\\\?\\no#such#device", f.Put(), nullptr), E_UNEXPECTED);
    EXPECT_EQ(FindDeviceFilterByInstance(0xDEAD, kCategoryCapture, f.Put(), nullptr, nullptr), E_UNEXPECTED);
    EXPECT_EQ(EnumerateCaptureDevices(), 0);
    int bus = 0;
    EXPECT_EQ(GetBusType(nullptr, &bus), E_FAIL) << "no device selected";
    EXPECT_FALSE(IsCurrentDeviceGone()) << "nothing selected, nothing lost";
    static int notCode = 0;
    EXPECT_FALSE(SetDeviceChangeCallback(reinterpret_cast<DeviceChangeCallback>(&notCode), nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST_F(DeviceLayer, TwoCardsTwoRecordsWithTheirOwnNames)
{
    Install(1, 1, vcap::Bus::Usb20);
    Install(2, 1, vcap::Bus::Usb20);
    ASSERT_EQ(EnumerateCaptureDevices(), 2);
    const CaptureDeviceRecord& a = Devices().records[0];
    const CaptureDeviceRecord& b = Devices().records[1];
    EXPECT_NE(a.name, b.name);
    EXPECT_NE(a.devInst, b.devInst);
    EXPECT_NE(a.capturePath, b.capturePath);
    EXPECT_EQ(FindCaptureDeviceByName(b.name), 1);
}

TEST_F(DeviceLayer, FiltersFoundByNamePathAndInstance)
{
    const vcap::CardRecord card = Install(1, 1, vcap::Bus::Usb20);
    const std::string friendly = Narrowed(vcap::FilterFriendlyName(card, vcap::FilterRole::Capture));
    const std::string path = Narrowed(card.paths[int(vcap::FilterRole::Capture)]);

    ComPtr<IBaseFilter> byName, byPath, byInstance;
    std::string name;
    ASSERT_EQ(FindDeviceFilter(kCategoryCapture, friendly.c_str(), nullptr, byName.Put(), &name), S_OK);
    EXPECT_TRUE(byName);
    EXPECT_EQ(name, friendly);

    name.clear();
    ASSERT_EQ(FindDeviceFilter(kCategoryCapture, nullptr, path.c_str(), byPath.Put(), &name), S_OK);
    EXPECT_TRUE(byPath);
    EXPECT_EQ(name, friendly);
    EXPECT_EQ(FindDeviceFilter(kCategoryCapture, "Another Card", path.c_str(), byPath.Put(), nullptr), E_UNEXPECTED)
        << "name and path must both match";

    ASSERT_EQ(EnumerateCaptureDevices(), 1);
    DeviceInfo info;
    name.clear();
    ASSERT_EQ(FindDeviceFilterByInstance(Devices().records[0].devInst, kCategoryCapture, byInstance.Put(), &name, &info), S_OK);
    EXPECT_TRUE(byInstance);
    EXPECT_EQ(name, friendly);
    EXPECT_EQ(_stricmp(info.devicePath.c_str(), path.c_str()), 0);
}

TEST_F(DeviceLayer, BusTextForEveryBus)
{
    const vcap::Bus buses[] = {vcap::Bus::Pci, vcap::Bus::Usb11, vcap::Bus::Usb20, vcap::Bus::FireWire};
    const char* texts[] = {"PCI Bus", "USB 1.1 Bus", "USB 2.0 Bus", "FireWire Bus"};
    for (int i = 0; i < 4; ++i)
        Install(i + 1, 1, buses[i]);
    ASSERT_EQ(EnumerateCaptureDevices(), 4);
    for (int i = 0; i < 4; ++i) {
        vcap::CardRecord card;
        ASSERT_TRUE(vcap::LoadCard(i + 1, card));
        DeviceInfo info;
        ASSERT_TRUE(FindDeviceInfoByPath(Narrowed(card.paths[int(vcap::FilterRole::Capture)]).c_str(), &info, &kCategoryCapture));
        int index = -1;
        for (int r = 0; r < Devices().count; ++r) {
            if (Devices().records[r].devInst == info.devInst)
                index = r;
        }
        ASSERT_GE(index, 0);
        SelectCaptureDevice(index);
        int bus = -1;
        ASSERT_EQ(GetBusType(nullptr, &bus), S_OK);
        EXPECT_STREQ(BusTypeText(bus), texts[i]);
    }
    // A codec-API device is PCI without asking the driver.
    Devices().records[0].deviceType = kTypeCodecApi;
    SelectCaptureDevice(0);
    int bus = -1;
    EXPECT_EQ(GetBusType(nullptr, &bus), S_OK);
    EXPECT_EQ(bus, kBusPci);
}

TEST_F(DeviceLayer, RemovalIsNoticedAndArrivalAnnounced)
{
    Install(1, 1, vcap::Bus::Usb20);
    Install(2, 1, vcap::Bus::Usb20);
    ASSERT_EQ(EnumerateCaptureDevices(), 2);
    vcap::CardRecord second;
    ASSERT_TRUE(vcap::LoadCard(2, second));
    DeviceInfo info;
    ASSERT_TRUE(FindDeviceInfoByPath(Narrowed(second.paths[int(vcap::FilterRole::Capture)]).c_str(), &info, &kCategoryCapture));
    const int index = Devices().records[0].devInst == info.devInst ? 0 : 1;
    SelectCaptureDevice(index);
    EXPECT_FALSE(IsCurrentDeviceGone());

    int calls = 0;
    g_changes.clear();
    ASSERT_TRUE(SetDeviceChangeCallback(OnChange, &calls));
    HWND window = DeviceNotifyWindow();
    ASSERT_TRUE(window);
    char cls[64] = "";
    GetClassNameA(window, cls, sizeof cls);
    EXPECT_STREQ(cls, "QorDI_Notify");
    EXPECT_FALSE(IsWindowVisible(window));

    ASSERT_EQ(testsupport::RunVcapctl("--card 2 remove"), 0u);
    // A broadcast that timed out on a busy machine still arrives, later.
    testsupport::PumpMessages(5000, [] { return g_changes.size() >= 1; });
    ASSERT_EQ(g_changes.size(), 1u);
    EXPECT_EQ(g_changes[0].change, kDeviceRemoved);
    EXPECT_NE(g_changes[0].name.find("{f0b3dd10-e296-49fd-9887-7cac73f75b04}"), std::string::npos) << g_changes[0].name;
    EXPECT_EQ(EnumerateCaptureDevices(), 1);
    EXPECT_TRUE(IsCurrentDeviceGone());
    EXPECT_EQ(Devices().current, -1) << "the other card did not become the current one";

    ASSERT_EQ(testsupport::RunVcapctl("--card 2 readd"), 0u);
    testsupport::PumpMessages(5000, [] { return g_changes.size() >= 2; });
    ASSERT_EQ(g_changes.size(), 2u);
    EXPECT_EQ(g_changes[1].change, kDeviceArrived);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(EnumerateCaptureDevices(), 2);

    EXPECT_TRUE(SetDeviceChangeCallback(nullptr, nullptr));
    ASSERT_EQ(testsupport::RunVcapctl("--card 2 remove"), 0u);
    testsupport::PumpMessages(500);
    EXPECT_EQ(g_changes.size(), 2u) << "no calls once the callback is cleared";
}

namespace {
bool g_timerFired = false;
// The first name that the remembered one starts with.
int PrefixChooser(const std::vector<std::string>& names, const std::string& remembered)
{
    for (size_t i = 0; i < names.size(); ++i) {
        if (remembered.rfind(names[i], 0) == 0)
            return static_cast<int>(i);
    }
    return -1;
}
int OutOfRange(const std::vector<std::string>&, const std::string&)
{
    return 7;
}
LRESULT CALLBACK MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TIMER && wp == kDeviceRemovedTimer) {
        g_timerFired = true;
        KillTimer(w, wp);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}
}  // namespace

TEST_F(DeviceLayer, StartUpSelectsTheRememberedDeviceAndRemovalArmsTheTimer)
{
    Install(1, 1, vcap::Bus::Usb20);
    Install(2, 1, vcap::Bus::Usb20);
    ASSERT_EQ(EnumerateCaptureDevices(), 2);
    const std::string secondName = Devices().records[1].name;
    const DWORD secondInst = Devices().records[1].devInst;

    WNDCLASSA wc{};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DeviceWatchTestMain";
    RegisterClassA(&wc);
    HWND main = CreateWindowA("DeviceWatchTestMain", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(main);

    EXPECT_EQ(StartDeviceDiscovery(main, secondName), 1);
    EXPECT_EQ(StartDeviceDiscovery(main, "No Such Card"), 0) << "the first device when the remembered one is missing";
    EXPECT_EQ(StartDeviceDiscovery(main, secondName + " (old)", PrefixChooser), 1) << "the caller's rule decides";
    EXPECT_EQ(StartDeviceDiscovery(main, secondName + " (old)"), 0) << "by default only the same name counts";
    EXPECT_EQ(StartDeviceDiscovery(main, secondName, OutOfRange), 0) << "a choice outside the table gives the first";
    EXPECT_EQ(CaptureDeviceNames(), (std::vector<std::string>{Devices().records[0].name, secondName}));
    ASSERT_EQ(StartDeviceDiscovery(main, secondName), 1);

    // Which card is the second record: remove exactly that one.
    int card = 0;
    for (const vcap::CardRecord& c : vcap::LoadAllCards()) {
        DeviceInfo info;
        if (FindDeviceInfoByPath(Narrowed(c.paths[int(vcap::FilterRole::Capture)]).c_str(), &info, &kCategoryCapture) &&
            info.devInst == secondInst)
            card = c.number;
    }
    ASSERT_NE(card, 0);
    g_timerFired = false;
    ASSERT_EQ(testsupport::RunVcapctl("--card " + std::to_string(card) + " remove"), 0u);
    testsupport::PumpMessages(5000, [] { return g_timerFired; });
    EXPECT_TRUE(g_timerFired) << "timer 10013 after the count went down";
    EXPECT_EQ(Devices().count, 1);
    EXPECT_TRUE(IsCurrentDeviceGone());

    g_timerFired = false;
    ASSERT_EQ(testsupport::RunVcapctl("--card " + std::to_string(card) + " readd"), 0u);
    testsupport::PumpMessages(5000, [] { return Devices().count == 2; });
    EXPECT_EQ(Devices().count, 2) << "arrival re-enumerates";
    testsupport::PumpMessages(300);
    EXPECT_FALSE(g_timerFired) << "an arrival arms no timer";
    SetDeviceChangeCallback(nullptr, nullptr);
    DestroyWindow(main);
}
