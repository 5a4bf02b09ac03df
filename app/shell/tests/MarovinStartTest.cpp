// Marovin.exe started as a real process under Wine: first start, the shown main window,
// the delayed preview start, the second instance, the close sequence, and bad input.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

#include "MarovinProcess.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

constexpr char kSettingsRoot[] = "Software\\Halvark\\Marovin";

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool ValueExists(const char* section, const char* entry)
{
    const std::string path = std::string(kSettingsRoot) + (section[0] ? "\\" : "") + section;
    return RegGetValueA(HKEY_CURRENT_USER, path.c_str(), entry, RRF_RT_ANY, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

class MarovinStartTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsRoot); }
    std::string Exe() const { return testsupport::ModuleDir() + "Marovin.exe"; }
    std::string Out(const char* name) const { return testsupport::OutputDir() + name; }
};

TEST_F(MarovinStartTest, FirstStartShowsTheWindowWritesSettingsAndClosesInOrder)
{
    Running marovin;
    ASSERT_TRUE(Start(Exe(), marovin));
    const HWND window = WaitForMainWindow(30000);
    ASSERT_NE(window, nullptr);
    // The preview starts one second after initialisation; with no device it shows "no video".
    const HWND noVideo = GetDlgItem(window, 1338);
    testsupport::PumpMessages(15000, [&] { return IsWindowVisible(noVideo) != FALSE; });

    testsupport::CaptureWindow(window).SaveBmp(Out("main-window.bmp"));
    EXPECT_TRUE(ValueExists("General", "Locale"));
    EXPECT_TRUE(ValueExists("Capture", "RecordingFolder"));
    EXPECT_TRUE(ValueExists("Capture", "StillPicFolder"));
    EXPECT_TRUE(ValueExists("Decoder", "Decoder1FilterName2"));
    EXPECT_TRUE(ValueExists("Demux", "DemuxMPEG1CLSID2"));
    EXPECT_TRUE(ValueExists("Custom", "selected"));
    EXPECT_FALSE(ValueExists("Capture", "VarBitrateDVD"));

    // The idle picture fills the video area rather than the dialog's grey.
    const HWND video = GetDlgItem(window, 1000);
    ASSERT_NE(video, nullptr);
    const testsupport::ScreenImage area = testsupport::CaptureWindow(video);
    EXPECT_GT(area.DistinctColours(), 8u);
    EXPECT_TRUE(IsWindowVisible(noVideo));

    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(WaitForExit(marovin, 15000, &code)) << Describe(marovin);
    EXPECT_EQ(code, 0u);

    const std::string output = marovin.Output();
    std::smatch match;
    ASSERT_TRUE(std::regex_search(output, match,
                                  std::regex(R"(Marovin:  preview start (\d+) ms after)")))
        << output;
    EXPECT_GE(std::stoul(match[1].str()), 900u);  // a one-shot timer, not initialisation
    const auto initialised = output.find("Marovin:  main window initialised");
    const auto previewStart = output.find("Marovin:  preview start");
    const auto closing = output.find("Marovin:  closing: timers stopped");
    const auto destroyed = output.find("Marovin:  main window destroyed");
    ASSERT_NE(initialised, std::string::npos);
    ASSERT_NE(closing, std::string::npos);
    ASSERT_NE(destroyed, std::string::npos);
    EXPECT_LT(initialised, previewStart);
    EXPECT_LT(previewStart, closing);
    EXPECT_LT(closing, destroyed);
}

TEST_F(MarovinStartTest, SecondStartBringsTheFirstWindowForwardAndEnds)
{
    Running first;
    ASSERT_TRUE(Start(Exe(), first));
    const HWND window = WaitForMainWindow(30000);
    ASSERT_NE(window, nullptr);

    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    testsupport::PumpMessages(300);

    Running second;
    ASSERT_TRUE(Start(Exe(), second));
    DWORD code = 99;
    ASSERT_TRUE(WaitForExit(second, 30000, &code)) << Describe(second);
    EXPECT_EQ(code, 0u);
    // Other tests' windows share the display and may take the foreground soon after: it is
    // enough that the first window came forward.
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return GetForegroundWindow() == window; }))
        << "foreground " << GetForegroundWindow() << ", Marovin " << window;
    EXPECT_NE(first.Output().find("Marovin:  main window initialised"), std::string::npos);
    EXPECT_EQ(second.Output().find("Marovin:  main window"), std::string::npos);
    EXPECT_NE(WaitForSingleObject(first.info.hProcess, 0), WAIT_OBJECT_0);
    DestroyWindow(other);

    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(first, 15000, &code)) << Describe(first);
    // The first instance's semaphore went with it: a new start runs normally.
    Running third;
    ASSERT_TRUE(Start(Exe(), third));
    const HWND again = WaitForMainWindow(30000);
    ASSERT_NE(again, nullptr);
    PostMessageA(again, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForExit(third, 15000, &code)) << Describe(third);
}

