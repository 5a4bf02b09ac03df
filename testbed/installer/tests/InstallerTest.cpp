// Installs virtual cards into the test prefix and finds them again the way the program's
// device layer does: SetupAPI interfaces by class, by category and by device instance, and
// filters through the system device enumerator by friendly name and device path.
#include "CardInstaller.h"

#include <windows.h>
#include <dshow.h>
#include <setupapi.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

using vcap::CardRecord;
using vcap::FilterRole;

namespace {

struct Interface {
    std::wstring path;
    DWORD devInst;
};

// Present interfaces of a class, as SetupDiGetClassDevs(DIGCF_PRESENT | DIGCF_DEVICEINTERFACE) lists them.
std::vector<Interface> PresentInterfaces(const GUID& cls)
{
    std::vector<Interface> found;
    HDEVINFO set = SetupDiGetClassDevsW(&cls, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return found;
    for (DWORD i = 0;; ++i) {
        SP_DEVICE_INTERFACE_DATA ifd{};
        ifd.cbSize = sizeof ifd;
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &cls, i, &ifd))
            break;
        DWORD needed = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &ifd, nullptr, 0, &needed, nullptr);
        std::vector<BYTE> buf(needed + 2);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buf.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        SP_DEVINFO_DATA dev{};
        dev.cbSize = sizeof dev;
        if (SetupDiGetDeviceInterfaceDetailW(set, &ifd, detail, needed, nullptr, &dev))
            found.push_back({detail->DevicePath, dev.DevInst});
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

struct FilterEntry {
    std::wstring friendlyName;
    std::wstring devicePath;
    std::wstring clsid;
};

std::wstring BagString(IPropertyBag* bag, const wchar_t* name)
{
    VARIANT v;
    VariantInit(&v);
    std::wstring s;
    if (SUCCEEDED(bag->Read(name, &v, nullptr)) && v.vt == VT_BSTR)
        s = v.bstrVal;
    VariantClear(&v);
    return s;
}

// The category's monikers through the system device enumerator.
std::vector<FilterEntry> CategoryFilters(const GUID& category)
{
    std::vector<FilterEntry> found;
    ICreateDevEnum* devEnum = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&devEnum))))
        return found;
    IEnumMoniker* e = nullptr;
    if (devEnum->CreateClassEnumerator(category, &e, 0) == S_OK) {
        IMoniker* m = nullptr;
        while (e->Next(1, &m, nullptr) == S_OK) {
            IPropertyBag* bag = nullptr;
            if (SUCCEEDED(m->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) {
                found.push_back({BagString(bag, L"FriendlyName"), BagString(bag, L"DevicePath"), BagString(bag, L"CLSID")});
                bag->Release();
            }
            m->Release();
        }
        e->Release();
    }
    devEnum->Release();
    return found;
}

bool SameText(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        RemoveAll();
    }
    void TearDown() override
    {
        RemoveAll();
        CoUninitialize();
    }
    static void RemoveAll()
    {
        std::wstring error;
        for (const CardRecord& c : vcap::LoadAllCards())
            vcap::UninstallCard(c.number, error);
    }
    static CardRecord Install(int number, vcap::Personality p = {})
    {
        CardRecord card;
        std::wstring error;
        EXPECT_TRUE(vcap::InstallCard(number, p, card, error)) << std::string(error.begin(), error.end());
        return card;
    }
};

}  // namespace

TEST_F(InstallerTest, OneDeviceInstanceCarriesEveryInterface)
{
    const CardRecord card = Install(1);
    const std::vector<Interface> byClass = PresentInterfaces(vcap::kCaptureInterfaceClass);
    ASSERT_EQ(byClass.size(), 1u);
    const DWORD devInst = byClass[0].devInst;
    for (const vcap::RoleInfo& r : vcap::Roles()) {
        if (!vcap::RoleExists(card.personality, r.role))
            continue;
        const std::vector<Interface> inCategory = PresentInterfaces(*r.category);
        ASSERT_EQ(inCategory.size(), 1u) << int(r.role);
        EXPECT_EQ(inCategory[0].devInst, devInst) << "same device instance for every role";
        EXPECT_TRUE(SameText(inCategory[0].path, card.paths[static_cast<int>(r.role)]));
    }
}

TEST_F(InstallerTest, FiltersAreListedWithNameClassAndInterfacePath)
{
    const CardRecord card = Install(1);
    for (const vcap::RoleInfo& r : vcap::Roles()) {
        if (!vcap::RoleExists(card.personality, r.role))
            continue;
        const std::vector<FilterEntry> filters = CategoryFilters(*r.category);
        const FilterEntry* mine = nullptr;
        for (const FilterEntry& f : filters) {
            if (SameText(f.devicePath, card.paths[static_cast<int>(r.role)]))
                mine = &f;
        }
        ASSERT_NE(mine, nullptr) << "no moniker with the interface path in category " << int(r.role);
        EXPECT_EQ(mine->friendlyName, vcap::FilterFriendlyName(card, r.role));
        wchar_t clsid[64];
        StringFromGUID2(*r.filterClsid, clsid, 64);
        EXPECT_TRUE(SameText(mine->clsid, clsid));
    }
}

