// Marovin with the skin's editing mode allowed, over a copy of its own skin: the control menu's
// "Lock Control in Place" is command 1, which the main window must not take for OK; a control
// dragged by (10, 5) and nudged by the arrow keys is offered for saving at shut-down, saved over
// the skin file, and found there at the next start.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "MarovinDialogs.h"
#include "MarovinProcess.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

constexpr char kSettingsRoot[] = "Software\\Halvark\\Marovin";
constexpr char kEngineKey[] = "Software\\Corvale\\GraphicsEngineAppSettings\\Reelwright";
constexpr int kOpenFile = 1004;  // enabled without a capture device: a disabled one takes no mouse

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

POINT PlaceOf(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top};
}

POINT CentreOf(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

HWND VisibleMenu()
{
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// Right-clicks `control` and picks the first entry of the menu's first sub-menu: the graphics
// settings' lock entry. True once the menu has closed again.
bool ToggleLockFromMenu(HWND control)
{
    const POINT centre = CentreOf(control);
    SetCursorPos(centre.x, centre.y);
    PostMessageA(control, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    HWND menu = nullptr;
    if (!testsupport::PumpMessages(15000, [&] { return (menu = VisibleMenu()) != nullptr; }))
        return false;
    testsupport::PumpMessages(200);
    for (WPARAM key : {VK_DOWN, VK_RIGHT, VK_RETURN}) {
        PostMessageA(VisibleMenu() ? VisibleMenu() : menu, WM_KEYDOWN, key, 0);
        testsupport::PumpMessages(200);
    }
    return testsupport::PumpMessages(10000, [] { return VisibleMenu() == nullptr; });
}

// Other tests' windows share the display: the real mouse reaches the control only once no
// other window covers it.
bool UncoverForMouse(HWND window, HWND control)
{
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return testsupport::PumpMessages(10000, [&] { 
        const HWND hit = WindowFromPoint(CentreOf(control));
        return hit == control || IsChild(control, hit);
    });
}

void Drag(HWND control, int dx, int dy)
{
    const POINT from = CentreOf(control);
    SetCursorPos(from.x, from.y);
    testsupport::PumpMessages(150);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    testsupport::PumpMessages(250);
    for (int step = 1; step <= 5; ++step) {
        SetCursorPos(from.x + dx * step / 5, from.y + dy * step / 5);
        testsupport::PumpMessages(60);
    }
    testsupport::PumpMessages(150);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

class MarovinEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsRoot);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kEngineKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const DWORD on = 1;
        RegSetValueExA(key, "AllowEditingOfGraphicsSettings", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
        RegCloseKey(key);
        // The program and its skin in a folder of their own: the saved skin must not be the
        // one the other tests start with.
        const std::string bin = testsupport::ModuleDir();
        folder_ = testsupport::OutputDir() + "editing\\";
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
        std::filesystem::create_directories(folder_);
        for (const auto& entry : std::filesystem::directory_iterator(bin)) {
            const std::string name = entry.path().filename().string();
            if (name == "Marovin.exe" || entry.path().extension() == ".dll")
                std::filesystem::copy_file(entry.path(), folder_ + name);
        }
        std::filesystem::copy(bin + "Skins", folder_ + "Skins", std::filesystem::copy_options::recursive);
    }
    void TearDown() override
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEngineKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "AllowEditingOfGraphicsSettings");
            RegCloseKey(key);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsRoot);
    }
    std::string folder_;
};

}  // namespace

