// A dialog that keeps no member per control: a skinned control set binds its items to the
// classes their skin elements name. Its buttons and edits show what the text file says of
// them: a button's text template font, an edit's vertically centred text.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ControlDialog.h"
#include "ControlTestIds.h"
#include "ControlTestSkin.h"
#include "TestSupport.h"

using namespace controltest;
using testsupport::ScreenImage;

namespace {

// The rows of `image` (within columns [left, right)) that hold a pixel `isInk` accepts.
template <class Predicate>
std::vector<int> InkRows(const ScreenImage& image, int left, int right, int top, int bottom, Predicate isInk)
{
    std::vector<int> rows;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (isInk(image.Pixel(x, y))) {
                rows.push_back(y);
                break;
            }
    return rows;
}

bool Dark(COLORREF colour)
{
    return GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 3 * 100;
}

using ControlSetTest = ShownDialogTest<ControlSetDialog>;

}  // namespace

TEST_F(ControlSetTest, GenericItemsBindAsTheSkinsControlTypeSaysOrByWindowClassWithoutOne)
{
    // Two buttons, two edits, the frame, the combo box and the gauge; the label names no kind.
    EXPECT_EQ(7, dialog.bound);
    const std::vector<std::pair<int, eControlType>> expected = {
        {IDC_SET_TEMPLATE_BUTTON, eQorButton},
        {IDC_SET_PLAIN_BUTTON, eQorButton},
        {IDC_SET_CENTRED_EDIT, eQorEdit},
        {IDC_SET_TOP_EDIT, eQorEdit},
        {IDC_SET_FRAME, eQorGenericPlacementControl},
        {IDC_SET_COMBO, eQorGenericComboBox},
        {IDC_SET_GAUGE, eQorGenericProgressBar},
    };
    EXPECT_EQ(expected, dialog.Registered());
    EXPECT_TRUE(EngineEnvironment::Ui().messages.empty());

    // A static of the template that the skin calls a placement control is one: placed by the
    // skin, and hidden and disabled outside the editing mode.
    auto* frame = dialog.Bound<EQorGenericAdjusterControl>(IDC_SET_FRAME);
    ASSERT_NE(nullptr, frame);
    RECT rect{};
    ASSERT_EQ(0, frame->GetQorRect(&rect));
    EXPECT_TRUE(EqualRect(&kFrameRect, &rect));
    EXPECT_FALSE(frame->IsWindowVisible());
    EXPECT_FALSE(frame->IsWindowEnabled());
    // Without a type, or with one no kind answers to, the window class decides.
    EXPECT_NE(nullptr, dialog.Bound<EQorComboBoxGeneric>(IDC_SET_COMBO));
    auto* gauge = dialog.Bound<EQorProgressBarGeneric>(IDC_SET_GAUGE);
    ASSERT_NE(nullptr, gauge);
    int width = 0, height = 0;
    EXPECT_EQ(0, gauge->GetQor_Width(&width));
    EXPECT_EQ(0, gauge->GetQor_Height(&height));
    EXPECT_EQ(120, width);
    EXPECT_EQ(12, height);
    // A static whose element names no kind is left alone.
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(dialog.GetDlgItem(IDC_SET_LABEL)));

    // Binding again finds every item bound already.
    EQorSkinnedControlSet again;
    EXPECT_EQ(0, again.Bind(dialog, "ControlSetDialog"));
    EXPECT_EQ(0, again.Bind(dialog, "NoSuchDialog"));
}

