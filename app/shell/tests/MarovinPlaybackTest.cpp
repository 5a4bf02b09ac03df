// Marovin.exe playing files chosen with its open control: the picture in the video area, the
// title's parts, a file that cannot be played, and a played file that can be deleted after the
// program let go of it.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MarovinDialogs.h"
#include "MarovinProcess.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

constexpr int kOpenControl = 1004;
constexpr int kPlayControl = 1020;
constexpr int kMuteControl = 1041;
constexpr int kVideoArea = 1000;
constexpr int kFullScreenControl = 1057;
// The file-name box of the system's open dialog.
constexpr int kFileNameCombo = 1148;
constexpr int kFileNameEdit = 1152;

std::string Title(HWND window)
{
    char text[300] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// A visible dialog of Marovin other than its main window (the open dialog or a message box),
// waiting up to `ms` for one.
HWND WaitForOtherWindow(HWND main, DWORD ms)
{
    return NewDialog(main, {main}, ms);
}

// Chooses `path` in the open dialog that the open control brings up.
bool ChooseWithOpenControl(HWND main, const std::string& path)
{
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(kOpenControl, BN_CLICKED), 0);
    HWND dialog = WaitForOtherWindow(main, 15000);
    if (!dialog)
        return false;
    testsupport::PumpMessages(500);
    HWND name = GetDlgItem(dialog, kFileNameCombo);
    if (!name)
        name = GetDlgItem(dialog, kFileNameEdit);
    if (!name)
        return false;
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return testsupport::PumpMessages(10000, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

size_t DifferentPixels(const testsupport::ScreenImage& a, const testsupport::ScreenImage& b)
{
    if (a.width != b.width || a.height != b.height)
        return static_cast<size_t>(-1);
    size_t n = 0;
    for (size_t i = 0; i + 2 < a.bgr.size(); i += 3)
        n += (a.bgr[i] != b.bgr[i] || a.bgr[i + 1] != b.bgr[i + 1] || a.bgr[i + 2] != b.bgr[i + 2]) ? 1 : 0;
    return n;
}

// Starts Marovin and waits until its window is up and past its start-up.
void StartMarovin(Running& marovin, HWND& window)
{
    ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", marovin));
    window = WaitForMainWindow(30000);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForOutput(marovin, "preview start", 15000));
}

// Closes the window and waits for a clean end of the program.
void CloseMarovin(Running& marovin, HWND window)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(WaitForExit(marovin, 15000, &code)) << Describe(marovin);
    EXPECT_EQ(code, 0u);
}

