// Skinned buttons as real windows under the test display: their painted faces against the real
// skin's state bitmaps, the plain face, and presses made with synthetic mouse input.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "EQorButton.h"
#include "TestSupport.h"
#include "framework/Wnd.h"

using testsupport::CaptureWindow;
using testsupport::PumpMessages;
using testsupport::ScreenImage;

namespace {

const std::string kSkinMain = std::string(MAROVIN_SKIN_DIR) + "/main/";
const char* const kStateNames[4] = {"up", "down", "focus", "disabled"};
constexpr int kButtonId = 1014;

std::string RecordBitmap(int identity, int state)
{
    return kSkinMain + "main_record_" + std::to_string(identity) + "_" + kStateNames[state] + ".bmp";
}

// The parent window: records the commands its buttons post.
class Parent : public CWnd {
public:
    std::vector<WPARAM> commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        commands.push_back(wParam);
        return TRUE;
    }
};

class ButtonWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSEXA info{};
        info.cbSize = sizeof(info);
        info.lpfnWndProc = DefWindowProcA;
        info.hInstance = GetModuleHandleA(nullptr);
        info.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        info.lpszClassName = "ButtonTestParent";
        RegisterClassExA(&info);
        AfxRegisterClassCopy("BUTTON", "QORBUTTON", GetModuleHandleA(nullptr), CS_PARENTDC, CS_DBLCLKS);
    }

    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, "ButtonTestParent", "Buttons", WS_POPUP | WS_VISIBLE, RECT{40, 40, 440, 240},
                                    nullptr, 0));
    }

    void TearDown() override
    {
        for (auto& button : buttons)
            if (button->GetSafeHwnd())
                button->DestroyWindow();
        parent.DestroyWindow();
    }

    EQorButton& AddButton(DWORD style = BS_PUSHBUTTON, int id = kButtonId, RECT rect = {20, 20, 120, 60})
    {
        buttons.push_back(std::make_unique<EQorButton>());
        EXPECT_TRUE(buttons.back()->Create("", WS_CHILD | WS_VISIBLE | style, rect, &parent, static_cast<UINT>(id)));
        return *buttons.back();
    }

    void LoadRecordBitmaps(EQorButton& button, int identities)
    {
        for (int identity = 0; identity < identities; ++identity)
            for (int state = 0; state < 4; ++state)
                ASSERT_TRUE(button.LoadNewBitmapFile(RecordBitmap(identity, state), state + 4 * identity));
    }

    static void Settle() { PumpMessages(150); }

    // Screen position of a point in the button's client area.
    static POINT OnScreen(const EQorButton& button, POINT client)
    {
        ClientToScreen(button.GetSafeHwnd(), &client);
        return client;
    }

    static void MouseTo(POINT screen)
    {
        SetCursorPos(screen.x, screen.y);
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof(input));
        Settle();
    }

    static void MouseButton(bool down)
    {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        SendInput(1, &input, sizeof(input));
        Settle();
    }

    void Click(const EQorButton& button, POINT at = {10, 10})
    {
        MouseTo(OnScreen(button, at));
        MouseButton(true);
        MouseButton(false);
    }

    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (WPARAM command : parent.commands) {
            EXPECT_EQ(kButtonId, LOWORD(command));
            codes.push_back(HIWORD(command));
        }
        return codes;
    }

    Parent parent;
    std::vector<std::unique_ptr<EQorButton>> buttons;
};

// The bitmap's pixels as 24-bit colours, top row first.
std::vector<COLORREF> BitmapPixels(HBITMAP bitmap, int* width, int* height)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    *width = info.bmWidth;
    *height = info.bmHeight;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    std::vector<DWORD> raw(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), raw.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    std::vector<COLORREF> pixels;
    for (DWORD bgra : raw)
        pixels.push_back(RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF));
    return pixels;
}

