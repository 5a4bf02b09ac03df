// Transparent statics on a skinned dialog under the test display: substitution, placement and
// texts from the skin and text files, what they paint (the face under them, centred text with
// its shadow copy, the disabled colour) and presses that pass through to the dialog.
#include <gtest/gtest.h>

#include <climits>

#include "DialogTestSupport.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"
#include "TestSkin.h"
#include "TestSupport.h"

using namespace dialogtest;
using testsupport::PumpMessages;
using testsupport::ScreenImage;

namespace {

// Where a colour occurs in a picture.
struct Box {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    int count = 0;
};

Box FindColour(const ScreenImage& image, COLORREF colour)
{
    Box box;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.Pixel(x, y) == colour) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
                ++box.count;
            }
    return box;
}

RECT RectInParent(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class TransparentStatic : public RunningEngineTest {
protected:
    // The label as the display shows it, with its dialog on top of everything.
    static ScreenImage Picture(SkinTestDialog& d, const char* saveAs = nullptr)
    {
        SetWindowPos(d.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        PumpMessages(150);
        ScreenImage image = testsupport::CaptureWindow(d.label.m_hWnd);
        if (saveAs)
            image.SaveBmp(testsupport::OutputDir() + saveAs);
        return image;
    }
};

}  // namespace

TEST_F(TransparentStatic, IsSubstitutedPlacedAndLabelledFromTheSkinAndTextFiles)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    SkinTestDialog& d = shown.dialog;
    char className[32] = {};
    GetClassNameA(d.label.m_hWnd, className, sizeof(className));
    EXPECT_STREQ(className, "QORSTATIC");
    EXPECT_EQ(GetDlgItem(d.m_hWnd, IDC_LABEL), d.label.m_hWnd);
    EXPECT_EQ(d.label.ControlId(), IDC_LABEL);

    const RECT placed = RectInParent(d.label.m_hWnd);
    EXPECT_EQ(placed.left, 120);
    EXPECT_EQ(placed.top, 30);
    EXPECT_EQ(placed.right - placed.left, 100) << "ControlWidth";
    EXPECT_EQ(placed.bottom - placed.top, 24) << "ControlHeight";
    int x = 0, y = 0, width = 0;
    EXPECT_EQ(d.label.GetQor_X_Y(&x, &y), 0);
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, 30);
    EXPECT_EQ(d.label.GetQor_Width(&width), 0);
    EXPECT_EQ(width, 100);
    eControlType type = eQorButton;
    EXPECT_EQ(d.label.GetQorControlType(&type), 0);
    EXPECT_EQ(type, eQorTransparentStatic);

    char text[64] = {};
    GetWindowTextA(d.label.m_hWnd, text, sizeof(text));
    EXPECT_STREQ(text, "Skinned") << "caption from the text file";
    const QorStaticTextSettings& s = d.label.TextSettings();
    EXPECT_TRUE(s.centerHorizontally);
    EXPECT_TRUE(s.centerVertically);
    EXPECT_EQ(s.textColor[0], kTextWhite) << "the text file's colour wins over the skin's";
    EXPECT_EQ(s.disabledTextColor[0], kTextGrey);
    EXPECT_TRUE(s.threeD);
    EXPECT_TRUE(s.useShadow);
    EXPECT_EQ(d.GetToolTipText(d.label.m_hWnd), "") << "no tooltip for transparent statics";
}

TEST_F(TransparentStatic, PaintsTheFaceUnderItAndItsCentredTextWithTheShadowCopy)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    const ScreenImage image = Picture(shown.dialog, "transparent-static.bmp");
    ASSERT_EQ(image.width, 100);
    ASSERT_EQ(image.height, 24);
    EXPECT_EQ(image.Pixel(1, 1), kFace) << "the dialog's face shows through";
    EXPECT_EQ(image.Pixel(98, 22), kFace);
    EXPECT_EQ(FindColour(image, GetSysColor(COLOR_3DFACE)).count, 0) << "no system background";

    const Box text = FindColour(image, kTextWhite), shadow = FindColour(image, RGB(0, 0, 0));
    ASSERT_GT(text.count, 20);
    ASSERT_GT(shadow.count, 20);
    EXPECT_EQ(text.left - shadow.left, 1) << "not indented: the shadow lies one pixel up-left";
    EXPECT_EQ(text.top - shadow.top, 1);
    EXPECT_NEAR((text.left + text.right) / 2.0, 50.0, 3.0) << "centred horizontally";
    EXPECT_NEAR((text.top + text.bottom) / 2.0, 12.0, 3.0) << "centred vertically";
}

