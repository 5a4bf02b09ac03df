#pragma once
// Marovin with a virtual card, driven through its settings pages: the controls are pressed
// with the messages they send, their state read back across the process boundary, and the
// settings read from the registry.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "CardControl.h"
#include "CardInstaller.h"
#include "ControlIds.h"
#include "MarovinProcess.h"
#include "TestSupport.h"

namespace settingstest {

constexpr char kProgramKey[] = "Software\\Halvark\\Marovin";
constexpr char kCaptureKey[] = "Software\\Halvark\\Marovin\\Capture";
constexpr char kColorKey[] = "Software\\Halvark\\Marovin\\Color";
constexpr char kCustomKey[] = "Software\\Halvark\\Marovin\\Custom";

inline void RemoveAllCards()
{
    std::wstring error;
    for (const vcap::CardRecord& card : vcap::LoadAllCards())
        vcap::UninstallCard(card.number, error);
}

inline void SetString(const char* key, const char* name, const std::string& value)
{
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
}

inline void SetNumber(const char* key, const char* name, DWORD value)
{
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(k);
}

inline std::string GetString(const char* key, const char* name)
{
    char value[1024] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "<missing>";
    return value;
}

// A stored number, or -2 when the value is missing.
inline long long GetNumber(const char* key, const char* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return -2;
    return static_cast<int>(value);
}

inline bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 15000)
{
    return testsupport::PumpMessages(timeoutMs, done);
}

// A control of the main window: pressed, chosen, typed into and read, as its own messages
// would do it.
struct Controls {
    HWND window = nullptr;

