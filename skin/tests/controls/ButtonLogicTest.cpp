// The button's behaviour without a window: presses, moves, releases, toggling, check boxes,
// radio buttons, hover highlighting, identities and the bitmap slot chosen for each look.
#include <gtest/gtest.h>

#include "ButtonLogic.h"

using namespace skelda::controls;

namespace {

constexpr unsigned kPushStyle = 0, kCheckStyle = 3, kRadioStyle = 9;

ButtonLogic Make(unsigned style)
{
    ButtonLogic logic;
    logic.SetStyle(style);
    return logic;
}

}  // namespace

TEST(ButtonLogic, SetStateReportsOnlyChanges)
{
    ButtonLogic logic;
    EXPECT_FALSE(logic.SetState(kStateUp));
    EXPECT_TRUE(logic.SetState(kStateFocus));
    EXPECT_FALSE(logic.SetState(kStateFocus));
    EXPECT_EQ(kStateFocus, logic.State());
}

TEST(ButtonLogic, IdentityOutsideRangeIsRefusedAndKeepsTheOldOne)
{
    ButtonLogic logic;
    ASSERT_TRUE(logic.SetIdentity(2));
    EXPECT_FALSE(logic.SetIdentity(4));
    EXPECT_FALSE(logic.SetIdentity(-1));
    EXPECT_EQ(2, logic.Identity());
    EXPECT_TRUE(logic.SetIdentity(3));
    EXPECT_TRUE(logic.SetIdentity(0));
}

TEST(ButtonLogic, BitmapIndexIsStatePlusFourTimesIdentity)
{
    ButtonLogic logic;
    for (int identity = 0; identity < 4; ++identity)
        for (int state = 0; state < 4; ++state) {
            logic.SetIdentity(identity);
            logic.SetState(state);
            EXPECT_EQ(state + 4 * identity, logic.BitmapIndex(true));
        }
}

TEST(ButtonLogic, CheckBoxSlotFollowsCheckAndEnabledNotState)
{
    ButtonLogic logic = Make(kCheckStyle);
    logic.SetIdentity(1);
    logic.SetState(kStateFocus);
    EXPECT_EQ(4 + kStateUp, logic.BitmapIndex(true));
    logic.SetChecked(true);
    EXPECT_EQ(4 + kStateDown, logic.BitmapIndex(true));
    EXPECT_EQ(4 + kStateDown, logic.BitmapIndex(false)) << "disabled, it still shows its check";
    logic.SetChecked(false);
    EXPECT_EQ(4 + kStateDisabled, logic.BitmapIndex(false));
}

TEST(ButtonLogic, PushButtonClickGoesDownThenUpAndPostsClicked)
{
    ButtonLogic logic = Make(kPushStyle);
    const ButtonAction press = logic.Press(true);
    EXPECT_TRUE(press.takeFocus);
    EXPECT_TRUE(press.capture);
    EXPECT_FALSE(press.post);
    EXPECT_EQ(kStateDown, logic.State());
    const ButtonAction release = logic.Release(true);
    EXPECT_TRUE(release.releaseCapture);
    EXPECT_TRUE(release.post);
    EXPECT_EQ(kNotifyClicked, release.code);
    EXPECT_EQ(kStateUp, logic.State());
    EXPECT_FALSE(logic.Captured());
}

TEST(ButtonLogic, DisabledButtonIgnoresPressAndRelease)
{
    ButtonLogic logic = Make(kPushStyle);
    const ButtonAction press = logic.Press(false);
    EXPECT_FALSE(press.capture || press.takeFocus || press.post);
    EXPECT_EQ(kStateUp, logic.State());
    EXPECT_FALSE(logic.Release(true).post);
}

TEST(ButtonLogic, DraggingOutAndBackWhileCaptured)
{
    ButtonLogic logic = Make(kPushStyle);
    logic.Press(true);
    logic.MoveCaptured(false);
    EXPECT_EQ(kStateFocus, logic.State());
    logic.MoveCaptured(true);
    EXPECT_EQ(kStateDown, logic.State());
}

TEST(ButtonLogic, ToggleButtonPostsTwoThenThreeAndKeepsItsLook)
{
    ButtonLogic logic = Make(kPushStyle);
    logic.toggle = true;
    logic.Press(true);
    EXPECT_EQ(kStateDown, logic.State());
    ButtonAction release = logic.Release(true);
    ASSERT_TRUE(release.post);
    EXPECT_EQ(kNotifyToggledOn, release.code);
    EXPECT_EQ(kStateDown, logic.State());
    EXPECT_TRUE(logic.Checked());

    logic.Press(true);
    EXPECT_EQ(kStateFocus, logic.State());
    release = logic.Release(true);
    ASSERT_TRUE(release.post);
    EXPECT_EQ(kNotifyToggledOff, release.code);
    EXPECT_EQ(kStateFocus, logic.State());
    EXPECT_FALSE(logic.Checked());
}

