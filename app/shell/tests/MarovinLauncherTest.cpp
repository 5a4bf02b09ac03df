// Launcher buttons in the real main window: a dropped program takes button 0, two dropped
// files are refused with one message, a missing program shows text 1008 as tooltip, pressing a
// button finishes a running recording and starts a program whose folder has a blank in its
// name (never the decoy in front of the blank), and an empty button asks and lets the user
// choose a program.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "CardInstaller.h"
#include "MarovinDialogs.h"
#include "MarovinProcess.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

constexpr char kProgramKey[] = "Software\\Halvark\\Marovin";
constexpr char kCaptureKey[] = "Software\\Halvark\\Marovin\\Capture";
constexpr int kFirstLauncher = 1135;
constexpr WPARAM kRecordControl = 1014;
constexpr int kFileNameCombo = 1148;
constexpr int kFileNameEdit = 1152;
constexpr DWORD kWaitMs = 20000;
constexpr char kNoProgram[] = "Click to choose a program";

void RemoveAllCards()
{
    std::wstring error;
    for (const vcap::CardRecord& card : vcap::LoadAllCards())
        vcap::UninstallCard(card.number, error);
}

std::string ButtonKey(int i) { return std::string(kProgramKey) + "\\Launching\\Btn" + std::to_string(i); }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Drops `files` on `window` the way the shell does: a DROPFILES block in the program's own
// memory, announced by WM_DROPFILES.
bool DropFiles(HANDLE process, HWND window, const std::vector<std::string>& files)
{
    std::vector<char> block(sizeof(DROPFILES), 0);
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    for (const std::string& f : files)
        block.insert(block.end(), f.c_str(), f.c_str() + f.size() + 1);
    block.push_back('\0');
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T written = 0;
    if (!remote || !WriteProcessMemory(process, remote, block.data(), block.size(), &written) || written != block.size())
        return false;
    return PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) != FALSE;
}

class MarovinLaunchers : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(testsupport::RegisterTestBedFilters());
        ASSERT_EQ(testsupport::RunProcess("regsvr32 /s \"" + testsupport::ModuleDir() + "Scrivet.ax\""), 0);
    }
    void SetUp() override
    {
        RemoveAllCards();
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
        out_ = testsupport::OutputDir();
        root_ = out_ + "programs\\";
        tool_ = root_ + "Program Files\\Tool\\";
        for (const std::string& d : {root_, root_ + "Program Files", tool_})
            CreateDirectoryA(d.c_str(), nullptr);
        const std::string probe = testsupport::ModuleDir() + "launcher_probe.exe";
        ASSERT_TRUE(CopyFileA(probe.c_str(), (tool_ + "t.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(probe.c_str(), (root_ + "Program.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(probe.c_str(), (root_ + "TOOL.EXE").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(probe.c_str(), (root_ + "chosen.exe").c_str(), FALSE));
        for (const char* m : {"Program Files\\Tool\\t.exe.started", "Program.exe.started", "chosen.exe.started"})
            DeleteFileA((root_ + m).c_str());
        SetString(kCaptureKey, "RecordingFolder", out_);
    }
    void TearDown() override
    {
        RemoveAllCards();
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    }
    std::string out_, root_, tool_;
};

TEST_F(MarovinLaunchers, DropsTooltipsAndAMissingProgram)
{
    SetString(ButtonKey(1), "CmdLine", root_ + "gone.exe");
    Running running;
    ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", running));
    const HWND window = WaitForMainWindow(kWaitMs);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForOutput(running, "preview start", kWaitMs)) << running.Output();
    EXPECT_TRUE(WaitForOutput(running, "launcher 1: \"" + root_ + "gone.exe\", tooltip \"" + kNoProgram + "\"", kWaitMs))
        << running.Output();
    EXPECT_EQ(GetString(ButtonKey(1), "ToolTips"), kNoProgram);

    ASSERT_TRUE(DropFiles(running.info.hProcess, window, {root_ + "TOOL.EXE"}));
    ASSERT_TRUE(WaitForOutput(running, "launcher 0: \"" + root_ + "TOOL.EXE\", tooltip \"TOOL.EXE\"", kWaitMs))
        << running.Output();
    EXPECT_EQ(GetString(ButtonKey(0), "CmdLine"), root_ + "TOOL.EXE");
    EXPECT_EQ(GetString(ButtonKey(0), "RunningDir"), "");
    EXPECT_EQ(GetString(ButtonKey(0), "ToolTips"), "TOOL.EXE");
    EXPECT_EQ(GetNumber(ButtonKey(0), "Modified"), 1u);
    testsupport::PumpMessages(500);
    testsupport::CaptureWindow(window).SaveBmp(out_ + "launchers.bmp");

    ASSERT_TRUE(DropFiles(running.info.hProcess, window, {root_ + "chosen.exe", root_ + "Program.exe"}));
    const HWND box = NewDialog(window, {window}, kWaitMs);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(BoxText(box).find("one file at a time"), std::string::npos) << BoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Gone(box));
    testsupport::PumpMessages(500);
    EXPECT_EQ(NewDialog(window, {window}, 300), nullptr) << "one message only";
    EXPECT_EQ(GetString(ButtonKey(0), "CmdLine"), root_ + "TOOL.EXE") << "the buttons are unchanged";

    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(WaitForExit(running, kWaitMs, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(MarovinLaunchers, PressingFinishesTheRecordingAndStartsTheProgramBehindTheBlank)
{
    vcap::CardRecord card;
    std::wstring error;
    ASSERT_TRUE(vcap::InstallCard(1, vcap::Personality{}, card, error));
    SetString(ButtonKey(2), "CmdLine", tool_ + "t.exe");
    Running running;
    ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", running));
    const HWND window = WaitForMainWindow(kWaitMs);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForOutput(running, "preview of source", kWaitMs)) << running.Output();
    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + out_ + "clip1.mpg", kWaitMs)) << running.Output();
    testsupport::PumpMessages(1500);

    PostMessageA(window, WM_COMMAND, MAKEWPARAM(kFirstLauncher + 2, BN_CLICKED), 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + out_ + "clip1.mpg finished", kWaitMs))
        << "the recording ends through its stop path\n" << running.Output();
    ASSERT_TRUE(WaitForOutput(running, "launcher 2 started " + tool_ + "t.exe", kWaitMs)) << running.Output();
    EXPECT_TRUE(testsupport::PumpMessages(kWaitMs, [&] { return Exists(tool_ + "t.exe.started"); }));
    testsupport::PumpMessages(500);
    EXPECT_FALSE(Exists(root_ + "Program.exe.started")) << "the decoy never ran";
    EXPECT_EQ(GetString(std::string(kProgramKey) + "\\Recent", "file1"), out_ + "clip1.mpg") << "the recording is listed";

    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, kWaitMs, nullptr));
    DeleteFileA((out_ + "clip1.mpg").c_str());
}

