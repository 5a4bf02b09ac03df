// Skinned controls bound to a real skinned dialog under the test display: registration when
// bound, substitution, placement and text-file colours of the generic wrappers, the placement
// control's child, the slider's painting from its bitmaps, incomplete skins, and what every
// kind answers through its control interface before it has a window; all of it again for a
// dialog shown a second time.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "ControlDialog.h"
#include "ControlTestIds.h"
#include "ControlTestSkin.h"
#include "EQorTransparentStatic.h"
#include "TestSupport.h"

// Rectangles compared and printed by value (found by argument lookup: RECT lives here).
bool operator==(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

void PrintTo(const RECT& r, std::ostream* out)
{
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

using namespace controltest;
using testsupport::CaptureWindow;
using testsupport::PumpMessages;

namespace {

class Environment : public ::testing::Environment {
public:
    void SetUp() override { EngineEnvironment::Start(); }
    void TearDown() override { EngineEnvironment::Stop(); }
};

[[maybe_unused]] auto* const g_environment = ::testing::AddGlobalTestEnvironment(new Environment);

RECT ChildRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

class ControlDialogTest : public ShownDialogTest<ControlsDialog> {
protected:
    // A pixel of `control` as the screen shows it now.
    static COLORREF Shown(HWND control, int x, int y) { return ShownDialogTest::Shown(control).Pixel(x, y); }
};

}  // namespace

TEST_F(ControlDialogTest, EveryControlRegistersWithItsDialogWhenBound)
{
    const std::vector<std::pair<int, eControlType>> expected = {
        {IDC_SKIN_BUTTON, eQorButton},
        {IDC_BROKEN_BUTTON, eQorButton},
        {IDC_MIXED_BUTTON, eQorButton},
        {IDC_SKIN_SLIDER, eQorSlider},
        {IDC_BROKEN_SLIDER, eQorSlider},
        {IDC_SKIN_EDIT, eQorEdit},
        {IDC_GENERIC_COMBO, eQorGenericComboBox},
        {IDC_GENERIC_PROGRESS, eQorGenericProgressBar},
        {IDC_GENERIC_SLIDER, eQorGenericSlider},
        {IDC_GENERIC_LIST, eQorGenericListControl},
        {IDC_GENERIC_SPIN, eQorGenericSpinControl},
        {IDC_PLACEMENT, eQorGenericPlacementControl},
        {IDC_PLACEMENT_NONE, eQorGenericPlacementControl},
        {IDC_PLAIN_COMBO, eQorGenericComboBox},
    };
    EXPECT_EQ(expected, dialog.Registered());
    // Every control had an element: nobody was asked to add one.
    EXPECT_TRUE(EngineEnvironment::Ui().messages.empty());

    eControlType type = eQorButton;
    ASSERT_EQ(0, dialog.list.GetQorControlType(&type));
    EXPECT_EQ(eQorGenericListControl, type);
    CWnd* window = nullptr;
    ASSERT_EQ(0, dialog.spin.GetCWndPtr(&window));
    EXPECT_EQ(static_cast<CWnd*>(&dialog.spin), window);
    EXPECT_EQ(E_POINTER, dialog.combo.GetQorRect(nullptr));
    void* unknown = nullptr;
    EXPECT_EQ(E_NOINTERFACE, dialog.combo.QueryInterface(IID_IDispatch, &unknown));
    EXPECT_EQ(nullptr, unknown);
}

// The dialog drops its controls when it is destroyed; the kinds whose window procedure opens
// with the shared opening (buttons, sliders, edits) forget their registration with their
// window, so the same dialog object shown again has them again.
TEST_F(ControlDialogTest, ButtonsSlidersAndEditsRegisterAgainWhenTheirDialogIsShownAgain)
{
    const std::vector<std::pair<int, eControlType>> expected = {
        {IDC_SKIN_BUTTON, eQorButton}, {IDC_BROKEN_BUTTON, eQorButton}, {IDC_MIXED_BUTTON, eQorButton},
        {IDC_SKIN_SLIDER, eQorSlider}, {IDC_BROKEN_SLIDER, eQorSlider}, {IDC_SKIN_EDIT, eQorEdit},
    };
    dialog.DestroyWindow();
    testsupport::PumpMessages(20);
    EXPECT_TRUE(dialog.Registered().empty());
    ASSERT_TRUE(dialog.Create(static_cast<UINT>(dialog.GetDlgResID())));
    testsupport::PumpMessages(100);
    auto again = dialog.Registered();
    again.resize(std::min(again.size(), expected.size()));
    EXPECT_EQ(expected, again);
}

TEST_F(ControlDialogTest, GenericControlsTakeTheSkinsPlacementAndVisibility)
{
    EXPECT_EQ((RECT{230, 40, 380, 52}), ChildRect(dialog.progress.GetSafeHwnd()));
    EXPECT_EQ((RECT{230, 60, 380, 86}), ChildRect(dialog.genericSlider.GetSafeHwnd()));
    EXPECT_EQ((RECT{230, 90, 380, 170}), ChildRect(dialog.list.GetSafeHwnd()));
    // A combo box's height in the skin is that of its open list; its left, top and width show.
    const RECT combo = ChildRect(dialog.combo.GetSafeHwnd());
    EXPECT_EQ(230, combo.left);
    EXPECT_EQ(10, combo.top);
    EXPECT_EQ(150, combo.right - combo.left);
    int x = 0, y = 0, width = 0;
    EXPECT_EQ(0, dialog.list.GetQor_X_Y(&x, &y));
    EXPECT_EQ(0, dialog.list.GetQor_Width(&width));
    EXPECT_EQ(230, x);
    EXPECT_EQ(90, y);
    EXPECT_EQ(150, width);

    // The skin hides the spin button; the others show.
    BOOL visible = TRUE;
    EXPECT_EQ(0, dialog.spin.GetQor_CtrlIsVisible(&visible));
    EXPECT_FALSE(visible);
    EXPECT_FALSE(dialog.spin.IsWindowVisible());
    EXPECT_TRUE(dialog.progress.IsWindowVisible());
    EXPECT_TRUE(dialog.list.IsWindowVisible());

    // Placing keeps the template's stacking order.
    EXPECT_EQ(dialog.genericSlider.GetSafeHwnd(), GetWindow(dialog.progress.GetSafeHwnd(), GW_HWNDNEXT));
    EXPECT_EQ(dialog.list.GetSafeHwnd(), GetWindow(dialog.genericSlider.GetSafeHwnd(), GW_HWNDNEXT));
}

TEST_F(ControlDialogTest, GenericControlsTakeTheirTextFileColoursFontAndTooltip)
{
    ASSERT_TRUE(dialog.combo.HasBrushColor());
    EXPECT_EQ(kComboBackground, dialog.combo.GetBackgroundColor());
    EXPECT_EQ(kComboText, dialog.combo.GetMainTextColor());
    const RECT face = ChildRect(dialog.combo.GetSafeHwnd());
    const COLORREF comboFace = Shown(dialog.combo.GetSafeHwnd(), 4, (face.bottom - face.top) / 2);
    EXPECT_EQ(kComboBackground, comboFace);

    EXPECT_EQ(kListText, dialog.list.GetTextColor());
    EXPECT_EQ(kListBackground, ListView_GetBkColor(dialog.list.GetSafeHwnd()));
    EXPECT_EQ(kListBackground, Shown(dialog.list.GetSafeHwnd(), 70, 60));

    LOGFONTA font{};
    HFONT used = dialog.combo.GetFont();
    ASSERT_NE(nullptr, used);
    EXPECT_EQ(dialog.combo.GetSkinFont(), used);
    ASSERT_TRUE(GetObjectA(used, sizeof(font), &font));
    EXPECT_EQ(kComboFontHeight, font.lfHeight);
    EXPECT_EQ(700, font.lfWeight);
    EXPECT_STREQ("Tahoma", font.lfFaceName);

    EXPECT_EQ("Pick one", dialog.GetToolTipText(dialog.combo.GetSafeHwnd()));
    EXPECT_EQ("Rate", dialog.GetToolTipText(dialog.genericSlider.GetSafeHwnd()));
    EXPECT_EQ("Video frame", dialog.placement.GetWindowText());
}

TEST_F(ControlDialogTest, ControlsWithoutTextEntriesKeepTheSystemsLook)
{
    EXPECT_FALSE(dialog.plainCombo.HasBrushColor());
    EXPECT_FALSE(dialog.plainCombo.HasMainTextColor());
    EXPECT_EQ(nullptr, dialog.plainCombo.GetSkinFont());
    EXPECT_EQ("", dialog.plainCombo.GetCaption());
    EXPECT_FALSE(dialog.spin.HasBackgroundColor());
    const RECT face = ChildRect(dialog.plainCombo.GetSafeHwnd());
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), Shown(dialog.plainCombo.GetSafeHwnd(), 4, (face.bottom - face.top) / 2));
    // A progress entry without a font leaves the system's.
    EXPECT_EQ(nullptr, dialog.progress.GetSkinFont());
}

