// Marovin started over a copy of its skin with one damaged bitmap, as the background or as a
// button face: the bitmaps that once ended the program before its first window. The damaged
// file is refused before the system's loader sees it and treated as a missing one: a damaged
// background gives the program's skin message, a damaged face leaves its button plain.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "MarovinProcess.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

constexpr char kSettingsRoot[] = "Software\\Halvark\\Marovin";

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

// Copies the files of `from` matching `pattern` into `to`, and sub-folders too when asked.
void CopyFiles(const std::string& from, const std::string& to, const char* pattern, bool recurse)
{
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + pattern).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                CopyFileA((from + found.cFileName).c_str(), (to + found.cFileName).c_str(), FALSE);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    if (!recurse)
        return;
    search = FindFirstFileA((from + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
            CopyFiles(from + name + "\\", to + name + "\\", pattern, true);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

struct Reproduction {
    const char* name;
    std::string (*make)(std::string face);
};

// Each starts from a sound 84 x 28 24-bit face of the skin.
const Reproduction kReproductions[] = {
    {"16-bit-offset-13", [](std::string b) { b[28] = 16; Put32(b, 10, 13); return b; }},
    {"offset-100000", [](std::string b) { Put32(b, 10, 100000); return b; }},
    {"30000x1-short", [](std::string b) { Put32(b, 18, 30000); Put32(b, 22, 1); b.resize(200); return b; }},
    {"cut-at-2084", [](std::string b) { b.resize(2084); return b; }},
};

class DamagedSkin : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsRoot); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsRoot); }

    // Marovin and its skin in a folder of their own, with `file` of the skin replaced.
    std::string Prepare(const std::string& folderName, const std::string& file, const std::string& bytes)
    {
        const std::string bin = testsupport::ModuleDir();
        const std::string folder = testsupport::OutputDir() + folderName + "\\";
        CopyFiles(bin, folder, "*.dll", false);
        CopyFileA((bin + "Marovin.exe").c_str(), (folder + "Marovin.exe").c_str(), FALSE);
        CopyFiles(bin + "Skins\\", folder + "Skins\\", "*", true);
        EXPECT_TRUE(WriteAll(folder + "Skins\\Skin\\" + file, bytes)) << file;
        return folder + "Marovin.exe";
    }

    // Starts `exe` and waits for its first window, a running program that refused the bitmap,
    // and saves the window as `shot`.
    HWND StartShowing(Running& marovin, const std::string& exe, const std::string& shot)
    {
        EXPECT_TRUE(Start(exe, marovin));
        const HWND window = WaitForMainWindow(30000);
        EXPECT_NE(window, nullptr) << "no window; output:\n" << marovin.Output();
        if (!window)
            return nullptr;
        testsupport::PumpMessages(1500);
        DWORD code = 0;
        EXPECT_FALSE(WaitForExit(marovin, 0, &code)) << "ended with " << code;
        EXPECT_TRUE(WaitForOutput(marovin, "Skelda:  bitmap refused", 5000)) << marovin.Output();
        testsupport::CaptureWindow(window).SaveBmp(testsupport::OutputDir() + shot);
        return window;
    }
};

TEST_F(DamagedSkin, ADamagedBackgroundGivesTheSkinMessageAndAnOrderlyEnd)
{
    const std::string face = ReadAll(testsupport::ModuleDir() + "Skins\\Skin\\common\\accent84_0_down.bmp");
    ASSERT_EQ(face.size(), 7110u);
    for (const Reproduction& r : kReproductions) {
        SCOPED_TRACE(r.name);
        const std::string folder = std::string("background-") + r.name;
        Running marovin;
        // Without its background the main window has no skin to show: the program says so in
        // its message box and ends, as for any skin it cannot load.
        const HWND box = StartShowing(marovin, Prepare(folder, "main\\background.bmp", r.make(face)), folder + ".bmp");
        ASSERT_NE(box, nullptr);
        char text[256] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        EXPECT_STREQ(text, "Marovin could not load its skin. Please reinstall Marovin.");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        DWORD code = 99;
        ASSERT_TRUE(WaitForExit(marovin, 15000, &code)) << Describe(marovin);
        EXPECT_EQ(code, 0u);
    }
}

TEST_F(DamagedSkin, ADamagedButtonFaceLeavesThatButtonPlain)
{
    constexpr int kCloseButton = 1043;
    const std::string face = ReadAll(testsupport::ModuleDir() + "Skins\\Skin\\common\\accent84_0_down.bmp");
    ASSERT_EQ(face.size(), 7110u);
    for (const Reproduction& r : kReproductions) {
        SCOPED_TRACE(r.name);
        const std::string folder = std::string("face-") + r.name;
        Running marovin;
        const HWND window =
            StartShowing(marovin, Prepare(folder, "main\\main_close_0_up.bmp", r.make(face)), folder + ".bmp");
        ASSERT_NE(window, nullptr);
        const HWND close = GetDlgItem(window, kCloseButton);
        ASSERT_NE(close, nullptr);
        const testsupport::ScreenImage button = testsupport::CaptureWindow(close);
        EXPECT_EQ(button.Pixel(button.width / 2, button.height / 4), RGB(0xC0, 0xC0, 0xC0)) << "the plain face";
        PostMessageA(window, WM_CLOSE, 0, 0);
        DWORD code = 99;
        ASSERT_TRUE(WaitForExit(marovin, 15000, &code)) << Describe(marovin);
        EXPECT_EQ(code, 0u);
    }
}

}  // namespace
