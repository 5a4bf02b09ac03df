// The skinned message box as a real window over the real skin: button sets, results from
// synthetic clicks and keys, line breaks, sizes at the limits, screenshots of every style,
// and the system's box standing in when no skin is loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>

#include "EQorMessageDlg.h"
#include "GdiObjectCount.h"
#include "RealSkinEngine.h"
#include "TestSupport.h"
#include "WindowDriver.h"

namespace {

std::unique_ptr<enginetest::RealSkinEngine>& Engine()
{
    static std::unique_ptr<enginetest::RealSkinEngine> engine;
    return engine;
}

// The message and caption colour of the real skin's text file (COLORREF 15722982).
constexpr COLORREF kTextColour = 15722982;

bool IsInk(COLORREF c)
{
    return std::abs(GetRValue(c) - GetRValue(kTextColour)) + std::abs(GetGValue(c) - GetGValue(kTextColour)) +
               std::abs(GetBValue(c) - GetBValue(kTextColour)) < 120;
}

struct BoxView {
    RECT box{};
    std::vector<int> shown;  // visible buttons, left to right
    std::vector<RECT> rects;
    bool hiddenAreDisabled = true, shownAreEnabled = true;
    std::vector<std::string> captions;
};

BoxView ViewOf(HWND box)
{
    BoxView view;
    GetWindowRect(box, &view.box);
    std::vector<std::pair<LONG, int>> byX;
    for (int id = IDOK; id <= IDNO; ++id) {
        HWND button = GetDlgItem(box, id);
        if (!button)
            continue;
        RECT r{};
        GetWindowRect(button, &r);
        if (IsWindowVisible(button)) {
            byX.push_back({r.left, id});
            view.shownAreEnabled = view.shownAreEnabled && IsWindowEnabled(button);
        } else {
            view.hiddenAreDisabled = view.hiddenAreDisabled && !IsWindowEnabled(button);
        }
    }
    std::sort(byX.begin(), byX.end());
    for (const auto& [x, id] : byX) {
        view.shown.push_back(id);
        RECT r{};
        GetWindowRect(GetDlgItem(box, id), &r);
        view.rects.push_back(r);
        auto* button = dynamic_cast<EQorButton*>(CWnd::FromHandlePermanent(GetDlgItem(box, id)));
        view.captions.push_back(button ? button->CurrentCaption() : std::string("?"));
    }
    return view;
}

// A synthetic click: press and release in the middle of the button.
void Click(HWND button)
{
    RECT r{};
    GetClientRect(button, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(button, WM_LBUTTONUP, 0, at);
}

// Runs `act` on the box (found by a text among its children) from a second thread while
// `show` runs it modally here; a box the act left open is closed so the test never hangs.
int Drive(const std::string& childText, const std::function<int()>& show, const std::function<void(HWND)>& act)
{
    enginetest::WindowDriver driver("", childText, [&act](HWND box) {
        Sleep(300);  // painted
        act(box);
        for (int i = 0; i < 100 && IsWindow(box); ++i)
            Sleep(50);
        if (IsWindow(box))
            PostMessageA(box, WM_CLOSE, 0, 0);
    });
    const int result = show();
    EXPECT_TRUE(driver.Found()) << childText;
    return result;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT WorkArea()
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// Rows of the image inside `rect` (window coordinates) that hold text ink, as runs.
int InkBands(const testsupport::ScreenImage& image, const RECT& rect)
{
    int bands = 0;
    bool previous = false;
    for (int y = rect.top; y < rect.bottom && y < image.height; ++y) {
        bool ink = false;
        for (int x = rect.left; x < rect.right && x < image.width && !ink; ++x)
            ink = IsInk(image.Pixel(x, y));
        if (ink && !previous)
            ++bands;
        previous = ink;
    }
    return bands;
}

class MessageBoxWindow : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Engine() = std::make_unique<enginetest::RealSkinEngine>(MAROVIN_SKIN_DIR, "MessageBoxWindowTests");
    }
    void SetUp() override { ASSERT_TRUE(Engine()->Started()); }
    QorGraphicsEngineAPI& Api() { return Engine()->Api(); }
};

}  // namespace

