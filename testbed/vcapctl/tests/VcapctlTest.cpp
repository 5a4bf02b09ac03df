// vcapctl as a separate process: removing and re-adding a card reaches a window registered
// for the capture interface class as WM_DEVICECHANGE, the way the system would announce it,
// and the card comes back with its personality.
#include "CardControl.h"
#include "CardInstaller.h"
#include "TunerState.h"
#include "TestSupport.h"
#include "VcapctlRunner.h"

#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Seen {
    WPARAM event;
    std::string name;
};
std::vector<Seen> g_seen;

LRESULT CALLBACK NotifyProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DEVICECHANGE) {
        const auto* hdr = reinterpret_cast<const DEV_BROADCAST_HDR*>(lp);
        if (hdr && hdr->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE && hdr->dbch_size >= sizeof(DEV_BROADCAST_DEVICEINTERFACE_A)) {
            const auto* di = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(lp);
            g_seen.push_back({wp, di->dbcc_name});
        }
        return TRUE;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

TEST(VcapctlTest, RemoveAndReaddAreAnnouncedAndKeepThePersonality)
{
    std::wstring error;
    for (const vcap::CardRecord& c : vcap::LoadAllCards())
        vcap::UninstallCard(c.number, error);
    vcap::Personality p;
    p.deviceType = 3;
    p.bus = vcap::Bus::Usb11;
    p.paramsBytes = 40;
    vcap::CardRecord card;
    ASSERT_TRUE(vcap::InstallCard(1, p, card, error));

    WNDCLASSA wc{};
    wc.lpfnWndProc = NotifyProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VcapctlTestNotify";
    ASSERT_TRUE(RegisterClassA(&wc));
    HWND w = CreateWindowA("VcapctlTestNotify", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(w);

    EXPECT_EQ(testsupport::RunVcapctl("--card 1 remove"), 0u);
    vcap::CardRecord gone;
    EXPECT_FALSE(vcap::LoadCard(1, gone));
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].event, static_cast<WPARAM>(DBT_DEVICEREMOVECOMPLETE));
    EXPECT_EQ(g_seen[0].name, "\\\\?\\root#marovin_vcap#0000#{f0b3dd10-e296-49fd-9887-7cac73f75b04}\\card");

    EXPECT_EQ(testsupport::RunVcapctl("--card 1 readd"), 0u);
    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[1].event, static_cast<WPARAM>(DBT_DEVICEARRIVAL));
    vcap::CardRecord back;
    ASSERT_TRUE(vcap::LoadCard(1, back));
    EXPECT_EQ(back.personality.deviceType, 3u);
    EXPECT_EQ(back.personality.bus, vcap::Bus::Usb11);
    EXPECT_EQ(back.personality.paramsBytes, 40u);

    EXPECT_EQ(testsupport::RunVcapctl("--card 1 readd"), 1u) << "already there";
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 signal sideways"), 2u);
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 standard 0x3"), 2u) << "one standard at a time";
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 standard 0x1"), 0u);
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 signal off"), 0u);
    vcap::CardControlState control;
    ASSERT_TRUE(vcap::ReadControl(1, control));
    EXPECT_EQ(control.standard, 0x1);
    EXPECT_FALSE(control.signal);

    // One input at a time; the card-wide command sets every input again.
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 signal on svideo2"), 0u);
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 standard 0x1000 svideo2"), 0u);
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 signal on headphones"), 2u) << "no such input";
    vcap::InputState svideo2, composite1;
    ASSERT_TRUE(vcap::ReadInputState(1, 4, svideo2));
    ASSERT_TRUE(vcap::ReadInputState(1, 1, composite1));
    EXPECT_TRUE(svideo2.signal);
    EXPECT_EQ(svideo2.standard, 0x1000);
    EXPECT_FALSE(composite1.signal);
    EXPECT_EQ(composite1.standard, 0x1);
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 signal off"), 0u);
    ASSERT_TRUE(vcap::ReadInputState(1, 4, svideo2));
    EXPECT_FALSE(svideo2.signal);
    EXPECT_EQ(svideo2.standard, 0x1000) << "the standard is set apart from the signal";

    EXPECT_EQ(testsupport::RunVcapctl("--card 1 station 9 on"), 0u);
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 station 3 off"), 0u);
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 station 300 on"), 1u) << "beyond the channel lists";
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 station x on"), 2u);
    const std::set<long> stations = vcap::ReadStations(1);
    EXPECT_EQ(stations.count(9), 1u);
    EXPECT_EQ(stations.count(3), 0u);
    EXPECT_EQ(stations.count(5), 1u) << "the others stay";

    EXPECT_EQ(testsupport::RunVcapctl("--card 1 stopflow"), 0u);
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 stopflow"), 0u);
    ASSERT_TRUE(vcap::ReadControl(1, control));
    EXPECT_EQ(control.flowBreaks, 2u) << "each command is one break";
    EXPECT_EQ(control.flowStops, 0u) << "with no stream running, no flow stopped";

    // The decoder's board: an input not yet detected, fewer standards, audio that stays put.
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 standard 0 composite1"), 0u);
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 standard 0"), 2u) << "undetected is a state of one input";
    ASSERT_TRUE(vcap::ReadInputState(1, 1, composite1));
    EXPECT_EQ(composite1.standard, 0);
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 standards 0x11"), 0u);
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 standards none"), 2u);
    long mask = 0;
    ASSERT_TRUE(vcap::ReadAvailableStandards(1, mask));
    EXPECT_EQ(mask, 0x11);
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 fixedaudio on"), 0u);
    EXPECT_TRUE(vcap::ReadFixedAudio(1));
    EXPECT_EQ(testsupport::RunVcapctl("--card 1 lockreads"), 0u);

    EXPECT_EQ(testsupport::RunVcapctl("--card 5 dropframes"), 1u) << "no such card";
    DestroyWindow(w);
    vcap::UninstallCard(1, error);
}