TEST_F(MarovinStartTest, WrongRegistryTypesAreRepairedAtStart)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kSettingsRoot) + "\\Capture").c_str(),
                              0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "SetupMode", 0, REG_SZ, reinterpret_cast<const BYTE*>("3"), 2);
    const BYTE shortValue[2] = {1, 0};
    RegSetValueExA(key, "AudioLevel", 0, REG_DWORD, shortValue, 2);
    const DWORD number = 4;
    RegSetValueExA(key, "DeviceName", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
    RegCloseKey(key);

    Running marovin;
    ASSERT_TRUE(Start(Exe(), marovin));
    const HWND window = WaitForMainWindow(30000);
    ASSERT_NE(window, nullptr);
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, (std::string(kSettingsRoot) + "\\Capture").c_str(),
                           "SetupMode", RRF_RT_REG_DWORD, nullptr, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 2u);
    size = sizeof value;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, (std::string(kSettingsRoot) + "\\Capture").c_str(),
                           "AudioLevel", RRF_RT_REG_DWORD, nullptr, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 50u);
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    EXPECT_TRUE(WaitForExit(marovin, 15000, &code)) << Describe(marovin);
}

// Copies the program and its libraries into a folder of the test's output, with the skin
// folder when asked.
std::string CopyProgram(const char* name, bool withSkin)
{
    const std::string folder = testsupport::OutputDir() + name + "\\";
    const std::string bin = testsupport::ModuleDir();
    std::string command = "cmd /c rmdir /s /q \"" + folder + "\"";
    testsupport::RunProcess(command);
    CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((bin + "*.dll").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            CopyFileA((bin + found.cFileName).c_str(), (folder + found.cFileName).c_str(), FALSE);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    CopyFileA((bin + "Marovin.exe").c_str(), (folder + "Marovin.exe").c_str(), FALSE);
    if (withSkin)
        testsupport::RunProcess("cmd /c xcopy /e /i /q \"" + bin + "Skins\" \"" + folder +
                                "Skins\"");
    return folder;
}

struct BoxTexts {
    DWORD processId;
    std::vector<std::string> texts;
};

// Answers every message box of the process with OK, collecting caption and text.
BOOL CALLBACK AnswerBox(HWND window, LPARAM parameter)
{
    auto& boxes = *reinterpret_cast<BoxTexts*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner != boxes.processId || std::string(className) != "#32770" ||
        !IsWindowVisible(window) || GetDlgItem(window, 0xFFFF) == nullptr)
        return TRUE;
    char caption[256] = {};
    char text[512] = {};
    GetWindowTextA(window, caption, sizeof caption);
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    boxes.texts.push_back(std::string(caption) + "|" + text);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

std::vector<std::string> AnswerBoxesUntilExit(Running& running, DWORD* code)
{
    BoxTexts boxes{running.info.dwProcessId, {}};
    for (int i = 0; i < 300; ++i) {
        if (WaitForSingleObject(running.info.hProcess, 100) == WAIT_OBJECT_0)
            break;
        EnumWindows(AnswerBox, reinterpret_cast<LPARAM>(&boxes));
        testsupport::PumpMessages(100);
    }
    WaitForExit(running, 5000, code);
    return boxes.texts;
}

TEST_F(MarovinStartTest, MissingIdlePictureShowsTheMessageLogsAndEnds)
{
    const std::string folder = CopyProgram("noidle", true);
    ASSERT_TRUE(DeleteFileA((folder + "Skins\\Skin\\main\\idle.bmp").c_str()));

    Running marovin;
    ASSERT_TRUE(Start(folder + "Marovin.exe", marovin));
    DWORD code = 99;
    const std::vector<std::string> boxes = AnswerBoxesUntilExit(marovin, &code);
    EXPECT_EQ(code, 0u);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Marovin|Marovin could not load its skin. Please reinstall Marovin.");
    const std::string log = ReadAll(folder + "Marovin.log");
    EXPECT_TRUE(std::regex_match(
        log, std::regex(R"(\d\d/\d\d/\d\d-\d\d:\d\d:\d\d\(ERR\) idle picture[^\n]*\n)")))
        << log;
    EXPECT_EQ(marovin.Output().find("Marovin:  main window initialised"), std::string::npos);
}

TEST_F(MarovinStartTest, UnreadableSkinEndsWithTheEngineMessage)
{
    const std::string folder = CopyProgram("badskin", true);
    const std::string graphics = folder + "Skins\\Skin\\Graphics1033.xml";
    FILE* file = std::fopen(graphics.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("<QorGraphics><not closed", file);
    std::fclose(file);

    Running marovin;
    ASSERT_TRUE(Start(folder + "Marovin.exe", marovin));
    DWORD code = 99;
    const std::vector<std::string> boxes = AnswerBoxesUntilExit(marovin, &code);
    EXPECT_EQ(code, 0u);
    ASSERT_FALSE(boxes.empty());
    EXPECT_NE(boxes.back().find("|Failed to initialize Gaphics Engine"), std::string::npos)
        << boxes.back();
    EXPECT_EQ(marovin.Output().find("Marovin:  main window initialised"), std::string::npos);
}

}  // namespace