TEST_F(ControlDialogTest, PlacementControlPositionsItsChildAndHidesOutsideEditing)
{
    const HWND child = dialog.GetDlgItem(IDC_PLACED_CHILD);
    EXPECT_EQ((RECT{260, 200, 380, 260}), ChildRect(child));
    int id = 0;
    HWND adopted = nullptr;
    ASSERT_TRUE(dialog.placement.GetChildControlInfo(&id, &adopted));
    EXPECT_EQ(IDC_PLACED_CHILD, id);
    EXPECT_EQ(child, adopted);
    EXPECT_FALSE(dialog.placement.IsWindowVisible());
    EXPECT_FALSE(dialog.placement.IsWindowEnabled());
    EXPECT_FALSE(dialog.placementNone.GetChildControlInfo(&id, &adopted));
    EXPECT_EQ(0, id);
    EXPECT_EQ(nullptr, adopted);

    // Moved by the editing mode, the frame takes its child along when asked.
    dialog.placement.EnableForChanging(true);
    EXPECT_TRUE(dialog.placement.IsWindowVisible());
    EXPECT_TRUE(dialog.placement.IsWindowEnabled());
    dialog.placement.SetWindowPos(nullptr, 250, 190, 100, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(dialog.placement.AdjustChildControl());
    EXPECT_EQ((RECT{250, 190, 350, 240}), ChildRect(child));
    dialog.placement.EnableForChanging(false);
    EXPECT_FALSE(dialog.placement.IsWindowVisible());

    // A child chosen by the program; a window of another parent is refused.
    dialog.placementNone.SetChildControl(child);
    EXPECT_EQ((RECT{20, 210, 70, 240}), ChildRect(child));
    dialog.placementNone.SetChildControl(GetDesktopWindow());
    EXPECT_FALSE(dialog.placementNone.GetChildControlInfo(&id, &adopted));
    dialog.placementNone.SetChildControlId(IDC_PLACED_CHILD);
    EXPECT_TRUE(dialog.placementNone.GetChildControlInfo(&id, &adopted));
    dialog.placementNone.SetChildControlId(9999);  // no such item
    EXPECT_FALSE(dialog.placementNone.AdjustChildControl());
    EXPECT_TRUE(dialog.placement.NonDDXInit(IDC_PLACEMENT, &dialog));
    EXPECT_FALSE(dialog.placement.NonDDXInit(IDC_PLACEMENT_NONE, &dialog));
}

TEST_F(ControlDialogTest, SkinnedSliderIsSubstitutedAndPaintsChannelFilledPartShadowAndThumb)
{
    const HWND slider = dialog.slider.GetSafeHwnd();
    EXPECT_EQ("QORSLIDER", ClassOf(slider));
    EXPECT_EQ((RECT{10, 110, 10 + kChannelWidth, 110 + kChannelHeight}), ChildRect(slider));
    dialog.slider.SetRange(0, 100);
    dialog.slider.SetPos(50);
    const RECT thumb = dialog.slider.ThumbPaintRect();
    ASSERT_GE(thumb.right - thumb.left, kThumbWidth);
    ASSERT_GT(thumb.left, 20);
    ASSERT_LT(thumb.right + kShadowLeft + 10, kChannelWidth);
    RedrawWindow(slider, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages(60);
    const testsupport::ScreenImage shot = CaptureWindow(slider);
    shot.SaveBmp(testsupport::OutputDir() + "skinned_slider.bmp");
    EXPECT_EQ(kThumbColours[0], shot.Pixel(thumb.left + 2, thumb.top + 5));
    EXPECT_EQ(kFilled, shot.Pixel(5, 10));
    EXPECT_EQ(kChannel, shot.Pixel(kChannelWidth - 5, 10));
    // The shadow shows right of and below the thumb bitmap, shifted by its offsets.
    EXPECT_EQ(kShadow, shot.Pixel(thumb.left + kThumbWidth + kShadowLeft - 1, thumb.top + kShadowDown + 1));
    EXPECT_EQ(kFilled, shot.Pixel(thumb.left - 2, 10));
    // Right of the shadow the channel shows again.
    EXPECT_EQ(kChannel, shot.Pixel(thumb.left + kThumbWidth + kShadowLeft + 2, 10));

    // A click on the channel moves the thumb there (the skin sets "PositionToHitPoint").
    SendMessageA(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kChannelWidth - 15, 10));
    SendMessageA(slider, WM_LBUTTONUP, 0, MAKELPARAM(kChannelWidth - 15, 10));
    EXPECT_GT(dialog.slider.GetPos(), 85);
}

TEST_F(ControlDialogTest, BrokenAndMismatchedBitmapsDrawAPlainFaceOrWhatTheyHave)
{
    // Missing and unreadable bitmaps: no shape, a plain face in every state, no caption.
    EXPECT_FALSE(dialog.brokenButton.PrimaryBitmapAndRegionSet());
    EXPECT_EQ(nullptr, dialog.brokenButton.StateBitmap(0));
    EXPECT_EQ(nullptr, dialog.brokenButton.StateBitmap(1));
    EXPECT_EQ("", dialog.brokenButton.CurrentCaption());
    const HWND broken = dialog.brokenButton.GetSafeHwnd();
    EXPECT_EQ(RGB(0xC0, 0xC0, 0xC0), Shown(broken, 6, 6));
    dialog.brokenButton.EnableWindow(FALSE);
    dialog.brokenButton.SetState(3);
    EXPECT_EQ(RGB(0xE0, 0xE0, 0xE0), Shown(broken, 6, 6));

    // State bitmaps of other sizes than the Up one: each paints from its corner; a missing
    // one draws the plain face; the button keeps the Up bitmap's size.
    const HWND mixed = dialog.mixedButton.GetSafeHwnd();
    EXPECT_EQ((RECT{10, 70, 10 + kButtonWidth, 70 + kButtonHeight}), ChildRect(mixed));
    EXPECT_EQ("Mixed", dialog.mixedButton.CurrentCaption());
    dialog.mixedButton.SetState(1);
    // The caption is drawn over the small down bitmap's corner: most of it still shows.
    Shown(mixed, 0, 0);
    const testsupport::ScreenImage down = CaptureWindow(mixed);
    int yellow = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 30; ++x)
            yellow += down.Pixel(x, y) == RGB(255, 255, 0);
    EXPECT_GT(yellow, 180);
    dialog.mixedButton.SetState(2);
    EXPECT_EQ(RGB(0, 255, 255), Shown(mixed, kButtonWidth - 3, kButtonHeight - 3));
    dialog.mixedButton.EnableWindow(FALSE);
    dialog.mixedButton.SetState(3);
    EXPECT_EQ(RGB(0xE0, 0xE0, 0xE0), Shown(mixed, 3, kButtonHeight / 2));

    // A slider without thumb and channel bitmaps, a larger down thumb and wild offsets.
    const HWND slider = dialog.brokenSlider.GetSafeHwnd();
    EXPECT_EQ(nullptr, dialog.brokenSlider.SlotBitmap(EQorSlider::kThumbUp));
    EXPECT_EQ(nullptr, dialog.brokenSlider.SlotBitmap(EQorSlider::kChannel));
    Shown(slider, 0, 0);
    SetFocus(slider);
    Shown(slider, 0, 0);
    SetCapture(slider);
    const RECT thumb = dialog.brokenSlider.ThumbPaintRect();
    EXPECT_GE(thumb.right - thumb.left, 90);
    EXPECT_GE(thumb.bottom - thumb.top, 36);
    Shown(slider, 0, 0);
    ReleaseCapture();
    dialog.brokenSlider.EnableWindow(FALSE);
    Shown(slider, 0, 0);
    EXPECT_TRUE(IsWindow(slider));
}