TEST_F(MessageBoxWindow, YesNoShowsYesAndNoAndReturnsTheOneClicked)
{
    for (int target : {IDYES, IDNO}) {
        BoxView view;
        const int result = Drive(
            "Yes or no " + std::to_string(target),
            [&] {
                return Api().QorMessageBox("Delete the recording?", ("Yes or no " + std::to_string(target)).c_str(),
                                           MB_YESNO | MB_ICONQUESTION, false);
            },
            [&](HWND box) {
                view = ViewOf(box);
                Click(GetDlgItem(box, target));
            });
        EXPECT_EQ(view.shown, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(view.captions, (std::vector<std::string>{"Yes", "No"})) << "from the text file";
        EXPECT_EQ(result, target);
    }
}

TEST_F(MessageBoxWindow, EveryStyleShowsItsButtonSetAndReturnsItsFirstButton)
{
    const std::vector<std::vector<int>> sets = {{IDOK},          {IDOK, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE},
                                                {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO}, {IDRETRY, IDCANCEL}};
    for (UINT style = 0; style < sets.size(); ++style) {
        const std::string caption = "Style " + std::to_string(style);
        BoxView view;
        testsupport::ScreenImage shot;
        const int result = Drive(
            caption,
            [&] {
                return Api().QorMessageBox("The recording was stopped because the disk is full.\\n"
                                           "Free some space and start again.",
                                           caption.c_str(), style | MB_ICONWARNING, false);
            },
            [&](HWND box) {
                view = ViewOf(box);
                shot = testsupport::CaptureWindow(box);
                Click(GetDlgItem(box, sets[style].front()));
            });
        EXPECT_EQ(view.shown, sets[style]) << caption;
        EXPECT_TRUE(view.shownAreEnabled) << caption;
        EXPECT_TRUE(view.hiddenAreDisabled) << caption;
        for (const RECT& r : view.rects)
            EXPECT_TRUE(Inside(r, view.box)) << caption;
        for (size_t i = 1; i < view.rects.size(); ++i)
            EXPECT_EQ(view.rects[i].left - view.rects[i - 1].right, 5) << caption;
        EXPECT_EQ(result, sets[style].front()) << caption;
        ASSERT_GT(shot.width, 0);
        EXPECT_TRUE(shot.SaveBmp(testsupport::OutputDir() + "msgbox-style-" + std::to_string(style) + ".bmp"));
        EXPECT_NE(shot.Pixel(shot.width / 2, 20), RGB(0, 0, 255)) << "the transparent colour is never drawn";
        EXPECT_GE(InkBands(shot, {20, 45, shot.width - 20, shot.height - 45}), 2) << "two lines of message";
        EXPECT_GE(InkBands(shot, {16, 5, shot.width - 20, 35}), 1) << "the caption";
    }
}

TEST_F(MessageBoxWindow, UnknownStyleShowsNoButtonRowAndClosesAsCancel)
{
    for (UINT style : {6u, 0x0Fu}) {
        const std::string caption = "Unknown style " + std::to_string(style);
        BoxView view;
        const int result = Drive(
            caption, [&] { return Api().QorMessageBox("No buttons for this one.", caption.c_str(), style, true); },
            [&](HWND box) {
                view = ViewOf(box);
                PostMessageA(box, WM_CLOSE, 0, 0);
            });
        EXPECT_TRUE(view.shown.empty()) << caption;
        EXPECT_TRUE(view.hiddenAreDisabled);
        EXPECT_EQ(result, IDCANCEL);
    }
}

TEST_F(MessageBoxWindow, SystemCloseMeansCancelEvenWithoutACancelButton)
{
    const int result = Drive(
        "Closed by the system", [&] { return Api().QorMessageBox("Close me.", "Closed by the system", MB_YESNO, false); },
        [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(MessageBoxWindow, EnterPressesTheDefaultButton)
{
    for (UINT style : {UINT(MB_YESNO), UINT(MB_YESNO | MB_DEFBUTTON2), UINT(MB_YESNOCANCEL | MB_DEFBUTTON3)}) {
        const std::string caption = "Default " + std::to_string(style);
        const int result = Drive(
            caption, [&] { return Api().QorMessageBox("Press Enter.", caption.c_str(), style, false); },
            [](HWND box) {
                GUITHREADINFO info{};
                info.cbSize = sizeof(info);
                GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info);
                HWND target = info.hwndFocus ? info.hwndFocus : box;
                PostMessageA(target, WM_KEYDOWN, VK_RETURN, 1);
                PostMessageA(target, WM_KEYUP, VK_RETURN, 0xC0000001);
            });
        const int expected = (style & MB_DEFMASK) == MB_DEFBUTTON3 ? IDCANCEL
                             : (style & MB_DEFMASK) == MB_DEFBUTTON2 ? IDNO
                                                                      : IDYES;
        EXPECT_EQ(result, expected) << caption;
    }
}

TEST_F(MessageBoxWindow, TypedBackslashNShowsTwoLines)
{
    EQorMessageDlg box;
    box.SetMessage("First phrase\\nSecond phrase");
    box.SetCaption("Two lines");
    box.SetFlags(MB_OK);
    testsupport::ScreenImage shot;
    RECT text{};
    const int result = Drive(
        "Two lines", [&] { return static_cast<int>(box.DoModal()); },
        [&](HWND window) {
            shot = testsupport::CaptureWindow(window);
            text = box.GetMessageRect();
            Click(GetDlgItem(window, IDOK));
        });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(box.GetResult(), IDOK);
    EXPECT_EQ(box.GetMessageLines(), (std::vector<std::string>{"First phrase", "Second phrase"}));
    EXPECT_EQ(InkBands(shot, text), 2);
    EXPECT_TRUE(shot.SaveBmp(testsupport::OutputDir() + "msgbox-two-lines.bmp"));
}

TEST_F(MessageBoxWindow, CentredTextSitsInTheMiddleOfItsLine)
{
    for (bool centred : {true, false}) {
        // A long caption makes the box much wider than the message.
        const std::string caption = "Centring " + std::to_string(centred) + " " + std::string(50, '-');
        EQorMessageDlg box;
        box.SetMessage("Short");
        box.SetCaption(caption);
        box.SetFlags(MB_OK);
        if (centred)
            box.CenterJustifyMsgText();
        testsupport::ScreenImage shot;
        RECT text{};
        Drive(
            caption, [&] { return static_cast<int>(box.DoModal()); },
            [&](HWND window) {
                shot = testsupport::CaptureWindow(window);
                text = box.GetMessageRect();
                Click(GetDlgItem(window, IDOK));
            });
        int left = INT_MAX, right = -1;
        for (int y = text.top; y < text.bottom && y < shot.height; ++y)
            for (int x = text.left; x < text.right && x < shot.width; ++x)
                if (IsInk(shot.Pixel(x, y))) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        ASSERT_GE(right, left) << "the message is drawn";
        if (centred)
            EXPECT_NEAR((left + right) / 2, (text.left + text.right) / 2, 4);
        else
            EXPECT_LE(left - text.left, 3);
    }
}

TEST_F(MessageBoxWindow, LongTextsAreWrappedAndTheBoxStaysOnTheScreen)
{
    std::string message(3000, 'w');
    for (int i = 0; i < 120; ++i)
        message += "\\nline " + std::to_string(i) + " of a message far longer than any screen is tall";
    const std::string caption = "A caption that goes on " + std::string(400, '=');
    BoxView view;
    testsupport::ScreenImage shot;
    const int result = Drive(
        "A caption that goes on", [&] { return Api().QorMessageBox(message.c_str(), caption.c_str(), MB_OKCANCEL, false); },
        [&](HWND box) {
            view = ViewOf(box);
            shot = testsupport::CaptureWindow(box);
            Click(GetDlgItem(box, IDCANCEL));
        });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(Inside(view.box, WorkArea()));
    ASSERT_EQ(view.shown, (std::vector<int>{IDOK, IDCANCEL}));
    for (const RECT& r : view.rects)
        EXPECT_TRUE(Inside(r, view.box));
    EXPECT_TRUE(shot.SaveBmp(testsupport::OutputDir() + "msgbox-long.bmp"));
}

TEST_F(MessageBoxWindow, EmptyMessageAndCaptionGiveASmallBoxWithItsButtons)
{
    BoxView view;
    // Without a caption the box is found by its buttons' texts.
    const int result = Drive(
        "Retry", [&] { return Api().QorMessageBox(nullptr, nullptr, MB_RETRYCANCEL, false); },
        [&](HWND box) {
            view = ViewOf(box);
            Click(GetDlgItem(box, IDRETRY));
        });
    EXPECT_EQ(result, IDRETRY);
    EXPECT_TRUE(Inside(view.box, WorkArea()));
    EXPECT_GE(view.box.right - view.box.left, 160) << "the skin's smallest width";
    EXPECT_GE(view.box.bottom - view.box.top, 100);
    EXPECT_EQ(view.shown, (std::vector<int>{IDRETRY, IDCANCEL}));
}

TEST_F(MessageBoxWindow, ShowingBoxesLeavesNoGdiObjectsBehind)
{
    const auto showOnce = [this](int i) {
        const std::string caption = "Leak check " + std::to_string(i);
        Drive(
            caption,
            [&] { return Api().QorMessageBox("Once more?\\nAnd again.", caption.c_str(), MB_YESNOCANCEL, i % 2 != 0); },
            [](HWND box) { Click(GetDlgItem(box, IDNO)); });
    };
    showOnce(0);  // the first box may fill caches that stay
    const DWORD before = testsupport::GdiObjectCount();
    for (int i = 1; i <= 6; ++i)
        showOnce(i);
    const DWORD after = testsupport::GdiObjectCount();
    ASSERT_GT(before, 0u);
    EXPECT_LE(after, before + 2) << "GDI objects before " << before << ", after six boxes " << after;
}

// Last: shuts the engine down.
TEST(MessageBoxWithoutSkin, TheSystemBoxStandsInAndTheFailureIsReported)
{
    ASSERT_TRUE(Engine());
    Engine()->Shutdown();
    QorGraphicsEngineAPI api;
    bool sawSystemBox = false;
    enginetest::WindowDriver driver("Fallback box", "", [&](HWND box) {
        const auto texts = enginetest::ChildTexts(box);
        sawSystemBox = std::find(texts.begin(), texts.end(), "No skin\nhere") != texts.end();
        PostMessageA(box, WM_COMMAND, IDNO, 0);
    });
    const int result = api.QorMessageBox("No skin\\nhere", "Fallback box", MB_YESNO, false);
    EXPECT_TRUE(driver.Found());
    EXPECT_EQ(result, IDNO);
    EXPECT_TRUE(sawSystemBox) << "the typed line break became a real one";
    EXPECT_TRUE(Engine()->Ui().Shown("(Tag GE2001)"));
    Engine().reset();
}
