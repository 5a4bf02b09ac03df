// Launcher rules, the buttons' settings, and programs started for real: one in a folder with a
// blank in its name next to a decoy that an unquoted command line would start instead.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "LauncherButtons.h"
#include "LauncherRules.h"
#include "TestSupport.h"

using namespace launcher;

namespace {

constexpr char kTestKey[] = "Marovin Launcher Test";
constexpr char kNoProgram[] = "Click to choose a program";

framework::ProfileStore TestStore()
{
    return framework::ProfileStore(HKEY_CURRENT_USER, kTestKey, "Marovin");
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

TEST(LauncherRules, SectionsFoldersNamesAndTooltips)
{
    EXPECT_EQ(ButtonSection(0), "Launching\\Btn0");
    EXPECT_EQ(ButtonSection(3), "Launching\\Btn3");
    struct Case {
        const char* path;
        bool exists;
        const char* folder;
        const char* tooltip;
    } cases[] = {
        {"C:\\Program Files\\Tool\\t.exe", true, "C:\\Program Files\\Tool", "t.exe"},
        {"C:\\Tools\\TOOL.EXE", true, "C:\\Tools", "TOOL.EXE"},
        {"C:\\Tools\\gone.exe", false, "C:\\Tools", kNoProgram},
        {"C:\\Docs\\readme.txt", true, "C:\\Docs", kNoProgram},
        {"", false, "", kNoProgram},
        {"tool.exe", true, "", "tool.exe"},
        // The test is on ".exe" anywhere in the name, as stored values were made with it.
        {"C:\\my.exe.d\\run.bat", true, "C:\\my.exe.d", "run.bat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FolderOf(c.path), c.folder);
        EXPECT_EQ(TooltipFor(c.path, c.exists, kNoProgram), c.tooltip);
    }
}

TEST(LauncherRules, CommandLinesAreQuotedOnce)
{
    EXPECT_EQ(QuotedCommandLine("C:\\Program Files\\Tool\\t.exe"), "\"C:\\Program Files\\Tool\\t.exe\"");
    EXPECT_EQ(QuotedCommandLine("\"C:\\a b\\t.exe\""), "\"C:\\a b\\t.exe\"");
    EXPECT_EQ(QuotedCommandLine("t.exe"), "\"t.exe\"");
}

TEST(LauncherRules, OnlyOneExecutableIsTakenFromADrop)
{
    EXPECT_EQ(JudgeLauncherDrop({"C:\\x\\TOOL.EXE"}), DropVerdict::Accepted);
    EXPECT_EQ(JudgeLauncherDrop({"C:\\x\\tool.exe", "C:\\x\\other.exe"}), DropVerdict::SeveralFiles);
    EXPECT_EQ(JudgeLauncherDrop({}), DropVerdict::SeveralFiles);
    EXPECT_EQ(JudgeLauncherDrop({"C:\\x\\clip.mpg"}), DropVerdict::NotExecutable);
}

class LauncherPrograms : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kTestKey).c_str());
        root_ = testsupport::OutputDir() + "launch\\";
        tool_ = root_ + "Program Files\\Tool\\";
        CreateDirectoryA(root_.c_str(), nullptr);
        CreateDirectoryA((root_ + "Program Files").c_str(), nullptr);
        CreateDirectoryA(tool_.c_str(), nullptr);
        const std::string probe = testsupport::ModuleDir() + "launcher_probe.exe";
        ASSERT_TRUE(CopyFileA(probe.c_str(), (tool_ + "t.exe").c_str(), FALSE));
        // What "...\Program Files\Tool\t.exe" unquoted would start first.
        ASSERT_TRUE(CopyFileA(probe.c_str(), (root_ + "Program.exe").c_str(), FALSE));
        for (const std::string& m : {tool_ + "t.exe.started", root_ + "Program.exe.started"})
            DeleteFileA(m.c_str());
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kTestKey).c_str()); }

    std::string root_, tool_;
};

TEST_F(LauncherPrograms, AProgramBehindABlankStartsAndTheDecoyDoesNot)
{
    LauncherButton button;
    button.commandLine = tool_ + "t.exe";
    button.runningDir = root_;
    ASSERT_EQ(StartProgram(button), 0u);
    const std::string marker = tool_ + "t.exe.started";
    ASSERT_TRUE(testsupport::PumpMessages(30000, [&] { return Exists(marker) && !ReadText(marker).empty(); }));
    testsupport::PumpMessages(200);
    const std::string report = ReadText(marker);
    EXPECT_NE(report.find("\"" + tool_ + "t.exe\""), std::string::npos) << report;
    std::string folder = root_;
    folder.pop_back();
    EXPECT_NE(report.find("\n" + folder), std::string::npos) << "runs in its working folder\n" << report;
    EXPECT_FALSE(Exists(root_ + "Program.exe.started")) << "the decoy never ran";
}

TEST_F(LauncherPrograms, AMissingProgramIsAnErrorNotAStart)
{
    LauncherButton button;
    button.commandLine = tool_ + "gone.exe";
    EXPECT_NE(StartProgram(button), 0u);
    button.commandLine.clear();
    EXPECT_NE(StartProgram(button), 0u);
    button.commandLine = tool_ + "t.exe";
    button.runningDir = root_ + "no such folder";
    EXPECT_NE(StartProgram(button), 0u) << "a working folder that is gone";
}

TEST_F(LauncherPrograms, ButtonsKeepTheirProgramsAndBuildTooltips)
{
    const framework::ProfileStore store = TestStore();
    {
        SCOPED_TRACE("nothing stored");
        const LauncherButton empty = LoadButton(store, 2, kNoProgram);
        EXPECT_EQ(empty.commandLine, "");
        EXPECT_EQ(empty.tooltip, kNoProgram);
        EXPECT_FALSE(empty.modified);
        EXPECT_EQ(store.GetString("Launching\\Btn2", "ToolTips", "?"), kNoProgram);
    }
    {
        SCOPED_TRACE("a program stored without a working folder");
        store.WriteString("Launching\\Btn0", "CmdLine", (tool_ + "t.exe").c_str());
        const LauncherButton loaded = LoadButton(store, 0, kNoProgram);
        EXPECT_EQ(loaded.runningDir, root_ + "Program Files\\Tool");
        EXPECT_EQ(loaded.tooltip, "t.exe");
    }
    {
        SCOPED_TRACE("saved and read back");
        LauncherButton button{tool_ + "t.exe", "", "t.exe", true};
        SaveButton(store, 1, button);
        const LauncherButton back = LoadButton(store, 1, kNoProgram);
        EXPECT_EQ(back.commandLine, button.commandLine);
        EXPECT_EQ(back.runningDir, "") << "an empty folder stays empty";
        EXPECT_TRUE(back.modified);
    }
    {
        SCOPED_TRACE("the program went away");
        store.WriteString("Launching\\Btn3", "CmdLine", (tool_ + "vanished.exe").c_str());
        EXPECT_EQ(LoadButton(store, 3, kNoProgram).tooltip, kNoProgram);
    }
    {
        SCOPED_TRACE("a value of the wrong type reads as missing");
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string("Software\\") + kTestKey + "\\Marovin\\Launching\\Btn2").c_str(),
                                  0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const DWORD number = 7;
        RegSetValueExA(key, "CmdLine", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
        RegCloseKey(key);
        const LauncherButton odd = LoadButton(store, 2, kNoProgram);
        EXPECT_EQ(odd.commandLine, "");
        EXPECT_EQ(odd.tooltip, kNoProgram);
    }
}