TEST_F(TransparentStatic, DisabledTextTakesTheDisabledColour)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    EQorTransparentStatic& label = shown.dialog.label;
    label.ShowTextEnabled(false);
    ScreenImage image = Picture(shown.dialog, "transparent-static-disabled.bmp");
    EXPECT_GT(FindColour(image, kTextGrey).count, 20);
    EXPECT_EQ(FindColour(image, kTextWhite).count, 0);

    label.ShowTextEnabled(true);
    image = Picture(shown.dialog);
    EXPECT_GT(FindColour(image, kTextWhite).count, 20);
    EXPECT_EQ(FindColour(image, kTextGrey).count, 0);

    EnableWindow(label.m_hWnd, FALSE);
    image = Picture(shown.dialog);
    EXPECT_GT(FindColour(image, kTextGrey).count, 20) << "a disabled window shows the disabled colour too";
    EXPECT_EQ(FindColour(image, kTextWhite).count, 0);
}

TEST_F(TransparentStatic, SettersAndNewTextsRepaintWithoutTheSystemsOwnText)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    EQorTransparentStatic& label = shown.dialog.label;
    const COLORREF green = RGB(0, 255, 0);
    label.SetTextColor(green);
    ScreenImage image = Picture(shown.dialog);
    const Box before = FindColour(image, green);
    ASSERT_GT(before.count, 20);
    EXPECT_EQ(FindColour(image, kTextWhite).count, 0);

    label.SetTextXOffset(10);
    label.SetTextYOffset(-3);
    image = Picture(shown.dialog);
    const Box moved = FindColour(image, green);
    EXPECT_EQ(moved.left - before.left, 10);
    EXPECT_EQ(moved.top - before.top, -3);

    label.SetWindowText("");
    image = Picture(shown.dialog, "transparent-static-empty.bmp");
    EXPECT_EQ(FindColour(image, kFace).count, image.width * image.height) << "only the face is left";

    // The system static would draw the new text left-aligned in black at once; only the
    // shadow copy, one pixel up-left of the text, may be black.
    label.SetWindowText("Other");
    image = Picture(shown.dialog);
    const Box other = FindColour(image, green), shadow = FindColour(image, RGB(0, 0, 0));
    ASSERT_GT(other.count, 10);
    EXPECT_EQ(shadow.left, other.left - 1);
    EXPECT_EQ(shadow.top, other.top - 1);
}

TEST_F(TransparentStatic, MovedOrFetchedAgainItShowsTheFaceWhereItNowIs)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    SkinTestDialog& d = shown.dialog;
    d.label.SetWindowText("");
    SetWindowPos(d.label.m_hWnd, nullptr, 130, 65, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ScreenImage image = Picture(d, "transparent-static-moved.bmp");
    EXPECT_EQ(image.Pixel(5, 2), kFace) << "row 67 of the face";
    EXPECT_EQ(image.Pixel(5, 8), kStripe) << "row 73 of the face: the stripe";
    EXPECT_EQ(image.Pixel(5, 20), kFace);

    EXPECT_TRUE(d.label.ReloadPartialBitmap());
    EXPECT_TRUE(d.ReloadStaticControlsBackground());
    image = Picture(d);
    EXPECT_EQ(image.Pixel(5, 8), kStripe);
}

TEST_F(TransparentStatic, AddsItsOwnElementWhenAsked)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    SkinTestDialog& d = shown.dialog;
    IXMLDOMNode* root = d.GetDlgRootNode();
    ASSERT_NE(root, nullptr);
    EXPECT_NE(d.label.AddNewQorControl(nullptr, 4242), 0);
    ASSERT_EQ(d.label.AddNewQorControl(root, 4242), 0);
    win::ComPtr<IXMLDOMNode> added, removed;
    ASSERT_TRUE(skelda::skinfile::FindControlById(root, 4242, &added));
    std::string name, width, colour;
    qorxml::NodeName(added.Get(), &name);
    EXPECT_EQ(name, "QorTransStaticControl");
    qorxml::GetAttribute(added.Get(), "ControlWidth", &width);
    qorxml::GetAttribute(added.Get(), "TextColor", &colour);
    EXPECT_EQ(width, "100");
    EXPECT_EQ(colour, std::to_string(kTextWhite));
    root->removeChild(added.Get(), removed.Put());
}