TEST_F(MarovinEditing, LockKeepsTheWindowOpenAndADraggedControlIsSavedAtShutDownAndReappears)
{
    const std::string skinFile = folder_ + "Skins\\Skin\\Graphics1033.xml";
    const std::string original = ReadAll(skinFile);
    POINT before{}, moved{};
    {
        Running marovin;
        ASSERT_TRUE(Start(folder_ + "Marovin.exe", marovin));
        const HWND window = WaitForMainWindow(30000);
        ASSERT_NE(window, nullptr) << marovin.Output();
        const HWND button = GetDlgItem(window, kOpenFile);
        ASSERT_NE(button, nullptr);
        before = PlaceOf(button);

        ASSERT_TRUE(UncoverForMouse(window, button)) << "another window covers the control";
        // A window of another test that takes the activation closes the menu unchosen, leaving
        // the control locked; the drag then shows it and the lock is toggled once more.
        for (int attempt = 0; attempt < 2 && PlaceOf(button).x == before.x; ++attempt) {
            ASSERT_TRUE(ToggleLockFromMenu(button)) << "the control menu did not show";
            testsupport::PumpMessages(500);
            DWORD code = 0;
            EXPECT_FALSE(WaitForExit(marovin, 0, &code)) << "the menu's command 1 ended the program as OK";
            ASSERT_TRUE(IsWindow(window) && IsWindowVisible(window));
            ASSERT_TRUE(UncoverForMouse(window, button)) << "another window covers the control";
            Drag(button, 10, 5);
            testsupport::PumpMessages(5000, [&] { return PlaceOf(button).x - before.x == 10; });
        }
        moved = PlaceOf(button);
        ASSERT_EQ(moved.x - before.x, 10) << "the unlocked control follows the drag";
        EXPECT_EQ(moved.y - before.y, 5);
        // The dragged control stays selected: the arrow keys nudge it a pixel at a time, ahead
        // of the program's own key commands.
        for (WPARAM key : {VK_RIGHT, VK_DOWN})
            PostMessageA(button, WM_KEYDOWN, key, 0);
        testsupport::PumpMessages(5000, [&] { return PlaceOf(button).y - before.y == 6; });
        moved = PlaceOf(button);
        EXPECT_EQ(moved.x - before.x, 11);
        EXPECT_EQ(moved.y - before.y, 6);
        EXPECT_EQ(ReadAll(skinFile), original) << "nothing reaches the disk before a save";

        // Shut-down offers the save; the save dialog proposes the skin file itself.
        std::set<HWND> known{window};
        PostMessageA(window, WM_CLOSE, 0, 0);
        const DWORD process = marovin.info.dwProcessId;
        const HWND question = NewDialogOf(process, known, kDialogWaitMs);
        ASSERT_NE(question, nullptr) << Describe(marovin);
        EXPECT_NE(BoxText(question).find("Graphics settings"), std::string::npos) << BoxText(question);
        known.insert(question);
        PostMessageA(question, WM_COMMAND, IDYES, 0);
        const HWND save = NewDialogOf(process, known, kDialogWaitMs);
        ASSERT_NE(save, nullptr) << Describe(marovin);
        known.insert(save);
        PostMessageA(save, WM_COMMAND, IDOK, 0);
        const HWND replace = NewDialogOf(process, known, kDialogWaitMs);  // the file exists
        ASSERT_NE(replace, nullptr) << Describe(marovin);
        known.insert(replace);
        PostMessageA(replace, WM_COMMAND, IDYES, 0);
        const HWND saved = NewDialogOf(process, known, kDialogWaitMs);
        ASSERT_NE(saved, nullptr) << Describe(marovin);
        EXPECT_NE(BoxText(saved).find("successfully"), std::string::npos) << BoxText(saved);
        PostMessageA(saved, WM_COMMAND, IDOK, 0);
        DWORD code = 99;
        ASSERT_TRUE(WaitForExit(marovin, 30000, &code)) << Describe(marovin);
        EXPECT_EQ(code, 0u);
    }
    EXPECT_NE(ReadAll(skinFile), original) << "the save wrote the skin file";

    Running again;
    ASSERT_TRUE(Start(folder_ + "Marovin.exe", again));
    const HWND window = WaitForMainWindow(30000);
    ASSERT_NE(window, nullptr) << again.Output();
    const POINT reloaded = PlaceOf(GetDlgItem(window, kOpenFile));
    EXPECT_EQ(reloaded.x, moved.x);
    EXPECT_EQ(reloaded.y, moved.y);
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(WaitForExit(again, 30000, &code)) << "an unchanged skin is not offered for saving\n" << Describe(again);
    EXPECT_EQ(code, 0u);
}
