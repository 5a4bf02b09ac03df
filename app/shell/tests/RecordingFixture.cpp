#include "RecordingFixture.h"

#include <fstream>

#include "CardControl.h"
#include "CardInstaller.h"
#include "TestSupport.h"

namespace marovintest {

void RemoveAllCards()
{
    std::wstring error;
    for (const vcap::CardRecord& card : vcap::LoadAllCards())
        vcap::UninstallCard(card.number, error);
}

void SetString(const char* key, const char* name, const std::string& value)
{
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
}

std::string GetString(const char* key, const char* name)
{
    char value[1024] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

void SetNumber(const char* key, const char* name, DWORD value)
{
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(k);
}

// A message box of the program in front of its main window: its text, then dismissed.
std::string DismissMessageBox(HWND main, DWORD timeoutMs)
{
    // Only this program's boxes: other tests show dialogs on the same desktop.
    struct Search {
        HWND main;
        DWORD process = 0;
        HWND found = nullptr;
    } search{main};
    GetWindowThreadProcessId(main, &search.process);
    const DWORD start = GetTickCount();
    while (!search.found && GetTickCount() - start < timeoutMs) {
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                char cls[64] = {};
                GetClassNameA(w, cls, sizeof cls);
                DWORD process = 0;
                GetWindowThreadProcessId(w, &process);
                if (w != s->main && process == s->process && IsWindowVisible(w) && std::string(cls) == "#32770") {
                    s->found = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        testsupport::PumpMessages(50);
    }
    if (!search.found)
        return "<no message box>";
    char text[512] = {};
    GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
    PostMessageA(search.found, WM_COMMAND, IDOK, 0);
    // Gone before the caller looks for the next one.
    for (DWORD waited = 0; IsWindow(search.found) && IsWindowVisible(search.found) && waited < timeoutMs; waited += 50)
        testsupport::PumpMessages(50);
    return text[0] ? text : "<box without a text>";
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MarovinRecording::SetUpTestSuite()
{
    ASSERT_TRUE(testsupport::RegisterTestBedFilters());
    ASSERT_EQ(testsupport::RunProcess("regsvr32 /s \"" + testsupport::ModuleDir() + "Scrivet.ax\""), 0);
}

void MarovinRecording::SetUp()
{
    RemoveAllCards();
    vcap::Personality personality;
    vcap::CardRecord card;
    std::wstring error;
    ASSERT_TRUE(vcap::InstallCard(1, personality, card, error));
    RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    // One manifest for the program; each test records into a folder of its own.
    static const bool cleared = DeleteFileA((testsupport::OutputDir() + "capture_recordings.txt").c_str());
    (void)cleared;
    test_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    folder_ = testsupport::OutputDir() + test_ + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    // Clip numbers follow the folder's highest: earlier runs' clips go.
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder_ + "clip*.mpg").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            DeleteFileA((folder_ + found.cFileName).c_str());
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetString(kCaptureKey, "RecordingFolder", folder_);
}

void MarovinRecording::TearDown()
{
    RemoveAllCards();
    RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
}

void MarovinRecording::StartPreviewing(Running& running, HWND* window)
{
    ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", running));
    *window = WaitForMainWindow(20000);
    ASSERT_NE(*window, nullptr);
    ASSERT_TRUE(WaitForOutput(running, "preview of source", 20000)) << running.Output();
}

void MarovinRecording::CloseMarovin(Running& running, HWND window)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, 20000, nullptr)) << Describe(running);
}

void MarovinRecording::StartRecording(Running& running, HWND window, const std::string& file, DWORD ms)
{
    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + file, 15000)) << running.Output();
    testsupport::PumpMessages(ms);
}

void MarovinRecording::Record(Running& running, HWND window, const std::string& file, DWORD ms)
{
    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + file, 15000)) << running.Output();
    testsupport::PumpMessages(ms);
    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder_ + file + " finished", 15000)) << running.Output();
    Manifest(file);
}

void MarovinRecording::Manifest(const std::string& file, const char* seconds, const char* tolerance)
{
    std::ofstream(testsupport::OutputDir() + "capture_recordings.txt", std::ios::app)
        << test_ << "/" << file << " mpeg2video 720 576 " << seconds << " " << tolerance << "\n";
}

}  // namespace marovintest
