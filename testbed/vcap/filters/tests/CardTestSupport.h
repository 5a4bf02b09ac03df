#pragma once
// What the card's filter tests share: a fixture that registers vcap.ax and installs cards
// afresh for each test, binding a card's filter the way the device layer does (system device
// enumerator, matched by "DevicePath"), and the pin helpers the graphs are built with.
#include "DeviceModel.h"

#include <win/ComPtr.h>

#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace cardtest {

// COM and the card's filters (registered by the test bed's installer, as the demo has them)
// for the whole suite; no card installed before or after each test.
class CardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    static void RemoveAll();
    // Card `number` with `personality`; the test fails (and goes on) when it cannot be installed.
    static vcap::CardRecord Install(int number, const vcap::Personality& personality = {});
    static vcap::CardRecord Install(int number, uint32_t deviceType);
    // The filter at the path the card recorded for `role`, bound through the system device
    // enumerator; empty when nothing there binds.
    static win::ComPtr<IBaseFilter> Bind(const vcap::CardRecord& card, vcap::FilterRole role);
};

std::vector<win::ComPtr<IPin>> Pins(IBaseFilter* f, PIN_DIRECTION dir);
// The medium set identifiers of a pin (IKsPin::KsQueryMediums), without the standard medium.
std::vector<GUID> MediumSets(IPin* pin);
// The program's medium rule: an output whose filter reports one necessary instance connects
// to an unconnected target input sharing a medium set. S_OK when any pin connected.
HRESULT ConnectByMedium(IGraphBuilder* graph, IBaseFilter* source, IBaseFilter* target);

}  // namespace cardtest