// How many pixels inside the button's shape differ between the screen and its state bitmap.
int DifferingPixels(const EQorButton& button, int index, const ScreenImage& shot)
{
    int width = 0, height = 0;
    const std::vector<COLORREF> expected = BitmapPixels(button.StateBitmap(index), &width, &height);
    int differing = 0;
    for (int y = 0; y < height && y < shot.height; ++y)
        for (int x = 0; x < width && x < shot.width; ++x) {
            if (button.GetPimaryRgn() && !PtInRegion(button.GetPimaryRgn(), x, y))
                continue;
            if (shot.Pixel(x, y) != expected[static_cast<size_t>(y * width + x)])
                ++differing;
        }
    return differing;
}

}  // namespace

TEST_F(ButtonWindowTest, PaintedFaceEqualsStateBitmapForEveryStateAndIdentity)
{
    EQorButton& button = AddButton();
    LoadRecordBitmaps(button, 4);
    ASSERT_TRUE(button.PrimaryBitmapAndRegionSet());
    for (int identity = 0; identity < 4; ++identity) {
        ASSERT_TRUE(button.SetIdentity(identity));
        for (int state = 0; state < 4; ++state) {
            button.SetState(state);
            Settle();
            const ScreenImage shot = CaptureWindow(button.GetSafeHwnd());
            ASSERT_GT(shot.width, 0);
            shot.SaveBmp(testsupport::OutputDir() + "button_record_" + std::to_string(identity) + "_" +
                         kStateNames[state] + ".bmp");
            EXPECT_EQ(0, DifferingPixels(button, state + 4 * identity, shot))
                << "identity " << identity << " state " << state;
        }
    }
}

TEST_F(ButtonWindowTest, SetStateWithTheCurrentStateDoesNotRepaint)
{
    EQorButton& button = AddButton();
    LoadRecordBitmaps(button, 1);
    button.SetState(1);
    Settle();
    {
        // Scribble over the face; only a repaint brings the bitmap back.
        HDC dc = GetDC(button.GetSafeHwnd());
        HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
        RECT all{0, 0, 400, 400};
        FillRect(dc, &all, magenta);
        DeleteObject(magenta);
        ReleaseDC(button.GetSafeHwnd(), dc);
    }
    EXPECT_TRUE(button.SetState(1));
    Settle();
    EXPECT_GT(DifferingPixels(button, 1, CaptureWindow(button.GetSafeHwnd())), 0);
    EXPECT_TRUE(button.SetState(2));
    Settle();
    EXPECT_EQ(0, DifferingPixels(button, 2, CaptureWindow(button.GetSafeHwnd())));
}

TEST_F(ButtonWindowTest, IdentityWithoutBitmapsDrawsThePlainFace)
{
    EQorButton& button = AddButton();
    LoadRecordBitmaps(button, 1);
    EXPECT_FALSE(button.SetIdentity(4));
    EXPECT_FALSE(button.SetIdentity(-1));
    EXPECT_EQ(0, button.CurrIdentity());
    ASSERT_TRUE(button.SetIdentity(2));
    button.SetState(0);
    Settle();
    ScreenImage shot = CaptureWindow(button.GetSafeHwnd());
    shot.SaveBmp(testsupport::OutputDir() + "button_plain_up.bmp");
    EXPECT_EQ(RGB(0xE0, 0xE0, 0xE0), shot.Pixel(0, 0));  // light top-left frame
    EXPECT_EQ(RGB(0xC0, 0xC0, 0xC0), shot.Pixel(shot.width / 2, shot.height / 2));

    button.SetState(1);
    Settle();
    shot = CaptureWindow(button.GetSafeHwnd());
    shot.SaveBmp(testsupport::OutputDir() + "button_plain_down.bmp");
    EXPECT_EQ(RGB(0, 0, 0), shot.Pixel(0, 0));
    EXPECT_EQ(RGB(0x7F, 0x7F, 0x7F), shot.Pixel(shot.width - 1, shot.height - 1));
    EXPECT_EQ(RGB(0, 0, 0), shot.Pixel(3, 3));  // dotted focus frame, every second pixel
    EXPECT_EQ(RGB(0xC0, 0xC0, 0xC0), shot.Pixel(4, 3));

    button.SetState(3);
    Settle();
    shot = CaptureWindow(button.GetSafeHwnd());
    EXPECT_EQ(RGB(0xE0, 0xE0, 0xE0), shot.Pixel(shot.width / 2, shot.height / 2));
}