TEST_F(InstallerTest, TwoCardsHaveTheirOwnNamesInstancesAndPaths)
{
    const CardRecord first = Install(1);
    const CardRecord second = Install(2);
    EXPECT_NE(first.instanceId, second.instanceId);
    EXPECT_NE(first.name, second.name);
    const std::vector<Interface> byClass = PresentInterfaces(vcap::kCaptureInterfaceClass);
    ASSERT_EQ(byClass.size(), 2u);
    EXPECT_NE(byClass[0].devInst, byClass[1].devInst);
    const std::vector<FilterEntry> captures = CategoryFilters(*vcap::Role(FilterRole::Capture).category);
    int mine = 0;
    for (const FilterEntry& f : captures) {
        if (SameText(f.devicePath, first.paths[3]) || SameText(f.devicePath, second.paths[3]))
            ++mine;
    }
    EXPECT_EQ(mine, 2);
    // Installing a card number twice is refused and leaves the first untouched.
    CardRecord again;
    std::wstring error;
    EXPECT_FALSE(vcap::InstallCard(1, {}, again, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(PresentInterfaces(vcap::kCaptureInterfaceClass).size(), 2u);
}

TEST_F(InstallerTest, TypeThreeCardHasNoStreamFilter)
{
    vcap::Personality p;
    p.deviceType = 3;
    p.bus = vcap::Bus::Pci;
    p.paramsBytes = 40;
    const CardRecord card = Install(1, p);
    EXPECT_TRUE(PresentInterfaces(*vcap::Role(FilterRole::Encoder).category).empty());
    EXPECT_TRUE(PresentInterfaces(*vcap::Role(FilterRole::Multiplexer).category).empty());
    EXPECT_EQ(PresentInterfaces(*vcap::Role(FilterRole::Capture).category).size(), 1u);
    CardRecord loaded;
    ASSERT_TRUE(vcap::FindCardByPath(card.paths[3], loaded));
    EXPECT_EQ(loaded.personality.deviceType, 3u);
    EXPECT_EQ(loaded.personality.bus, vcap::Bus::Pci);
    EXPECT_EQ(loaded.personality.paramsBytes, 40u);
}

// Which filters each card type lists, and whether the program can find it by the vendor's
// capture interface class (a codec-API card is found from its tuner instead).
TEST_F(InstallerTest, EachTypeListsItsOwnFilters)
{
    struct Case {
        uint32_t type;
        bool encoder, multiplexer, codecEncoder, captureClass;
    };
    const Case cases[] = {
        {1, true, true, false, true},
        {2, true, false, false, true},
        {3, false, false, false, true},
        {4, false, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        RemoveAll();
        vcap::Personality p;
        p.deviceType = c.type;
        const CardRecord card = Install(1, p);
        EXPECT_EQ(PresentInterfaces(*vcap::Role(FilterRole::Encoder).category).size(), c.encoder ? 1u : 0u);
        EXPECT_EQ(PresentInterfaces(*vcap::Role(FilterRole::Multiplexer).category).size(), c.multiplexer ? 1u : 0u);
        EXPECT_EQ(PresentInterfaces(*vcap::Role(FilterRole::CodecEncoder).category).size(), c.codecEncoder ? 1u : 0u);
        EXPECT_EQ(PresentInterfaces(vcap::kCaptureInterfaceClass).size(), c.captureClass ? 1u : 0u);
        for (FilterRole always : {FilterRole::Tuner, FilterRole::TvAudio, FilterRole::Crossbar, FilterRole::Capture})
            EXPECT_FALSE(card.paths[static_cast<int>(always)].empty());
        CardRecord loaded;
        ASSERT_TRUE(vcap::LoadCard(1, loaded));
        EXPECT_EQ(loaded.personality.deviceType, c.type);
    }
    RemoveAll();
    EXPECT_TRUE(PresentInterfaces(*vcap::Role(FilterRole::CodecEncoder).category).empty()) << "removal takes the codec encoder too";
}

TEST_F(InstallerTest, RemovalTakesEverythingAwayAndReinstallBringsItBack)
{
    const CardRecord first = Install(1);
    Install(2);
    std::wstring error;
    ASSERT_TRUE(vcap::UninstallCard(1, error));
    const std::vector<Interface> left = PresentInterfaces(vcap::kCaptureInterfaceClass);
    ASSERT_EQ(left.size(), 1u);
    for (const vcap::RoleInfo& r : vcap::Roles()) {
        if (first.paths[static_cast<int>(r.role)].empty())
            continue;
        for (const FilterEntry& f : CategoryFilters(*r.category))
            EXPECT_FALSE(SameText(f.devicePath, first.paths[static_cast<int>(r.role)]));
    }
    CardRecord gone;
    EXPECT_FALSE(vcap::FindCardByPath(first.paths[3], gone));
    EXPECT_FALSE(vcap::UninstallCard(1, error));

    const CardRecord back = Install(1);
    EXPECT_EQ(PresentInterfaces(vcap::kCaptureInterfaceClass).size(), 2u);
    CardRecord found;
    FilterRole role;
    ASSERT_TRUE(vcap::FindCardByPath(back.paths[static_cast<int>(FilterRole::Tuner)], found, &role));
    EXPECT_EQ(found.number, 1);
    EXPECT_EQ(role, FilterRole::Tuner);
}
