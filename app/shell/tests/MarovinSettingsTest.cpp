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

namespace {

TEST_F(SettingsFixture, QualityChoicesReachTheNextRecording)
{
    marovintest::Running running;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running));
    ASSERT_TRUE(controls_.Checked(IDC_MODE_DVD)) << "DVD is the first quality";
    ASSERT_EQ(controls_.Count(IDC_DVD_BITRATE), 3);
    EXPECT_EQ(controls_.Find(IDC_DVD_BITRATE, "8 Mbps"), 2) << "a USB 2.0 card";
    EXPECT_EQ(controls_.Find(IDC_DVD_BITRATE, "6 Mbps"), 1);

    // DVD at 6 Mbps: stored at once, taken by the running preview with the apply button.
    controls_.Choose(IDC_DVD_BITRATE, 1);
    ASSERT_TRUE(WaitFor([] { return GetNumber(kCaptureKey, "DVDBitrate") == 6000000; }));
    EXPECT_EQ(GetNumber(kCaptureKey, "SetupMode"), 2);
    EXPECT_EQ(GetNumber(kCaptureKey, "QualityMPEG2"), 1);
    EXPECT_EQ(controls_.Text(IDC_TEMPLATE_DESC_2), "720x576 6.00 Mbps");
    EXPECT_EQ(controls_.Text(IDC_TEMPLATE_DESC_3), "48.0 KHz 224 Kbps");
    ASSERT_TRUE(WaitFor([&] { return controls_.Enabled(IDC_APPLY); }));
    const size_t previews = Count(running, "preview of source");
    controls_.Press(IDC_APPLY);
    ASSERT_TRUE(WaitFor([&] { return Count(running, "preview of source") > previews; })) << running.Output();
    ASSERT_TRUE(WaitFor([&] { return !controls_.Enabled(IDC_APPLY); }));
    ASSERT_NO_FATAL_FAILURE(Record(running, folder_, "clip1.mpg", 3000));
    Manifest("clip1.mpg", "mpeg2video", 720, 576, 6000000);

    // VCD, without the apply button: the record control takes the pending choice first.
    controls_.Press(IDC_MODE_VCD);
    ASSERT_TRUE(WaitFor([] { return GetNumber(kCaptureKey, "SetupMode") == 1; }));
    EXPECT_EQ(GetNumber(kCaptureKey, "Capture"), 1);
    EXPECT_EQ(GetNumber(kCaptureKey, "QualityMPEG1"), 0);
    EXPECT_TRUE(controls_.Checked(IDC_MODE_VCD));
    EXPECT_FALSE(controls_.Checked(IDC_MODE_DVD));
    EXPECT_EQ(controls_.Text(IDC_TEMPLATE_DESC_1), "VCD  S-Video");
    EXPECT_EQ(controls_.Text(IDC_TEMPLATE_DESC_2), "352x288 1.15 Mbps");
    ASSERT_NO_FATAL_FAILURE(Record(running, folder_, "clip2.mpg", 3000));
    Manifest("clip2.mpg", "mpeg1video", 352, 288, 1150000);
    ASSERT_NO_FATAL_FAILURE(Close(running));
}

