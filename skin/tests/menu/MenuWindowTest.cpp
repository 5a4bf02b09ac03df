// The skinned menu as a real window over the real skin: all 41 entries, placement codes and
// the screen's edges, choosing by click and by keyboard, marks, and a sub-menu opened by the
// mouse whose choice comes back through its parent. Moves the real cursor.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <thread>

#include "EQorMenu.h"
#include "GdiObjectCount.h"
#include "RealSkinEngine.h"
#include "TestSupport.h"

namespace {

std::unique_ptr<enginetest::RealSkinEngine>& Engine()
{
    static std::unique_ptr<enginetest::RealSkinEngine> engine;
    return engine;
}

constexpr int kFirstRadio = 1224;

struct FindMenu {
    HWND exclude;
    HWND found;
};

BOOL CALLBACK MatchMenu(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<FindMenu*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || window == search->exclude || !IsWindowVisible(window) ||
        !GetDlgItem(window, kFirstRadio))
        return TRUE;
    search->found = window;
    return FALSE;
}

// A shown menu window of this process other than `exclude`, waiting up to `timeoutMs`.
HWND WaitForMenu(HWND exclude = nullptr, DWORD timeoutMs = 10000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(40)) {
        FindMenu search{exclude, nullptr};
        EnumWindows(MatchMenu, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
    }
    return nullptr;
}

bool WaitGone(HWND window, DWORD timeoutMs = 5000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(40))
        if (!IsWindow(window) || !IsWindowVisible(window))
            return true;
    return false;
}

RECT RectOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT WorkArea()
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