TEST_F(ButtonWindowTest, MissingAndOddSizedBitmapsNeverBreakPainting)
{
    EQorButton& button = AddButton();
    EXPECT_FALSE(button.LoadNewBitmapFile(kSkinMain + "no_such_button.bmp", 0));
    EXPECT_FALSE(button.LoadNewBitmapFile(RecordBitmap(0, 0), 16));
    EXPECT_FALSE(button.PrimaryBitmapAndRegionSet());
    Settle();
    EXPECT_EQ(RGB(0xC0, 0xC0, 0xC0), CaptureWindow(button.GetSafeHwnd()).Pixel(50, 20));

    // A down bitmap of another size than the up one is drawn as it is.
    ASSERT_TRUE(button.LoadNewBitmapFile(RecordBitmap(0, 0), 0));
    ASSERT_TRUE(button.LoadNewBitmapFile(kSkinMain + "volume_slider_thumb_up.bmp", 1));
    button.SetState(1);
    Settle();
    const ScreenImage shot = CaptureWindow(button.GetSafeHwnd());
    int width = 0, height = 0;
    const std::vector<COLORREF> thumb = BitmapPixels(button.StateBitmap(1), &width, &height);
    const int cx = width / 2, cy = height / 2;
    ASSERT_TRUE(PtInRegion(button.GetPimaryRgn(), cx, cy));
    EXPECT_EQ(thumb[static_cast<size_t>(cy * width + cx)], shot.Pixel(cx, cy));
}

TEST_F(ButtonWindowTest, ClickPostsClickedAndReturnsUp)
{
    EQorButton& button = AddButton();
    LoadRecordBitmaps(button, 1);
    MouseTo(OnScreen(button, {20, 15}));
    MouseButton(true);
    EXPECT_EQ(1, button.GetCurrentState());
    EXPECT_EQ(button.GetSafeHwnd(), GetFocus());
    MouseButton(false);
    EXPECT_EQ(0, button.GetCurrentState());
    EXPECT_EQ(std::vector<int>{0}, Codes());
}

TEST_F(ButtonWindowTest, ToggleButtonPressedTwicePostsTwoThenThree)
{
    EQorButton& button = AddButton();
    LoadRecordBitmaps(button, 1);
    button.SetIsToggleButton(true);
    Click(button, {20, 15});
    EXPECT_EQ(1, button.GetCurrentState());
    EXPECT_TRUE(button.GetChecked());
    Click(button, {20, 15});
    EXPECT_EQ(2, button.GetCurrentState());
    EXPECT_EQ((std::vector<int>{2, 3}), Codes());
}

TEST_F(ButtonWindowTest, ReleaseOutsideWithUncaptureFlagPostsNothingAndRestores)
{
    EQorButton& button = AddButton();
    LoadRecordBitmaps(button, 1);
    button.SetUncaptureIfOutOfRegion(true);
    MouseTo(OnScreen(button, {20, 15}));
    MouseButton(true);
    EXPECT_EQ(1, button.GetCurrentState());
    MouseTo(OnScreen(button, {300, 120}));
    EXPECT_EQ(2, button.GetCurrentState());  // dragged off: focus look
    MouseButton(false);
    EXPECT_EQ(0, button.GetCurrentState());
    EXPECT_TRUE(Codes().empty());
    EXPECT_NE(button.GetSafeHwnd(), GetCapture());
}