TEST_F(ControlSetTest, AButtonUsingATextTemplateDrawsItsCaptionInTheTemplatesFont)
{
    auto* templated = dialog.Bound<EQorButton>(IDC_SET_TEMPLATE_BUTTON);
    auto* plain = dialog.Bound<EQorButton>(IDC_SET_PLAIN_BUTTON);
    ASSERT_NE(nullptr, templated);
    ASSERT_NE(nullptr, plain);
    EXPECT_EQ("W", templated->CurrentCaption());
    EXPECT_EQ("W", plain->CurrentCaption());

    // The same caption in the same colour: the template's 26-pixel bold font against the
    // default font of a button that names none. Smoothed glyph edges blend the white caption
    // with the dark blue face, so any pixel well redder than the face counts as caption.
    const auto caption = [](COLORREF colour) { return GetRValue(colour) > GetRValue(kBigButtonFace) + 90; };
    const ScreenImage big = Shown(templated->GetSafeHwnd());
    const ScreenImage small = Shown(plain->GetSafeHwnd());
    big.SaveBmp(testsupport::OutputDir() + "template_font_button.bmp");
    small.SaveBmp(testsupport::OutputDir() + "default_font_button.bmp");
    const std::vector<int> bigRows = InkRows(big, 0, kBigButtonWidth, 0, kBigButtonHeight, caption);
    const std::vector<int> smallRows = InkRows(small, 0, kBigButtonWidth, 0, kBigButtonHeight, caption);
    ASSERT_FALSE(smallRows.empty());
    ASSERT_FALSE(bigRows.empty());
    EXPECT_GE(bigRows.size(), smallRows.size() + 6);
    EXPECT_GE(bigRows.size(), 15u);
    // Both captions are centred on the face.
    EXPECT_NEAR(kBigButtonHeight / 2, (bigRows.front() + bigRows.back()) / 2, 3);
    EXPECT_NEAR(kBigButtonHeight / 2, (smallRows.front() + smallRows.back()) / 2, 3);
}

TEST_F(ControlSetTest, AnEditCentresItsTextVerticallyWhenTheTextFileSaysSo)
{
    auto* centred = dialog.Bound<EQorEdit>(IDC_SET_CENTRED_EDIT);
    auto* top = dialog.Bound<EQorEdit>(IDC_SET_TOP_EDIT);
    ASSERT_NE(nullptr, centred);
    ASSERT_NE(nullptr, top);
    EXPECT_TRUE(centred->GetCenterTextVertically());
    EXPECT_FALSE(top->GetCenterTextVertically());
    ::SetWindowTextA(centred->GetSafeHwnd(), "WWW");
    ::SetWindowTextA(top->GetSafeHwnd(), "WWW");

    // The centred edit's client area is one line high, in the middle of its window.
    RECT window{}, client{};
    ::GetWindowRect(centred->GetSafeHwnd(), &window);
    ::GetClientRect(centred->GetSafeHwnd(), &client);
    ::MapWindowPoints(centred->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(kEditHeight, window.bottom - window.top);
    EXPECT_LT(client.bottom - client.top, kEditHeight / 2);
    EXPECT_NEAR(client.top - window.top, window.bottom - client.bottom, 1);
    RECT topClient{};
    ::GetClientRect(top->GetSafeHwnd(), &topClient);
    EXPECT_GT(topClient.bottom, kEditHeight - 6);

    // On the screen: the centred text's ink sits around the middle, the other's near the top,
    // and the bands above and below the centred line show the edit's background.
    const ScreenImage shownCentred = Shown(centred->GetSafeHwnd());
    const ScreenImage shownTop = Shown(top->GetSafeHwnd());
    shownCentred.SaveBmp(testsupport::OutputDir() + "centred_edit.bmp");
    shownTop.SaveBmp(testsupport::OutputDir() + "top_edit.bmp");
    const std::vector<int> centredRows = InkRows(shownCentred, 4, kEditWidth - 4, 3, kEditHeight - 3, Dark);
    const std::vector<int> topRows = InkRows(shownTop, 4, kEditWidth - 4, 3, kEditHeight - 3, Dark);
    ASSERT_FALSE(centredRows.empty());
    ASSERT_FALSE(topRows.empty());
    EXPECT_NEAR(kEditHeight / 2, (centredRows.front() + centredRows.back()) / 2, 3);
    EXPECT_LT((topRows.front() + topRows.back()) / 2, kEditHeight / 2 - 6);
    EXPECT_EQ(kEditBackground, shownCentred.Pixel(kEditWidth / 2, 4));
    EXPECT_EQ(kEditBackground, shownCentred.Pixel(kEditWidth / 2, kEditHeight - 5));

    // Switched off, the client area takes the whole window again.
    centred->SetCenterTextVertically(false);
    ::GetClientRect(centred->GetSafeHwnd(), &client);
    EXPECT_GT(client.bottom, kEditHeight - 6);
    centred->SetCenterTextVertically(true);
    ::GetClientRect(centred->GetSafeHwnd(), &client);
    EXPECT_LT(client.bottom, kEditHeight / 2);
}
