// The settings pages in Marovin's main window on a virtual card: the tabs switch the pages,
// and every page's choice reaches the registry and survives a restart.
#include "SettingsFixture.h"

using namespace settingstest;

namespace {

struct PageSample {
    int tab;
    int control;  // a control only this page shows
    const char* shot;
};
constexpr PageSample kPages[] = {
    {IDC_TAB_CAPTURE, IDC_MODE_DVD, "settings_page0_quality"},
    {IDC_TAB_RECORDING, IDC_RECORDING_FOLDER, "settings_page1_recording"},
    {IDC_TAB_COLOR, IDC_BRIGHTNESS, "settings_page3_colour"},
};

TEST_F(SettingsFixture, TabsShowOnePageAtATime)
{
    marovintest::Running running;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running));
    // The quality page is up from the start; the others are built when first shown.
    EXPECT_TRUE(controls_.Visible(IDC_MODE_DVD));
    EXPECT_FALSE(controls_.Visible(IDC_RECORDING_FOLDER));
    EXPECT_FALSE(controls_.Enabled(IDC_APPLY)) << "nothing to apply yet";
    for (int round = 0; round < 2; ++round) {
        for (const PageSample& page : kPages) {
            SCOPED_TRACE(page.shot);
            ASSERT_TRUE(controls_.ShowPage(page.tab, page.control));
            for (const PageSample& other : kPages)
                if (other.tab != page.tab)
                    EXPECT_FALSE(controls_.Visible(other.control));
            EXPECT_TRUE(controls_.Checked(page.tab));
            if (round == 0) {
                testsupport::PumpMessages(800);
                Shoot(page.shot);
            }
        }
    }
    // The channel page's slot: no page of this window stays behind its tab.
    controls_.Press(IDC_TAB_TV);
    ASSERT_TRUE(WaitFor([&] { return controls_.Checked(IDC_TAB_TV); }));
    for (const PageSample& page : kPages)
        EXPECT_FALSE(controls_.Visible(page.control));
    ASSERT_NO_FATAL_FAILURE(Close(running));
}

}  // namespace