void Click(HWND button)
{
    RECT r{};
    GetClientRect(button, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(button, WM_LBUTTONUP, 0, at);
}

void Key(HWND window, UINT key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

void CursorTo(HWND control)
{
    const RECT r = RectOf(control);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// Tracks `menu` here while `act` drives it from a second thread; a menu the act left open is
// closed so the test never hangs. Returns TrackQorMenu's result.
INT_PTR Track(EQorMenu& menu, const std::function<void(HWND)>& act, bool* found = nullptr)
{
    SetCursorPos(0, 0);  // away from every entry
    bool seen = false;
    std::thread driver([&] {
        HWND window = WaitForMenu();
        seen = window != nullptr;
        if (!window)
            return;
        Sleep(250);  // painted
        act(window);
        if (!WaitGone(window))
            PostMessageA(window, WM_CLOSE, 0, 0);
    });
    const INT_PTR result = menu.TrackQorMenu();
    driver.join();
    if (found)
        *found = seen;
    EXPECT_TRUE(seen) << "the menu appeared";
    return result;
}

class MenuWindow : public testing::Test {
protected:
    static void SetUpTestSuite() { Engine() = std::make_unique<enginetest::RealSkinEngine>(MAROVIN_SKIN_DIR, "MenuWindowTests"); }
    static void TearDownTestSuite() { Engine().reset(); }
    void SetUp() override { ASSERT_TRUE(Engine()->Started()); }
};

}  // namespace

TEST_F(MenuWindow, FortyOneEntriesUseEveryRadioButton)
{
    EQorMenu menu;
    for (int i = 0; i < EQorMenu::kMaxEntries; ++i)
        ASSERT_TRUE(menu.AddEntry("Entry " + std::to_string(i), 100 + i));
    EXPECT_FALSE(menu.AddEntry("One too many", 999));
    menu.SetPlacement(4, {40, 10});
    std::set<int> shown;
    RECT rect{};
    const INT_PTR result = Track(menu, [&](HWND window) {
        rect = RectOf(window);
        for (int id = kFirstRadio; id <= 1265; ++id) {
            HWND radio = GetDlgItem(window, id);
            char name[32] = {};
            if (radio && IsWindowVisible(radio) && GetClassNameA(radio, name, sizeof(name)) && std::string(name) == "QORBUTTON")
                shown.insert(id);
        }
        Click(GetDlgItem(window, 1265));
    });
    EXPECT_EQ(shown.size(), 41u);
    EXPECT_EQ(shown.count(1244), 0u);
    EXPECT_TRUE(Inside(rect, WorkArea()));
    EXPECT_EQ(result, EQorMenu::kChosen);
    EXPECT_EQ(menu.GetSelection(), 140);
}

TEST_F(MenuWindow, PlacementNineBehavesAsZero)
{
    RECT asNine{}, asZero{};
    for (int code : {9, 0}) {
        EQorMenu menu;
        menu.AddEntry("Open", 1);
        menu.AddEntry("Save", 2);
        menu.SetPlacement(code, {700, 600});
        const INT_PTR result = Track(menu, [&](HWND window) {
            (code == 9 ? asNine : asZero) = RectOf(window);
            Key(window, VK_ESCAPE);
        });
        EXPECT_EQ(result, EQorMenu::kNothingChosen);
        EXPECT_EQ(menu.GetSelection(), -1);
    }
    EXPECT_TRUE(EqualRect(&asNine, &asZero));
    EXPECT_EQ(asNine.right, 700) << "code 0 opens above and left of the point";
    EXPECT_EQ(asNine.bottom, 600);
}

TEST_F(MenuWindow, MenuNearTheScreenEdgeMovesToFit)
{
    const RECT work = WorkArea();
    EQorMenu menu;
    for (int i = 0; i < 6; ++i)
        menu.AddEntry("Entry " + std::to_string(i), i);
    const POINT corner{work.right - 10, work.bottom - 10};
    menu.SetPlacement(4, corner);
    RECT rect{};
    Track(menu, [&](HWND window) {
        rect = RectOf(window);
        PostMessageA(window, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(Inside(rect, work));
    EXPECT_EQ(rect.right, corner.x) << "it opens to the other side of the point";
    EXPECT_EQ(rect.bottom, corner.y);
}

TEST_F(MenuWindow, PointOffTheWorkAreaOpensAtTheCursor)
{
    EQorMenu menu;
    menu.AddEntry("Open", 1);
    menu.SetPlacement(4, {-5000, -5000});
    RECT rect{};
    Track(menu, [&](HWND window) {  // Track puts the cursor at (0, 0)
        rect = RectOf(window);
        Key(window, VK_ESCAPE);
    });
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
}

TEST_F(MenuWindow, MarksTheCurrentEntryAndChoosesByKeyboard)
{
    EQorMenu menu;
    menu.AddEntry("Composite", 11);
    menu.AddEntry("S-Video", 12);
    menu.AddSeparator();
    menu.AddEntry("Disabled", 13, MF_GRAYED);
    menu.AddEntry("Tuner", 14);
    ASSERT_TRUE(menu.SetCurrentEntryByID(12));
    EXPECT_FALSE(menu.SetCurrentEntryByID(99));
    menu.SetPlacement(4, {200, 200});
    std::vector<int> checks;
    std::string caption;
    bool disabled = false;
    const INT_PTR result = Track(menu, [&](HWND window) {
        for (int id = kFirstRadio; id < kFirstRadio + 4; ++id)
            checks.push_back(static_cast<int>(SendMessageA(GetDlgItem(window, id), BM_GETCHECK, 0, 0)));
        if (auto* radio = dynamic_cast<EQorButton*>(CWnd::FromHandlePermanent(GetDlgItem(window, kFirstRadio))))
            caption = radio->CurrentCaption();
        disabled = !IsWindowEnabled(GetDlgItem(window, kFirstRadio + 2));
        EXPECT_TRUE(testsupport::CaptureWindow(window).SaveBmp(testsupport::OutputDir() + "menu-marked.bmp"));
        Click(GetDlgItem(window, kFirstRadio + 2));  // disabled: nothing happens
        Sleep(200);
        // Down three times skips the disabled entry and lands on "Tuner".
        for (int i = 0; i < 3; ++i)
            Key(window, VK_DOWN);
        Key(window, VK_RETURN);
    });
    EXPECT_EQ(checks, (std::vector<int>{BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED}));
    EXPECT_TRUE(menu.MarksSelection());
    EXPECT_EQ(caption, "  Composite") << "two blanks leave room for the mark";
    EXPECT_TRUE(disabled);
    EXPECT_EQ(result, EQorMenu::kChosen);
    EXPECT_EQ(menu.GetSelection(), 14);
}

TEST_F(MenuWindow, SubMenuOpensOnHoverAndItsChoiceReturnsThroughTheParent)
{
    EQorMenu inputs;
    inputs.AddEntry("Tuner", 201);
    inputs.AddEntry("Composite", 202);
    inputs.AddEntry("S-Video", 203);
    EQorMenu menu;
    menu.AddEntry("Start recording", 101);
    menu.AddPopupMenu("Input", &inputs, 102);
    menu.AddSeparator();
    menu.AddEntry("Snapshot", 103);
    menu.AddEntry("Exit", 104);
    menu.SetPlacement(4, {300, 200});
    RECT parent{}, sub{}, entry{}, again{};
    bool closedOnReturn = false, parentStayed = false;
    const INT_PTR result = Track(menu, [&](HWND window) {
        parent = RectOf(window);
        entry = RectOf(GetDlgItem(window, kFirstRadio + 1));
        CursorTo(GetDlgItem(window, kFirstRadio + 1));
        HWND subWindow = WaitForMenu(window);
        if (!subWindow)
            return;
        Sleep(250);
        sub = RectOf(subWindow);
        RECT both{};
        UnionRect(&both, &parent, &sub);
        EXPECT_TRUE(testsupport::CaptureScreen(both).SaveBmp(testsupport::OutputDir() + "menu-with-submenu.bmp"));
        // Back to another entry of the parent: the sub-menu closes, the parent stays.
        CursorTo(GetDlgItem(window, kFirstRadio));
        closedOnReturn = WaitGone(subWindow);
        parentStayed = IsWindowVisible(window) != FALSE;
        // And again: the same sub-menu opens a second time; choose in it.
        CursorTo(GetDlgItem(window, kFirstRadio + 1));
        subWindow = WaitForMenu(window);
        if (!subWindow)
            return;
        again = RectOf(subWindow);
        Sleep(150);
        Click(GetDlgItem(subWindow, kFirstRadio + 1));
    });
    EXPECT_TRUE(closedOnReturn);
    EXPECT_TRUE(parentStayed);
    EXPECT_EQ(sub.left, parent.right - 5) << "opens at the parent's right edge";
    EXPECT_EQ(sub.top, entry.top) << "level with its entry";
    EXPECT_TRUE(EqualRect(&sub, &again));
    EXPECT_EQ(result, EQorMenu::kChosen);
    EXPECT_EQ(menu.GetSelection(), 202);
    EXPECT_EQ(inputs.GetSelection(), 202);
    SetCursorPos(0, 0);
}

TEST_F(MenuWindow, AnotherWindowTakingTheActivationClosesTheMenu)
{
    EQorMenu menu;
    menu.AddEntry("Open", 1);
    menu.AddEntry("Save", 2);
    menu.SetPlacement(4, {200, 200});
    bool closedByActivation = false;
    const INT_PTR result = Track(menu, [&](HWND window) {
        HWND other = CreateWindowExA(0, "STATIC", "Elsewhere", WS_POPUP | WS_VISIBLE, 700, 600, 120, 40, nullptr,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(other);
        closedByActivation = WaitGone(window, 3000);
        DestroyWindow(other);
    });
    EXPECT_TRUE(closedByActivation);
    EXPECT_EQ(result, EQorMenu::kNothingChosen);
    EXPECT_EQ(menu.GetSelection(), -1);
}

TEST_F(MenuWindow, OpeningMenusLeavesNoGdiObjectsBehind)
{
    const auto openOnce = [] {
        EQorMenu menu;
        for (int i = 0; i < 12; ++i) {
            menu.AddEntry("Entry " + std::to_string(i), i);
            if (i % 4 == 3)
                menu.AddSeparator();
        }
        menu.SetCurrentEntry(2);
        menu.SetPlacement(4, {100, 100});
        Track(menu, [](HWND window) { Key(window, VK_ESCAPE); });
    };
    openOnce();  // the first menu may fill caches that stay
    const DWORD before = testsupport::GdiObjectCount();
    for (int i = 0; i < 5; ++i)
        openOnce();
    const DWORD after = testsupport::GdiObjectCount();
    ASSERT_GT(before, 0u);
    EXPECT_LE(after, before + 2) << "GDI objects before " << before << ", after five menus " << after;
}

TEST_F(MenuWindow, EmptyMenuIsLeftAtOnce)
{
    EQorMenu menu;
    EXPECT_EQ(menu.TrackQorMenu(), EQorMenu::kNothingChosen);
    EXPECT_EQ(menu.GetSelection(), -1);
}