TEST_F(ButtonWindowTest, CheckBoxFlipsAndRadioButtonsCheckInTheirGroup)
{
    EQorButton& check = AddButton(BS_AUTOCHECKBOX, kButtonId, {10, 10, 60, 40});
    Click(check);
    EXPECT_TRUE(check.GetChecked());
    EXPECT_EQ(BST_CHECKED, SendMessageA(check.GetSafeHwnd(), BM_GETCHECK, 0, 0));
    Click(check);
    EXPECT_FALSE(check.GetChecked());
    EXPECT_EQ((std::vector<int>{0, 0}), Codes());

    parent.commands.clear();
    EQorButton& first = AddButton(BS_AUTORADIOBUTTON | WS_GROUP, kButtonId, {10, 60, 60, 90});
    EQorButton& second = AddButton(BS_AUTORADIOBUTTON, kButtonId, {70, 60, 120, 90});
    Click(first);
    EXPECT_TRUE(first.GetChecked());
    EXPECT_EQ(1, first.GetCurrentState());
    Click(second);
    EXPECT_TRUE(second.GetChecked());
    EXPECT_FALSE(first.GetChecked());
    EXPECT_EQ(0, first.GetCurrentState());
    EXPECT_EQ((std::vector<int>{0, 0}), Codes());
}

TEST_F(ButtonWindowTest, DisabledButtonIgnoresPresses)
{
    EQorButton& button = AddButton();
    LoadRecordBitmaps(button, 1);
    EnableWindow(button.GetSafeHwnd(), FALSE);
    Settle();
    EXPECT_EQ(3, button.GetCurrentState());
    EXPECT_EQ(0, DifferingPixels(button, 3, CaptureWindow(button.GetSafeHwnd())));
    SendMessageA(button.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
    SendMessageA(button.GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(20, 15));
    Settle();
    EXPECT_TRUE(Codes().empty());
    EXPECT_EQ(3, button.GetCurrentState());
    EnableWindow(button.GetSafeHwnd(), TRUE);
    EXPECT_EQ(0, button.GetCurrentState());
}

TEST_F(ButtonWindowTest, HighlightOnMouseOverAndLeave)
{
    EQorButton& button = AddButton();
    LoadRecordBitmaps(button, 1);
    button.SetHighlightOnMouseOver(true);
    MouseTo(OnScreen(button, {300, 120}));
    MouseTo(OnScreen(button, {20, 15}));
    EXPECT_EQ(2, button.GetCurrentState());
    MouseTo(OnScreen(button, {300, 120}));
    PumpMessages(300, [&] { return button.GetCurrentState() == 0; });
    EXPECT_EQ(0, button.GetCurrentState());
}

TEST_F(ButtonWindowTest, SpaceKeyClicksTheFocusedButton)
{
    EQorButton& button = AddButton();
    SetFocus(button.GetSafeHwnd());
    SendMessageA(button.GetSafeHwnd(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(1, button.GetCurrentState());
    SendMessageA(button.GetSafeHwnd(), WM_KEYUP, VK_SPACE, 0xC0000001);
    Settle();
    EXPECT_EQ((std::vector<int>{0}), Codes());
}

// Outlines are traced once per picture file; a picture replaced under the same name gets its
// own outline, not the one traced before.
TEST_F(ButtonWindowTest, APictureReplacedUnderItsNameIsTracedAgain)
{
    const std::string shared = testsupport::OutputDir() + "replaced_button_picture.bmp";
    const std::string other = kSkinMain + "volume_slider_thumb_up.bmp";
    ASSERT_TRUE(CopyFileA(RecordBitmap(0, 0).c_str(), shared.c_str(), FALSE));
    EQorButton& button = AddButton();
    EQorButton& record = AddButton(BS_PUSHBUTTON, kButtonId + 1);
    EQorButton& thumb = AddButton(BS_PUSHBUTTON, kButtonId + 2);
    ASSERT_TRUE(button.LoadNewBitmapFile(shared, 0));
    ASSERT_TRUE(record.LoadNewBitmapFile(RecordBitmap(0, 0), 0));
    ASSERT_TRUE(thumb.LoadNewBitmapFile(other, 0));
    ASSERT_FALSE(EqualRgn(record.GetPimaryRgn(), thumb.GetPimaryRgn()));
    EXPECT_TRUE(EqualRgn(button.GetPimaryRgn(), record.GetPimaryRgn()));

    ASSERT_TRUE(CopyFileA(other.c_str(), shared.c_str(), FALSE));
    ASSERT_TRUE(button.LoadNewBitmapFile(shared, 0));
    EXPECT_TRUE(EqualRgn(button.GetPimaryRgn(), thumb.GetPimaryRgn()));
    // Each button owns its region: one going leaves the other's whole.
    record.ResetPimaryRgn();
    button.DestroyWindow();
    EXPECT_NE(GetRegionData(record.GetPimaryRgn(), 0, nullptr), 0u);
    DeleteFileA(shared.c_str());
}

namespace {

// A 24-bit picture of one opaque colour, written as a BMP file; with `cutCorner` its top-left
// 6 x 6 pixels are the transparent red.
void WriteSolidPicture(const std::string& path, int width, int height, bool cutCorner = false)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height, 0x40);
    for (int y = 0; cutCorner && y < 6; ++y)  // rows are stored bottom-up
        for (int x = 0; x < 6; ++x) {
            BYTE* pixel = &pixels[static_cast<size_t>(height - 1 - y) * stride + x * 3];
            pixel[0] = pixel[1] = 0;
            pixel[2] = 0xFF;
        }
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&info, sizeof(info), 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);
}

bool WholeRectangle(HRGN region, int width, int height)
{
    RECT box{};
    return GetRgnBox(region, &box) == SIMPLEREGION && box.left == 0 && box.top == 0 && box.right == width &&
           box.bottom == height;
}

}  // namespace