// The template dialog of the running program, once it shows.
HWND WaitForTemplateDialog(HWND main)
{
    HWND found = nullptr;
    WaitFor([&] {
        found = nullptr;
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                if (IsWindowVisible(w) && GetDlgItem(w, IDC_TEMPLATE_NAME)) {
                    *reinterpret_cast<HWND*>(p) = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found != nullptr && found != main;
    });
    return found;
}

// Types `name` into the template dialog and presses OK.
void NameTemplate(HWND dialog, const std::string& name)
{
    SendMessageA(GetDlgItem(dialog, IDC_TEMPLATE_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(SettingsFixture, TemplatesAreNamedChosenRecordedAndDeleted)
{
    marovintest::Running running;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running));
    EXPECT_FALSE(controls_.Enabled(IDC_TEMPLATE_DELETE));

    // The custom mode without a template asks for one first; bad names keep the dialog open.
    controls_.Press(IDC_MODE_CUSTOM);
    HWND dialog = WaitForTemplateDialog(controls_.window);
    ASSERT_NE(dialog, nullptr);
    for (const char* bad : {"A;B", "a/b", "a\\b"}) {
        NameTemplate(dialog, bad);
        EXPECT_EQ(AnswerMessageBox(controls_.window, IDOK),
                  "Please enter a template name without \\, / or ; and no longer than 248 characters.")
            << bad;
        EXPECT_TRUE(IsWindowVisible(dialog)) << bad;
    }
    NameTemplate(dialog, "HQ");
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    ASSERT_TRUE(WaitFor([] { return GetNumber(kCaptureKey, "SetupMode") == 3; }));
    EXPECT_EQ(GetString(kCustomKey, "templates"), "HQ;");
    EXPECT_EQ(GetString(kCustomKey, "selected"), "HQ");
    // The template starts as the quality that was chosen: DVD at 4 Mbps on this card.
    const std::string hq = std::string(kCustomKey) + "\\HQ";
    EXPECT_EQ(GetNumber(hq.c_str(), "BitRate"), 4000000);
    EXPECT_EQ(GetNumber(hq.c_str(), "HorzResolution"), 720);
    EXPECT_EQ(GetNumber(hq.c_str(), "CaptureMode"), 2);
    EXPECT_TRUE(controls_.Checked(IDC_MODE_CUSTOM));
    EXPECT_EQ(controls_.Text(IDC_TEMPLATE_LIST), "HQ");
    EXPECT_TRUE(controls_.Enabled(IDC_TEMPLATE_DELETE));

    // The same name in other letters is the same registry key.
    controls_.Press(IDC_TEMPLATE_NEW);
    dialog = WaitForTemplateDialog(controls_.window);
    ASSERT_NE(dialog, nullptr);
    NameTemplate(dialog, "hq");
    EXPECT_EQ(AnswerMessageBox(controls_.window, IDOK), "A template with this name already exists. Please choose another name.");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    EXPECT_EQ(GetString(kCustomKey, "templates"), "HQ;");
    EXPECT_EQ(GetString(kCustomKey, "selected"), "HQ") << "a cancel changes nothing";

    // A template of its own values: a smaller picture at a lower rate.
    SetNumber(hq.c_str(), "HorzResolution", 352);
    SetNumber(hq.c_str(), "VertResolution", 288);
    SetNumber(hq.c_str(), "BitRate", 3000000);
    SetNumber(hq.c_str(), "PeakBitRate", 3000000);
    controls_.Choose(IDC_TEMPLATE_LIST, 0);
    ASSERT_TRUE(WaitFor([&] { return controls_.Text(IDC_TEMPLATE_DESC_2) == "352x288 3.00 Mbps"; }))
        << controls_.Text(IDC_TEMPLATE_DESC_2);
    ASSERT_NO_FATAL_FAILURE(Record(running, folder_, "clip1.mpg", 3000));
    Manifest("clip1.mpg", "mpeg2video", 352, 288, 3000000);

    // A choice reads the template again; with a value missing, the device's configuration (the
    // one the preview runs with) is shown instead, and the choice's save keeps that as the
    // template, whole again.
    SetNumber(hq.c_str(), "BitRate", 5000000);
    controls_.Choose(IDC_TEMPLATE_LIST, 0);
    ASSERT_TRUE(WaitFor([&] { return controls_.Text(IDC_TEMPLATE_DESC_2) == "352x288 5.00 Mbps"; }))
        << controls_.Text(IDC_TEMPLATE_DESC_2);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, hq.c_str(), "AudSamplingFreq");
    controls_.Choose(IDC_TEMPLATE_LIST, 0);
    ASSERT_TRUE(WaitFor([&] { return controls_.Text(IDC_TEMPLATE_DESC_2) == "352x288 3.00 Mbps"; }))
        << controls_.Text(IDC_TEMPLATE_DESC_2);
    ASSERT_TRUE(WaitFor([&] { return GetNumber(hq.c_str(), "AudSamplingFreq") == 48000; }));
    EXPECT_EQ(GetNumber(hq.c_str(), "BitRate"), 3000000);

    // Deleting the only template leaves the custom mode for DVD.
    controls_.Press(IDC_TEMPLATE_DELETE);
    ASSERT_TRUE(WaitFor([] { return GetNumber(kCaptureKey, "SetupMode") == 2; }));
    EXPECT_EQ(GetNumber(kCaptureKey, "QualityMPEG2"), 1);
    EXPECT_EQ(GetString(kCustomKey, "templates"), "");
    EXPECT_EQ(GetString(kCustomKey, "selected"), "");
    HKEY gone = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, hq.c_str(), 0, KEY_READ, &gone), ERROR_SUCCESS);
    EXPECT_TRUE(controls_.Checked(IDC_MODE_DVD));
    EXPECT_FALSE(controls_.Checked(IDC_MODE_CUSTOM));
    EXPECT_EQ(controls_.Count(IDC_TEMPLATE_LIST), 0);
    ASSERT_NO_FATAL_FAILURE(Close(running));
}

