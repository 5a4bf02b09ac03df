// Snapshots in the real main window: a still of a virtual card's preview saved as JPEG (its
// bitmap kept for the decoder check), saved as BMP over an existing file, refused over a
// read-only one; a still of a playing high-definition file; and text 2259 with nothing shown.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "CardControl.h"
#include "CardInstaller.h"
#include "MarovinDialogs.h"
#include "MarovinProcess.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

constexpr char kProgramKey[] = "Software\\Halvark\\Marovin";
constexpr char kCaptureKey[] = "Software\\Halvark\\Marovin\\Capture";
constexpr int kSnapshotControl = 1188;
constexpr int kOpenControl = 1004;
constexpr int kSaveControl = 1733;
constexpr int kPictureControl = 1732;
// The system save dialog's file-name box and file-type list.
constexpr int kFileNameCombo = 1148;
constexpr int kFileNameEdit = 1152;
constexpr int kFileTypeList = 1136;
constexpr DWORD kWaitMs = 20000;

void RemoveAllCards()
{
    std::wstring error;
    for (const vcap::CardRecord& card : vcap::LoadAllCards())
        vcap::UninstallCard(card.number, error);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<char> Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const std::string& path, const std::string& bytes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A visible dialog of the program that is none of `known`.
// The path after `marker` on its line of the program's output.
std::string OutputValue(Running& running, const std::string& marker)
{
    const std::string out = running.Output();
    const size_t at = out.rfind(marker);
    if (at == std::string::npos)
        return {};
    const size_t end = out.find_first_of("\r\n", at);
    return out.substr(at + marker.size(), end == std::string::npos ? std::string::npos : end - at - marker.size());
}

// Picks file type `filterIndex` (1 JPEG, 2 BMP) in the save dialog as a user would: the dialog
// takes a choice when the list reports it final.
bool ChooseType(HWND save, int filterIndex)
{
    const HWND types = GetDlgItem(save, kFileTypeList);
    if (!types || SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(filterIndex - 1), 0) == CB_ERR)
        return false;
    SendMessageA(save, WM_COMMAND, MAKEWPARAM(kFileTypeList, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    return true;
}

class MarovinSnapshot : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(testsupport::RegisterTestBedFilters()); }
    void SetUp() override
    {
        RemoveAllCards();
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
        out_ = testsupport::OutputDir();
        SetString(kCaptureKey, "RecordingFolder", out_);
    }
    void TearDown() override
    {
        RemoveAllCards();
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    }

    void Launch(Running& running)
    {
        ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", running));
        window_ = WaitForMainWindow(kWaitMs);
        ASSERT_NE(window_, nullptr);
    }

    // Presses the snapshot control and returns the snapshot dialog; `still` receives the
    // temporary file it shows.
    HWND TakeStill(Running& running, std::string* still)
    {
        const size_t shown = Count(running, "snapshot dialog shown");
        PostMessageA(window_, WM_COMMAND, MAKEWPARAM(kSnapshotControl, BN_CLICKED), 0);
        if (!testsupport::PumpMessages(kWaitMs, [&] { return Count(running, "snapshot dialog shown") > shown; }))
            return nullptr;
        *still = OutputValue(running, "still taken: ");
        return NewDialog(window_, {window_}, kWaitMs);
    }

    // Presses Save in the snapshot dialog and answers the save dialog with `name` and the
    // file type `filterIndex`; returns the save dialog's window once it is gone.
    bool ChooseName(HWND snapshot, const std::string& name, int filterIndex)
    {
        PostMessageA(snapshot, WM_COMMAND, MAKEWPARAM(kSaveControl, BN_CLICKED), 0);
        const HWND save = NewDialog(window_, {window_, snapshot}, kWaitMs);
        if (!save)
            return false;
        testsupport::PumpMessages(300);
        if (!ChooseType(save, filterIndex))
            return false;
        HWND box = GetDlgItem(save, kFileNameCombo);
        if (!box)
            box = GetDlgItem(save, kFileNameEdit);
        if (!box)
            return false;
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        PostMessageA(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return Gone(save);
    }

    HWND window_ = nullptr;
    std::string out_;
};

TEST_F(MarovinSnapshot, PreviewStillsSaveAsJpegAndAsBmpAndAReadOnlyFileIsKept)
{
    vcap::CardRecord card;
    std::wstring error;
    ASSERT_TRUE(vcap::InstallCard(1, vcap::Personality{}, card, error));
    // A 525-line input: the preview's still is 720x480.
    ASSERT_TRUE(vcap::SetInputStandard(1, 0x1));
    const std::string jpeg = out_ + "preview-still.jpg", kept = out_ + "preview-still.bmp";
    const std::string over = out_ + "over.bmp", locked = out_ + "locked.bmp";
    for (const std::string& f : {jpeg, kept, over, locked, out_ + "over.jpg", out_ + "locked.jpg"}) {
        SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(f.c_str());
    }
    Put(over, "old picture");
    Put(locked, "keep me");
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));

    Running running;
    ASSERT_NO_FATAL_FAILURE(Launch(running));
    ASSERT_TRUE(WaitForOutput(running, "preview of source", kWaitMs)) << running.Output();
    const HWND control = GetDlgItem(window_, kSnapshotControl);
    EXPECT_TRUE(testsupport::PumpMessages(kWaitMs, [&] { return IsWindowEnabled(control) != FALSE; }))
        << "the snapshot control is enabled while the preview runs";

    // A JPEG under a name without extension; the still's bitmap is kept for the comparison.
    std::string still;
    HWND snapshot = TakeStill(running, &still);
    ASSERT_NE(snapshot, nullptr) << running.Output();
    ASSERT_FALSE(still.empty());
    testsupport::PumpMessages(500);
    testsupport::CaptureWindow(snapshot).SaveBmp(out_ + "snapshot-dialog.bmp");
    EXPECT_NE(GetDlgItem(snapshot, kPictureControl), nullptr);
    ASSERT_TRUE(CopyFileA(still.c_str(), kept.c_str(), FALSE));
    ASSERT_TRUE(ChooseName(snapshot, out_ + "preview-still", 1));
    ASSERT_TRUE(WaitForOutput(running, "snapshot saved as " + jpeg, kWaitMs)) << running.Output();
    EXPECT_TRUE(Gone(snapshot));
    EXPECT_TRUE(Exists(jpeg));
    EXPECT_FALSE(Exists(still)) << "the temporary still is deleted";
    std::ofstream(out_ + "still_pairs.txt", std::ios::trunc) << "preview-still.jpg preview-still.bmp\n";
    EXPECT_EQ(GetString(kCaptureKey, "StillPicFolder"), out_);

    // BMP over an existing file: the question, Yes, and the new picture in its place.
    snapshot = TakeStill(running, &still);
    ASSERT_NE(snapshot, nullptr);
    const std::vector<char> stillBytes = Bytes(still);
    ASSERT_GT(stillBytes.size(), 1000u);
    PostMessageA(snapshot, WM_COMMAND, MAKEWPARAM(kSaveControl, BN_CLICKED), 0);
    {
        const HWND save = NewDialog(window_, {window_, snapshot}, kWaitMs);
        ASSERT_NE(save, nullptr);
        testsupport::PumpMessages(300);
        ASSERT_TRUE(ChooseType(save, 2));
        HWND box = GetDlgItem(save, kFileNameCombo) ? GetDlgItem(save, kFileNameCombo) : GetDlgItem(save, kFileNameEdit);
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((out_ + "over").c_str()));
        PostMessageA(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(Gone(save));
    }
    const HWND question = NewDialog(window_, {window_, snapshot}, kWaitMs);
    ASSERT_NE(question, nullptr) << "text 2260 asks before replacing";
    testsupport::CaptureWindow(question).SaveBmp(out_ + "replace-question.bmp");
    EXPECT_NE(BoxText(question).find("already exists"), std::string::npos) << BoxText(question);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitForOutput(running, "snapshot saved as " + over, kWaitMs)) << running.Output();
    EXPECT_EQ(Bytes(over), stillBytes);

    // Over a read-only file: reported, both pictures kept, the dialog stays for another try.
    snapshot = TakeStill(running, &still);
    ASSERT_NE(snapshot, nullptr);
    ASSERT_TRUE(ChooseName(snapshot, locked, 2));
    const HWND replace = NewDialog(window_, {window_, snapshot}, kWaitMs);
    ASSERT_NE(replace, nullptr);
    PostMessageA(replace, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(Gone(replace));
    const HWND report = NewDialog(window_, {window_, snapshot}, kWaitMs);
    ASSERT_NE(report, nullptr) << "the failed save is reported\n" << running.Output();
    testsupport::PumpMessages(500);
    testsupport::CaptureWindow(report).SaveBmp(out_ + "save-failed.bmp");
    EXPECT_NE(BoxText(report).find("locked.bmp"), std::string::npos) << BoxText(report);
    PostMessageA(report, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Gone(report));
    EXPECT_EQ(Bytes(locked), std::vector<char>({'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
    EXPECT_TRUE(IsWindowVisible(snapshot)) << "the dialog stays after a failed save";
    EXPECT_TRUE(Exists(still));
    PostMessageA(snapshot, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(Gone(snapshot));
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return !Exists(still); })) << "closing deletes the still";

    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    PostMessageA(window_, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(WaitForExit(running, kWaitMs, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(MarovinSnapshot, NothingShownMeansText2259)
{
    Running running;
    ASSERT_NO_FATAL_FAILURE(Launch(running));
    ASSERT_TRUE(WaitForOutput(running, "preview start", kWaitMs)) << running.Output();
    testsupport::PumpMessages(500);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window_, kSnapshotControl))) << "no card, no picture";
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(kSnapshotControl, BN_CLICKED), 0);
    const HWND box = NewDialog(window_, {window_}, kWaitMs);
    ASSERT_NE(box, nullptr);
    testsupport::CaptureWindow(box).SaveBmp(out_ + "no-still.bmp");
    EXPECT_NE(BoxText(box).find("only while a picture is shown"), std::string::npos) << BoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Gone(box));
    PostMessageA(window_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, kWaitMs, nullptr));
}