// Drops `files` on the window as the shell would: a drop list placed in Marovin's own memory
// (it frees it when done, as with any drop), delivered with WM_DROPFILES.
bool DropFiles(HWND window, const std::vector<std::string>& files)
{
    std::vector<char> drop(sizeof(DROPFILES));
    for (const std::string& file : files)
        drop.insert(drop.end(), file.c_str(), file.c_str() + file.size() + 1);
    drop.push_back('\0');
    auto* header = reinterpret_cast<DROPFILES*>(drop.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process);
    if (!target)
        return false;
    void* remote = VirtualAllocEx(target, nullptr, drop.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T written = 0;
    const bool placed = remote && WriteProcessMemory(target, remote, drop.data(), drop.size(), &written) &&
                        written == drop.size();
    CloseHandle(target);
    return placed && PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

// The text of a message box: its static lines, the skinned box's caption among them.
TEST(MarovinPlayback, OpenControlPlaysAFileAndLetsGoOfItAtClose)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Halvark\\Marovin");
    const std::string out = testsupport::OutputDir();
    const std::string played = out + "played.mpg";
    ASSERT_TRUE(CopyFileA((std::string(PLAYBACK_MEDIA) + "mpeg2-4s.mpg").c_str(), played.c_str(), FALSE));
    const std::string broken = out + "header-only.mpg";
    {
        const unsigned char pack[] = {0x00, 0x00, 0x01, 0xBA, 0x44, 0x00, 0x04, 0x00, 0x04, 0x01,
                                      0x01, 0x89, 0xC3, 0xF8, 0x00, 0x00, 0x01, 0xB9};
        HANDLE f = CreateFileA(broken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, pack, sizeof pack, &written, nullptr);
        CloseHandle(f);
    }

    Running marovin;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartMarovin(marovin, window));
    const HWND video = GetDlgItem(window, kVideoArea);
    const testsupport::ScreenImage idle = testsupport::CaptureWindow(video);

    ASSERT_TRUE(ChooseWithOpenControl(window, played));
    ASSERT_TRUE(testsupport::PumpMessages(15000, [&] { return Title(window) == "played.mpg [Video] "; }))
        << Title(window) << "\n" << marovin.Output();
    testsupport::PumpMessages(1500);
    const testsupport::ScreenImage playing = testsupport::CaptureWindow(video);
    playing.SaveBmp(out + "main-window-playing.bmp");
    testsupport::CaptureWindow(window).SaveBmp(out + "main-window-whole.bmp");
    EXPECT_GT(DifferentPixels(idle, playing), static_cast<size_t>(playing.width * playing.height / 2))
        << "the file's picture replaced the idle picture";

    PostMessageA(window, WM_COMMAND, MAKEWPARAM(kMuteControl, BN_CLICKED), 0);
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return Title(window) == "played.mpg [Video] (Muted)"; }))
        << Title(window);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(kPlayControl, BN_CLICKED), 0);
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return Title(window) == "played.mpg [Video] (Muted)(Paused)"; }))
        << Title(window);

    // Full screen and back, twice: the window and the picture come back where they were.
    RECT before{};
    GetWindowRect(window, &before);
    for (int round = 0; round < 2; ++round) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(kFullScreenControl, BN_CLICKED), 0);
        testsupport::PumpMessages(800);
        const testsupport::ScreenImage full = testsupport::CaptureWindow(GetDesktopWindow());
        if (round == 0)
            full.SaveBmp(out + "full-screen.bmp");
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(kFullScreenControl, BN_CLICKED), 0);
        testsupport::PumpMessages(800);
    }
    RECT after{};
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    const testsupport::ScreenImage back = testsupport::CaptureWindow(video);
    back.SaveBmp(out + "after-full-screen.bmp");
    EXPECT_GT(back.DistinctColours(), 8u) << "the paused picture is back in the video area, not black";
    EXPECT_GT(DifferentPixels(idle, back), static_cast<size_t>(back.width * back.height / 2));
    EXPECT_EQ(WaitForOtherWindow(window, 0), nullptr) << "no failure was reported";

    // A recording cut off before its first picture: text 230, the window back to idle.
    ASSERT_TRUE(ChooseWithOpenControl(window, broken));
    ASSERT_TRUE(WaitForOutput(marovin, "playback of", 15000)) << marovin.Output();
    const HWND message = WaitForOtherWindow(window, 10000);
    ASSERT_NE(message, nullptr) << "text 230 is shown";
    testsupport::CaptureWindow(message).SaveBmp(out + "cannot-play.bmp");
    PostMessageA(message, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return !IsWindow(message) || !IsWindowVisible(message); }));
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return Title(window) == "Marovin"; })) << Title(window);
    EXPECT_TRUE(DeleteFileA(played.c_str())) << "the first file was let go when the second opened";

    ASSERT_NO_FATAL_FAILURE(CloseMarovin(marovin, window));
    EXPECT_TRUE(DeleteFileA(broken.c_str()));
}