TEST(ButtonLogic, ToggleButtonLeavingRestoresSavedState)
{
    ButtonLogic logic = Make(kPushStyle);
    logic.toggle = true;
    logic.SetState(kStateUp);
    logic.Press(true);
    logic.MoveCaptured(false);
    EXPECT_EQ(kStateUp, logic.State());
}

TEST(ButtonLogic, ReleaseOutsideWithUncaptureFlagPostsNothingAndRestores)
{
    ButtonLogic logic = Make(kPushStyle);
    logic.uncaptureIfOutOfRegion = true;
    logic.SetState(kStateFocus);
    logic.Press(true);
    const ButtonAction release = logic.Release(false);
    EXPECT_FALSE(release.post);
    EXPECT_TRUE(release.releaseCapture);
    EXPECT_EQ(kStateFocus, logic.State());

    // A toggle button released outside stays off.
    logic.toggle = true;
    logic.Press(true);
    EXPECT_FALSE(logic.Release(false).post);
    EXPECT_FALSE(logic.Checked());
}

TEST(ButtonLogic, ReleaseOutsideWithoutUncaptureFlagStillClicks)
{
    ButtonLogic logic = Make(kPushStyle);
    logic.Press(true);
    EXPECT_TRUE(logic.Release(false).post);
}

TEST(ButtonLogic, CheckBoxFlipsOnReleaseInsideOnly)
{
    ButtonLogic logic = Make(kCheckStyle);
    const ButtonAction press = logic.Press(true);
    EXPECT_TRUE(press.takeFocus);
    EXPECT_EQ(kStateDown, logic.State());  // the inverse of "not checked"
    logic.MoveCaptured(false);
    EXPECT_EQ(kStateDown, logic.State());  // check boxes keep their look while dragged
    ButtonAction release = logic.Release(true);
    EXPECT_TRUE(release.post);
    EXPECT_TRUE(release.checkChanged);
    EXPECT_TRUE(logic.Checked());
    EXPECT_EQ(kStateDown, logic.State());

    logic.Press(true);
    EXPECT_EQ(kStateUp, logic.State());
    release = logic.Release(false);
    EXPECT_FALSE(release.post);
    EXPECT_TRUE(logic.Checked());
    EXPECT_EQ(kStateDown, logic.State());
}

TEST(ButtonLogic, RadioButtonChecksAndPostsOnPress)
{
    ButtonLogic logic = Make(kRadioStyle);
    const ButtonAction press = logic.Press(true);
    EXPECT_FALSE(press.takeFocus);
    EXPECT_FALSE(press.capture);
    EXPECT_TRUE(press.post);
    EXPECT_EQ(kNotifyClicked, press.code);
    EXPECT_TRUE(logic.Checked());
    EXPECT_EQ(kStateDown, logic.State());
    EXPECT_FALSE(logic.Captured());
    EXPECT_FALSE(logic.Release(true).post);  // the press already completed it
}

TEST(ButtonLogic, SetCheckedMovesStateOnlyForCheckBoxesAndRadios)
{
    ButtonLogic push = Make(kPushStyle);
    push.SetState(kStateFocus);
    EXPECT_FALSE(push.SetChecked(true));
    EXPECT_TRUE(push.Checked());
    EXPECT_EQ(kStateFocus, push.State());

    ButtonLogic check = Make(kCheckStyle);
    EXPECT_TRUE(check.SetChecked(true));
    EXPECT_EQ(kStateDown, check.State());
    EXPECT_TRUE(check.SetChecked(false));
    EXPECT_EQ(kStateUp, check.State());
}

TEST(ButtonLogic, HoverHighlightsOnlyUpButtonsAndLeaveRestores)
{
    ButtonLogic logic = Make(kPushStyle);
    EXPECT_FALSE(logic.MoveHover(true, true));  // no highlighting asked for
    logic.highlightOnMouseOver = true;
    EXPECT_FALSE(logic.MoveHover(false, true));
    EXPECT_FALSE(logic.MoveHover(true, false));
    EXPECT_TRUE(logic.MoveHover(true, true));
    EXPECT_EQ(kStateFocus, logic.State());
    EXPECT_FALSE(logic.MoveHover(true, true));  // tracking already started
    logic.MouseLeave();
    EXPECT_EQ(kStateUp, logic.State());

    // A toggled-on button keeps its down look under the mouse.
    logic.toggle = true;
    logic.Press(true);
    logic.Release(true);
    EXPECT_FALSE(logic.MoveHover(true, true));
    EXPECT_EQ(kStateDown, logic.State());
}

TEST(ButtonLogic, LostCaptureAbandonsThePress)
{
    ButtonLogic logic = Make(kPushStyle);
    logic.toggle = true;
    logic.Press(true);
    logic.CaptureLost();
    EXPECT_EQ(kStateUp, logic.State());
    EXPECT_FALSE(logic.Captured());
    EXPECT_FALSE(logic.Release(true).post);
    EXPECT_FALSE(logic.Checked());
}