TEST_F(MarovinSnapshot, AHighDefinitionPlaybackStillSavesAsJpegOrIsReportedWithoutAnEmptyFile)
{
    // The open dialog takes the file from a folder of its own drive.
    const std::string hd = out_ + "hd-noise.mpg";
    ASSERT_TRUE(CopyFileA((std::string(SNAPSHOT_MEDIA) + "hd-noise.mpg").c_str(), hd.c_str(), FALSE));
    const std::string jpeg = out_ + "playback-still.jpg";
    DeleteFileA(jpeg.c_str());
    Running running;
    ASSERT_NO_FATAL_FAILURE(Launch(running));
    ASSERT_TRUE(WaitForOutput(running, "preview start", kWaitMs)) << running.Output();

    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(kOpenControl, BN_CLICKED), 0);
    const HWND open = NewDialog(window_, {window_}, kWaitMs);
    ASSERT_NE(open, nullptr);
    testsupport::PumpMessages(300);
    HWND box = GetDlgItem(open, kFileNameCombo) ? GetDlgItem(open, kFileNameCombo) : GetDlgItem(open, kFileNameEdit);
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(hd.c_str()));
    PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(Gone(open));
    const HWND control = GetDlgItem(window_, kSnapshotControl);
    ASSERT_TRUE(testsupport::PumpMessages(kWaitMs, [&] { return IsWindowEnabled(control) != FALSE; }))
        << "the control follows playback\n" << running.Output();
    testsupport::PumpMessages(1000);

    std::string still;
    const HWND snapshot = TakeStill(running, &still);
    ASSERT_NE(snapshot, nullptr) << running.Output();
    testsupport::PumpMessages(500);
    testsupport::CaptureWindow(snapshot).SaveBmp(out_ + "playback-snapshot-dialog.bmp");
    ASSERT_TRUE(ChooseName(snapshot, jpeg, 1));
    ASSERT_TRUE(testsupport::PumpMessages(kWaitMs, [&] {
        const std::string o = running.Output();
        return o.find("snapshot saved as " + jpeg) != std::string::npos || o.find("snapshot not saved") != std::string::npos;
    })) << running.Output();
    if (running.Output().find("snapshot saved as " + jpeg) != std::string::npos) {
        const std::vector<char> bytes = Bytes(jpeg);
        ASSERT_GT(bytes.size(), 1000u);
        EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
        EXPECT_EQ(static_cast<unsigned char>(bytes.back()), 0xD9);
        EXPECT_TRUE(Gone(snapshot));
    } else {
        EXPECT_FALSE(Exists(jpeg)) << "a failed JPEG save leaves no empty file";
        const HWND report = NewDialog(window_, {window_, snapshot}, kWaitMs);
        ASSERT_NE(report, nullptr);
        PostMessageA(report, WM_COMMAND, IDOK, 0);
        PostMessageA(snapshot, WM_COMMAND, IDCANCEL, 0);
    }
    PostMessageA(window_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, kWaitMs, nullptr));
    DeleteFileA(hd.c_str());
}

}  // namespace