TEST_F(TransparentStatic, APressOnTheTextDragsTheDialogAndNotifiesWhenAsked)
{
    Shown<SkinTestDialog> shown;
    ASSERT_TRUE(shown.created);
    SkinTestDialog& d = shown.dialog;
    d.SetMouseMovesDialog(true);
    // The text asks for click notifications, as a template static may.
    SetWindowLongA(d.label.m_hWnd, GWL_STYLE, GetWindowLongA(d.label.m_hWnd, GWL_STYLE) | SS_NOTIFY);
    SetWindowPos(d.m_hWnd, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    PumpMessages(100);
    RECT before{};
    GetWindowRect(d.m_hWnd, &before);
    RECT label{};
    GetWindowRect(d.label.m_hWnd, &label);
    const POINT grab{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    ASSERT_EQ(WindowFromPoint(grab), d.m_hWnd) << "the text lets the mouse through to the dialog";

    DragWithMouse(grab, POINT{grab.x + 60, grab.y + 30});
    RECT after{};
    GetWindowRect(d.m_hWnd, &after);
    EXPECT_EQ(after.left - before.left, 60);
    EXPECT_EQ(after.top - before.top, 30);
    ASSERT_EQ(d.commands.size(), 1u);
    EXPECT_EQ(LOWORD(d.commands[0]), IDC_LABEL);
    EXPECT_EQ(HIWORD(d.commands[0]), STN_CLICKED);
}

TEST_F(TransparentStatic, ADialogShownAgainSkinsItAgain)
{
    SkinTestDialog d;
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(d.Create(IDD_SKIN_TEST)) << round;
        char className[32] = {};
        GetClassNameA(d.label.m_hWnd, className, sizeof(className));
        EXPECT_STREQ(className, "QORSTATIC") << round;
        const RECT placed = RectInParent(d.label.m_hWnd);
        EXPECT_EQ(placed.left, 120) << round;
        EXPECT_EQ(placed.bottom - placed.top, 24) << round;
        d.DestroyWindow();
        PumpMessages(20);
    }
}

TEST_F(TransparentStatic, TheHighlightFrameShowsOnlyWhileGraphicsEditingIsAllowed)
{
    {
        Shown<SkinTestDialog> shown;
        ASSERT_TRUE(shown.created);
        shown.dialog.label.HighlightControl(true);
        EXPECT_TRUE(shown.dialog.label.IsHighlighted());
        EXPECT_EQ(Picture(shown.dialog).Pixel(0, 0), kFace) << "no frame outside the editing mode";
    }
    EngineEnvironment::AllowGraphicsEditing(true);
    {
        Shown<SkinTestDialog> shown;
        ASSERT_TRUE(shown.created);
        EQorTransparentStatic& label = shown.dialog.label;
        EXPECT_EQ(Picture(shown.dialog).Pixel(0, 0), kFace) << "not highlighted yet";
        label.HighlightControl(true);
        const ScreenImage image = Picture(shown.dialog, "transparent-static-highlighted.bmp");
        const COLORREF frame = EQorTransparentStatic::kHighlightColour;
        for (POINT edge : {POINT{0, 0}, POINT{50, 0}, POINT{99, 12}, POINT{99, 23}, POINT{0, 12}})
            EXPECT_EQ(image.Pixel(edge.x, edge.y), frame) << edge.x << "," << edge.y;
        EXPECT_EQ(image.Pixel(1, 1), kFace) << "one pixel wide";
        label.HighlightControl(false);
        EXPECT_EQ(Picture(shown.dialog).Pixel(0, 0), kFace);
    }
    EngineEnvironment::AllowGraphicsEditing(false);
    EXPECT_TRUE(EngineEnvironment::Running());
}