TEST(MarovinPlayback, RecentRecordingPlaysAndAGoneOneIsReported)
{
    const char* root = "Software\\Halvark\\Marovin";
    RegDeleteTreeA(HKEY_CURRENT_USER, root);
    const std::string out = testsupport::OutputDir();
    const std::string first = out + "recent-a.mpg";
    const std::string second = out + "recent-b.mpg";
    for (const std::string& copy : {first, second})
        ASSERT_TRUE(CopyFileA((std::string(PLAYBACK_MEDIA) + "mpeg1-3s.mpg").c_str(), copy.c_str(), FALSE));
    HKEY recent = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(root) + "\\Recent").c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &recent, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(recent, "file1", 0, REG_SZ, reinterpret_cast<const BYTE*>(first.c_str()),
                   static_cast<DWORD>(first.size() + 1));
    RegSetValueExA(recent, "file2", 0, REG_SZ, reinterpret_cast<const BYTE*>(second.c_str()),
                   static_cast<DWORD>(second.size() + 1));
    RegCloseKey(recent);

    Running marovin;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartMarovin(marovin, window));
    ASSERT_TRUE(IsWindowVisible(GetDlgItem(window, 1426)));
    const HWND thumbnail = GetDlgItem(window, 1426);
    const auto framed = [thumbnail] {
        const testsupport::ScreenImage image = testsupport::CaptureWindow(thumbnail);
        return image.width > 2 && image.Pixel(0, image.height / 2) == RGB(0, 255, 0) &&
               image.Pixel(1, image.height / 2) == RGB(0, 255, 0);
    };
    EXPECT_FALSE(framed());
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(1426, BN_CLICKED), 0);
    ASSERT_TRUE(testsupport::PumpMessages(15000, [&] { return Title(window) == "recent-a.mpg [Video] "; }))
        << Title(window);
    EXPECT_TRUE(testsupport::PumpMessages(5000, framed)) << "the playing recording's thumbnail is marked";
    testsupport::CaptureWindow(window).SaveBmp(out + "recent-selected.bmp");

    // The second recording disappears after start-up: its thumbnail reports it and the first
    // file keeps playing.
    ASSERT_TRUE(DeleteFileA(second.c_str()));
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(1427, BN_CLICKED), 0);
    const HWND message = WaitForOtherWindow(window, 10000);
    ASSERT_NE(message, nullptr) << "text 230 is shown";
    testsupport::CaptureWindow(message).SaveBmp(out + "recent-gone.bmp");
    PostMessageA(message, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return !IsWindow(message) || !IsWindowVisible(message); }));
    EXPECT_EQ(Title(window), "recent-a.mpg [Video] ");
    EXPECT_TRUE(framed());

    // The record control leaves playback: the file closes and the mark goes with it.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(1014, BN_CLICKED), 0);
    EXPECT_TRUE(testsupport::PumpMessages(10000, [&] { return Title(window) == "Marovin"; })) << Title(window);
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return !framed(); }));

    ASSERT_NO_FATAL_FAILURE(CloseMarovin(marovin, window));
    EXPECT_TRUE(DeleteFileA(first.c_str()));
}

TEST(MarovinPlayback, DroppedFilesPlayOneAtATime)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Halvark\\Marovin");
    const std::string out = testsupport::OutputDir();
    const std::string first = out + "dropped-a.mpg";
    const std::string second = out + "dropped-b.mpg";
    for (const std::string& copy : {first, second})
        ASSERT_TRUE(CopyFileA((std::string(PLAYBACK_MEDIA) + "mpeg2-4s.mpg").c_str(), copy.c_str(), FALSE));

    Running marovin;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartMarovin(marovin, window));

    // Two at once: the user is asked for one, and neither plays.
    ASSERT_TRUE(DropFiles(window, {first, second}));
    const HWND message = WaitForOtherWindow(window, 10000);
    ASSERT_NE(message, nullptr) << "text 2248 is shown";
    EXPECT_NE(BoxText(message).find("Please drop one file at a time."), std::string::npos) << BoxText(message);
    PostMessageA(message, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return !IsWindow(message) || !IsWindowVisible(message); }));
    testsupport::PumpMessages(1000);
    EXPECT_EQ(Title(window), "Marovin");
    EXPECT_EQ(marovin.Output().find("playback of"), std::string::npos) << marovin.Output();

    // One: it plays as if opened.
    ASSERT_TRUE(DropFiles(window, {second}));
    EXPECT_TRUE(testsupport::PumpMessages(15000, [&] { return Title(window) == "dropped-b.mpg [Video] "; }))
        << Title(window) << "\n" << marovin.Output();

    ASSERT_NO_FATAL_FAILURE(CloseMarovin(marovin, window));
    EXPECT_TRUE(DeleteFileA(first.c_str()));
    EXPECT_TRUE(DeleteFileA(second.c_str())) << "the dropped file was let go at close";
}

}  // namespace
