#pragma once
// The encoder tests' virtual card: the test bed registered, cards installed afresh per test,
// and the card's filters bound the way the program binds them (device category and path).
#include "CardInstaller.h"
#include "DeviceCategories.h"
#include "DeviceFilters.h"
#include "PropertyLog.h"
#include "TestSupport.h"

#include "win/ComPtr.h"

#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <string>

class EncoderCardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(testsupport::RegisterTestBedFilters());
    }
    static void TearDownTestSuite() { CoUninitialize(); }
    void SetUp() override { RemoveAll(); }
    void TearDown() override { RemoveAll(); }

    static void RemoveAll()
    {
        std::wstring error;
        for (const vcap::CardRecord& c : vcap::LoadAllCards())
            vcap::UninstallCard(c.number, error);
    }
    static vcap::CardRecord Install(int number, uint32_t deviceType, uint32_t paramsBytes = 44)
    {
        vcap::Personality p;
        p.deviceType = deviceType;
        p.paramsBytes = paramsBytes;
        vcap::CardRecord card;
        std::wstring error;
        EXPECT_TRUE(vcap::InstallCard(number, p, card, error)) << std::string(error.begin(), error.end());
        return card;
    }
    static win::ComPtr<IBaseFilter> Bind(const vcap::CardRecord& card, vcap::FilterRole role, const GUID& category)
    {
        const std::wstring& w = card.paths[static_cast<int>(role)];
        const std::string path(w.begin(), w.end());
        win::ComPtr<IBaseFilter> f;
        devices::FindDeviceFilter(category, nullptr, path.c_str(), f.Put(), nullptr);
        return f;
    }
    static win::ComPtr<IBaseFilter> Capture(const vcap::CardRecord& card)
    {
        return Bind(card, vcap::FilterRole::Capture, devices::kCategoryCapture);
    }
};