// A face that fills its whole picture needs no window region; a shaped one is cut to its
// outline, and a button that changes from one to the other follows.
TEST_F(ButtonWindowTest, OnlyShapedFacesCutTheirWindow)
{
    const std::string solid = testsupport::OutputDir() + "solid_button_picture.bmp";
    WriteSolidPicture(solid, 30, 20);
    const std::string shaped = testsupport::OutputDir() + "cut_button_picture.bmp";
    WriteSolidPicture(shaped, 30, 20, true);
    EQorButton& button = AddButton();
    HRGN window = CreateRectRgn(0, 0, 0, 0);

    ASSERT_TRUE(button.LoadNewBitmapFile(shaped, 0));
    ASSERT_TRUE(button.PrimaryBitmapAndRegionSet());
    RECT rect{};
    GetClientRect(button.GetSafeHwnd(), &rect);
    ASSERT_FALSE(WholeRectangle(button.GetPimaryRgn(), rect.right, rect.bottom)) << "the cut corner should shape the face";
    ASSERT_NE(GetWindowRgn(button.GetSafeHwnd(), window), ERROR);
    EXPECT_TRUE(EqualRgn(window, button.GetPimaryRgn()));

    ASSERT_TRUE(button.LoadNewBitmapFile(solid, 0));
    GetClientRect(button.GetSafeHwnd(), &rect);
    EXPECT_EQ(rect.right, 30);
    EXPECT_EQ(rect.bottom, 20);
    EXPECT_TRUE(WholeRectangle(button.GetPimaryRgn(), 30, 20));
    EXPECT_EQ(GetWindowRgn(button.GetSafeHwnd(), window), ERROR) << "the shaped face's region stayed";
    // Presses are still tested against the face: every pixel of it counts.
    EXPECT_TRUE(PtInRegion(button.GetPimaryRgn(), 29, 19));

    ASSERT_TRUE(button.LoadNewBitmapFile(shaped, 0));
    EXPECT_NE(GetWindowRgn(button.GetSafeHwnd(), window), ERROR);
    DeleteObject(window);
    DeleteFileA(solid.c_str());
    DeleteFileA(shaped.c_str());
}