TEST(ControlCommon, EveryKindAnswersWhoItIsAndWithoutAWindowWhereItIs)
{
    EQorButton button;
    EQorTransparentStatic label;
    EQorEdit edit;
    EQorSlider slider;
    EQorComboBoxGeneric combo;
    const struct {
        IQorControlCommon* control;
        CWnd* window;
        eControlType type;
    } kinds[] = {{&button, &button, eQorButton},
                 {&label, &label, eQorTransparentStatic},
                 {&edit, &edit, eQorEdit},
                 {&slider, &slider, eQorSlider},
                 {&combo, &combo, eQorGenericComboBox}};
    for (const auto& kind : kinds) {
        IQorControlCommon* control = kind.control;
        CWnd* window = nullptr;
        void* object = nullptr;
        eControlType type = eQorGenericFirst;
        EXPECT_EQ(0, control->GetCWndPtr(&window));
        EXPECT_EQ(kind.window, window);
        EXPECT_EQ(0, control->GetControlClassPointer(&object));
        EXPECT_EQ(static_cast<void*>(kind.window), object);
        EXPECT_EQ(0, control->GetQorControlType(&type));
        EXPECT_EQ(kind.type, type);
        void* unknown = nullptr;
        EXPECT_EQ(S_OK, control->QueryInterface(IID_IUnknown, &unknown));
        EXPECT_EQ(static_cast<void*>(control), unknown);
        EXPECT_EQ(E_NOINTERFACE, control->QueryInterface(IID_IDispatch, &unknown));
        EXPECT_EQ(nullptr, unknown);

        RECT rect{1, 2, 3, 4};
        EXPECT_EQ(E_FAIL, control->GetQorRect(&rect));
        int height = 7, width = 7, x = 7, y = 7;
        EXPECT_EQ(E_FAIL, control->GetQor_Height(&height));
        EXPECT_EQ(E_FAIL, control->GetQor_Width(&width));
        EXPECT_EQ(0, height);
        EXPECT_EQ(0, width);
        EXPECT_EQ(0, control->GetQor_X_Y(&x, &y));
        EXPECT_EQ(0, x);
        EXPECT_EQ(0, y);
        BOOL visible = FALSE;
        EXPECT_EQ(0, control->GetQor_CtrlIsVisible(&visible));
        EXPECT_TRUE(visible);
        EXPECT_EQ(E_POINTER, control->GetQor_Height(nullptr));
        EXPECT_EQ(E_POINTER, control->GetQor_X_Y(&x, nullptr));
        EXPECT_EQ(E_POINTER, control->GetQor_CtrlIsVisible(nullptr));
        EXPECT_EQ(E_POINTER, control->GetCWndPtr(nullptr));
    }
}