    HWND Item(int id) const { return GetDlgItem(window, id); }
    void Press(int id, int code = BN_CLICKED) const
    {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
    }
    void Choose(int id, int index) const
    {
        SendMessageA(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Press(id, CBN_SELCHANGE);
    }
    void Type(int id, const std::string& text) const
    {
        SendMessageA(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    std::string Text(int id) const
    {
        char text[512] = "";
        SendMessageA(Item(id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
    bool Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    int Selection(int id) const { return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0)); }
    // The entry that reads exactly `text` (or, with `prefix`, begins with it); -1 for none.
    int Find(int id, const std::string& text, bool prefix = false) const
    {
        return static_cast<int>(SendMessageA(Item(id), prefix ? CB_FINDSTRING : CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(text.c_str())));
    }
    int Count(int id) const { return static_cast<int>(SendMessageA(Item(id), CB_GETCOUNT, 0, 0)); }
    long SliderPosition(int id) const { return static_cast<long>(SendMessageA(Item(id), TBM_GETPOS, 0, 0)); }
    // Moves a slider as a drag that ends there: the position, then the end of the track.
    void Slide(int id, long position) const
    {
        SendMessageA(Item(id), TBM_SETPOS, TRUE, position);
        PostMessageA(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(Item(id)));
        PostMessageA(window, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(Item(id)));
    }
    // Shows a settings page by its tab and waits until one of its controls is visible.
    bool ShowPage(int tab, int control) const
    {
        Press(tab);
        return WaitFor([&] { return Visible(control); });
    }
};

// A message box of the program in front of its main window: its text; `answer` presses one
// of its buttons (IDOK, IDYES, IDNO).
inline std::string AnswerMessageBox(HWND main, int answer, DWORD timeoutMs = 15000)
{
    struct Search {
        HWND main;
        HWND found = nullptr;
    } search{main};
    WaitFor(
        [&search] {
            EnumWindows(
                [](HWND w, LPARAM p) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(p);
                    char cls[64] = {};
                    GetClassNameA(w, cls, sizeof cls);
                    DWORD process = 0, own = 0;
                    GetWindowThreadProcessId(w, &process);
                    GetWindowThreadProcessId(s->main, &own);
                    if (w != s->main && process == own && IsWindowVisible(w) && std::string(cls) == "#32770" &&
                        GetDlgItem(w, 0xFFFF)) {
                        s->found = w;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    if (!search.found)
        return "<no message box>";
    char text[512] = {};
    GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
    PostMessageA(search.found, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    WaitFor([&] { return !IsWindow(search.found) || !IsWindowVisible(search.found); }, timeoutMs);
    return text[0] ? text : "<box without a text>";
}

class SettingsFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(testsupport::RegisterTestBedFilters());
        ASSERT_EQ(testsupport::RunProcess("regsvr32 /s \"" + testsupport::ModuleDir() + "Scrivet.ax\""), 0);
        // The lists of the probe start empty with each run of the program.
        DeleteFileA((testsupport::OutputDir() + "capture_recordings.txt").c_str());
        DeleteFileA((testsupport::OutputDir() + "quality_recordings.txt").c_str());
    }
    void SetUp() override
    {
        RemoveAllCards();
        vcap::Personality personality;
        vcap::CardRecord card;
        std::wstring error;
        ASSERT_TRUE(vcap::InstallCard(1, personality, card, error));
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
        test_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        out_ = testsupport::OutputDir();
        folder_ = out_ + test_ + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        for (int n = 1; n <= 4; ++n)
            DeleteFileA((folder_ + "clip" + std::to_string(n) + ".mpg").c_str());
        SetString(kCaptureKey, "RecordingFolder", folder_);
    }
    void TearDown() override
    {
        RemoveAllCards();
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    }

    // Starts Marovin and waits until its preview runs.
    void StartPreviewing(marovintest::Running& running)
    {
        ASSERT_TRUE(marovintest::Start(testsupport::ModuleDir() + "Marovin.exe", running));
        controls_.window = marovintest::WaitForMainWindow(30000);
        ASSERT_NE(controls_.window, nullptr);
        ASSERT_TRUE(marovintest::WaitForOutput(running, "preview of source", 30000)) << running.Output();
    }
    // Closes Marovin and waits for it to end.
    void Close(marovintest::Running& running)
    {
        PostMessageA(controls_.window, WM_CLOSE, 0, 0);
        DWORD code = 0;
        ASSERT_TRUE(marovintest::WaitForExit(running, 30000, &code));
        EXPECT_EQ(code, 0u);
    }
    // How many times the output holds `text`.
    static size_t Count(marovintest::Running& running, const std::string& text)
    {
        const std::string output = running.Output();
        size_t count = 0;
        for (size_t at = output.find(text); at != std::string::npos; at = output.find(text, at + 1))
            ++count;
        return count;
    }
    // Records `file` for about `ms` with the record control.
    void Record(marovintest::Running& running, const std::string& folder, const std::string& file, DWORD ms)
    {
        controls_.Press(IDC_RECORD);
        ASSERT_TRUE(marovintest::WaitForOutput(running, "recording " + folder + file, 20000)) << running.Output();
        testsupport::PumpMessages(ms);
        controls_.Press(IDC_RECORD);
        ASSERT_TRUE(marovintest::WaitForOutput(running, "recording " + folder + file + " finished", 20000))
            << running.Output();
    }
    // Lists a recording for the probe script: its video and, in the second list, its bit rate.
    void Manifest(const std::string& file, const char* codec, int width, int height, long bitRate)
    {
        std::ofstream(out_ + "capture_recordings.txt", std::ios::app)
            << test_ << "/" << file << " " << codec << " " << width << " " << height << " -\n";
        std::ofstream(out_ + "quality_recordings.txt", std::ios::app) << test_ << "/" << file << " " << bitRate << "\n";
    }
    void Shoot(const std::string& name)
    {
        RECT rect{};
        GetWindowRect(controls_.window, &rect);
        const testsupport::ScreenImage image = testsupport::CaptureScreen(rect);
        EXPECT_TRUE(image.SaveBmp(out_ + name + ".bmp"));
    }

    std::string test_;
    std::string out_;
    std::string folder_;
    Controls controls_;
};

}  // namespace settingstest