TEST_F(MarovinLaunchers, AnEmptyButtonAsksAndTheChosenProgramStarts)
{
    Running running;
    ASSERT_TRUE(Start(testsupport::ModuleDir() + "Marovin.exe", running));
    const HWND window = WaitForMainWindow(kWaitMs);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForOutput(running, "preview start", kWaitMs)) << running.Output();

    PostMessageA(window, WM_COMMAND, MAKEWPARAM(kFirstLauncher + 3, BN_CLICKED), 0);
    const HWND question = NewDialog(window, {window}, kWaitMs);
    ASSERT_NE(question, nullptr);
    testsupport::PumpMessages(500);
    testsupport::CaptureWindow(question).SaveBmp(out_ + "choose-question.bmp");
    EXPECT_NE(BoxText(question).find(kNoProgram), std::string::npos) << BoxText(question);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(Gone(question));
    const HWND open = NewDialog(window, {window}, kWaitMs);
    ASSERT_NE(open, nullptr);
    testsupport::PumpMessages(300);
    HWND name = GetDlgItem(open, kFileNameCombo) ? GetDlgItem(open, kFileNameCombo) : GetDlgItem(open, kFileNameEdit);
    ASSERT_NE(name, nullptr);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((root_ + "chosen.exe").c_str()));
    PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(Gone(open));
    EXPECT_TRUE(testsupport::PumpMessages(kWaitMs, [&] { return Exists(root_ + "chosen.exe.started"); }))
        << "a first choice starts at once\n" << running.Output();
    EXPECT_TRUE(testsupport::PumpMessages(kWaitMs, [&] { return GetNumber(ButtonKey(3), "Modified") == 1; }));
    EXPECT_EQ(GetString(ButtonKey(3), "CmdLine"), root_ + "chosen.exe");
    EXPECT_EQ(GetString(ButtonKey(3), "ToolTips"), "chosen.exe");

    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(running, kWaitMs, nullptr));
}

}  // namespace