TEST_F(ControlDialogTest, EditsDrawTheSkinsBorderInTheTextColourOverTheirBackgroundBitmap)
{
    ASSERT_TRUE(dialog.edit.GetDrawBorder());
    ASSERT_TRUE(dialog.edit.HasBackgroundBitmap());
    const RECT place = ChildRect(dialog.edit.GetSafeHwnd());
    ASSERT_EQ(place.right - place.left, 100);
    const auto image = ShownDialogTest::Shown(dialog.edit.GetSafeHwnd());
    for (POINT edge : {POINT{0, 0}, POINT{50, 0}, POINT{99, 10}, POINT{50, 19}, POINT{0, 10}})
        EXPECT_EQ(kComboText, image.Pixel(edge.x, edge.y)) << edge.x << "," << edge.y;
    EXPECT_EQ(kEditPattern, image.Pixel(90, 10)) << "the bitmap, not the plain colour, behind the text";
    EXPECT_EQ(kEditPattern, image.Pixel(1, 1));
    RECT client{};
    dialog.edit.GetClientRect(&client);
    EXPECT_EQ(client.right, 98) << "the border takes one pixel on each side";

    // A bitmap that does not load keeps the one there is; an empty name goes back to the colour.
    EXPECT_FALSE(dialog.edit.SetBackgroundBitmapFile(EngineEnvironment::SkinPath() + "\\garbage.bmp"));
    EXPECT_TRUE(dialog.edit.HasBackgroundBitmap());
    EXPECT_TRUE(dialog.edit.SetBackgroundBitmapFile(""));
    EXPECT_EQ(kComboBackground, ShownDialogTest::Shown(dialog.edit.GetSafeHwnd()).Pixel(90, 10));
    dialog.edit.SetDrawBorder(false);
    dialog.edit.GetClientRect(&client);
    EXPECT_EQ(client.right, 100);
}

TEST_F(ControlDialogTest, SetIdentitySwitchesTheCaptionAndTheTooltip)
{
    EQorButton& button = dialog.button;
    const HWND window = button.GetSafeHwnd();
    EXPECT_EQ(button.CurrentCaption(), "Skin");
    EXPECT_EQ(dialog.GetToolTipText(window), "Skinned");
    ASSERT_TRUE(button.SetIdentity(1));
    EXPECT_EQ(button.CurrIdentity(), 1);
    EXPECT_EQ(button.CurrentCaption(), "Stop");
    EXPECT_EQ(dialog.GetToolTipText(window), "Stops it");
    ASSERT_TRUE(button.SetIdentity(2));
    EXPECT_EQ(button.CurrentCaption(), "") << "identity 2 has an empty caption";
    EXPECT_EQ(dialog.GetToolTipText(window), "");
    EXPECT_FALSE(button.SetIdentity(4));
    EXPECT_EQ(button.CurrIdentity(), 2) << "refused: nothing changes";
    ASSERT_TRUE(button.SetIdentity(0));
    EXPECT_EQ(button.CurrentCaption(), "Skin");
    EXPECT_EQ(dialog.GetToolTipText(window), "Skinned");
}