TEST_F(SettingsFixture, EveryPageKeepsItsChoicesAcrossARestart)
{
    const std::string kept = folder_ + "kept";
    CreateDirectoryA(kept.c_str(), nullptr);
    {
        marovintest::Running running;
        ASSERT_NO_FATAL_FAILURE(StartPreviewing(running));
        controls_.Press(IDC_MODE_SVCD);
        ASSERT_TRUE(WaitFor([] { return GetNumber(kCaptureKey, "QualityMPEG2") == 0; }));

        ASSERT_TRUE(controls_.ShowPage(IDC_TAB_RECORDING, IDC_RECORDING_FOLDER));
        controls_.Type(IDC_RECORDING_FOLDER, kept);
        controls_.Choose(IDC_SIZE_LIST, 2);
        controls_.Press(IDC_STOP_AFTER);
        controls_.Type(IDC_STOP_HOURS, "1");
        controls_.Type(IDC_STOP_MINUTES, "75");
        controls_.Type(IDC_STOP_SECONDS, "3");
        SendMessageA(controls_.Item(IDC_ASK_FILE_NAME), BM_SETCHECK, BST_CHECKED, 0);
        controls_.Press(IDC_ASK_FILE_NAME);
        ASSERT_TRUE(WaitFor([&] { return controls_.Enabled(IDC_APPLY); }));
        controls_.Press(IDC_APPLY);
        // The whole save has happened once its last value is there.
        ASSERT_TRUE(WaitFor([&] {
            return GetString(kCaptureKey, "RecordingFolder") == kept && GetNumber(kCaptureKey, "StopTime") == 0 &&
                   GetNumber(kCaptureKey, "FileSizeLimitHi") == 1 && GetNumber(kCaptureKey, "CustomFileSizeLimitHi") != -2;
        }));
        EXPECT_EQ(GetNumber(kCaptureKey, "StopTime"), 0);
        EXPECT_EQ(GetNumber(kCaptureKey, "SetTimeHour"), 1);
        EXPECT_EQ(GetNumber(kCaptureKey, "SetTimeMin"), 59) << "minutes are cut to 59";
        EXPECT_EQ(GetNumber(kCaptureKey, "SetTimeSec"), 3);
        EXPECT_EQ(GetNumber(kCaptureKey, "FileName"), 1);
        EXPECT_EQ(GetNumber(kCaptureKey, "FileSizeLimitHi"), 1);
        EXPECT_EQ(GetNumber(kCaptureKey, "FileSizeLimitLo"), 0x18244F00);
        EXPECT_EQ(controls_.Text(IDC_STOP_MINUTES), "59");

        ASSERT_TRUE(controls_.ShowPage(IDC_TAB_COLOR, IDC_BRIGHTNESS));
        controls_.Slide(IDC_BRIGHTNESS, 200);
        ASSERT_TRUE(WaitFor([] { return GetNumber(kColorKey, "Brightness") == 200; }));
        EXPECT_EQ(vcap::ReadProcAmp(1, 0), 200);
        ASSERT_NO_FATAL_FAILURE(Close(running));
    }
    // A fresh device: its register back at the default, the program puts the kept value in.
    vcap::WriteProcAmp(1, 0, vcap::kProcAmpDefaults[0]);
    marovintest::Running running;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running));
    EXPECT_TRUE(controls_.Checked(IDC_MODE_SVCD));
    EXPECT_FALSE(controls_.Checked(IDC_MODE_DVD));
    EXPECT_EQ(controls_.Text(IDC_TEMPLATE_DESC_2), "480x576 2.20 Mbps");
    ASSERT_TRUE(controls_.ShowPage(IDC_TAB_RECORDING, IDC_RECORDING_FOLDER));
    EXPECT_EQ(controls_.Text(IDC_RECORDING_FOLDER), kept);
    EXPECT_EQ(controls_.Selection(IDC_SIZE_LIST), 2);
    EXPECT_TRUE(controls_.Checked(IDC_SIZE_PRESET));
    EXPECT_FALSE(controls_.Checked(IDC_SIZE_CUSTOM));
    EXPECT_TRUE(controls_.Checked(IDC_STOP_AFTER));
    EXPECT_FALSE(controls_.Checked(IDC_STOP_NEVER));
    EXPECT_EQ(controls_.Text(IDC_STOP_HOURS), "01");
    EXPECT_EQ(controls_.Text(IDC_STOP_MINUTES), "59");
    EXPECT_EQ(controls_.Text(IDC_STOP_SECONDS), "03");
    EXPECT_TRUE(controls_.Checked(IDC_ASK_FILE_NAME));
    EXPECT_FALSE(controls_.Checked(IDC_AUTO_RECORD));
    ASSERT_TRUE(controls_.ShowPage(IDC_TAB_COLOR, IDC_BRIGHTNESS));
    EXPECT_EQ(controls_.SliderPosition(IDC_BRIGHTNESS), 200);
    EXPECT_EQ(controls_.Text(IDC_BRIGHTNESS_VALUE), "200");
    EXPECT_EQ(vcap::ReadProcAmp(1, 0), 200);
    // The quality page still shows its choice after the other pages' radio buttons were used.
    ASSERT_TRUE(controls_.ShowPage(IDC_TAB_CAPTURE, IDC_MODE_SVCD));
    EXPECT_TRUE(controls_.Checked(IDC_MODE_SVCD));
    ASSERT_NO_FATAL_FAILURE(Close(running));
}

}  // namespace
