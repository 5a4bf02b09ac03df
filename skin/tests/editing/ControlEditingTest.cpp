// The control graphics commands end to end: each editing dialog opened from the real context
// menu of a skinned dialog, answered, and the in-memory document, the live control and the
// changed flags checked; Cancel and bad input change nothing; a save reloads as edited.
#include <gtest/gtest.h>

#include <thread>

#include "ControlDialogIds.h"
#include "EditingTestIds.h"
#include "EditingTestSupport.h"
#include "QorText_API.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"
#include "TestSupport.h"

using namespace editingtest;

namespace {

class Environment : public ::testing::Environment {
public:
    void TearDown() override { EngineEnvironment::Stop(); }
};
[[maybe_unused]] auto* const g_environment = ::testing::AddGlobalTestEnvironment(new Environment);

constexpr int kUp = IDC_BUTTON_BITMAP0, kDown = IDC_BUTTON_BITMAP0 + 1;

bool SameSize(SIZE a, SIZE b)
{
    return a.cx == b.cx && a.cy == b.cy;
}

std::vector<std::string> Captions()
{
    std::vector<std::string> captions;
    for (const auto& message : EngineEnvironment::Ui().messages)
        captions.push_back(message.caption);
    return captions;
}

// Text editing allowed for one test: the engine restarts with it, and without it afterwards.
struct TextEditingAllowed {
    TextEditingAllowed()
    {
        EngineEnvironment::Slot()->app.SetDword("AllowEditingOfTextSettings", 1);
        EngineEnvironment::Restart();
    }
    ~TextEditingAllowed()
    {
        EngineEnvironment::Slot()->app.SetDword("AllowEditingOfTextSettings", 0);
        EngineEnvironment::Restart();
    }
};

}  // namespace

TEST_F(ControlEditing, ButtonBitmapsRefuseABadFileApplyOnOkKeepOnCancelAndSaveForTheNextStart)
{
    Shown<ControlsDialog> shown;
    ASSERT_TRUE(shown.created);
    ControlsDialog& d = shown.dialog;
    const std::string skin = EngineEnvironment::SkinPath() + "\\";
    std::string shownUp;
    MenuEdit run = EditFromMenu(d, IDC_E_BUTTON, "Change Bitmap Files", "Change Button Control Bitmaps", [&](HWND dlg) {
        shownUp = FieldText(dlg, kUp);
        Type(dlg, kUp, "garbage.bmp");
        Ok(dlg);  // refused: the dialog stays
        Type(dlg, kUp, "big.bmp");
        Type(dlg, kDown, skin + "up.bmp");  // inside the skin folder: stored relative to it
        Ok(dlg);
    });
    ASSERT_TRUE(run.dialogShown);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(shownUp, "up.bmp");
    ASSERT_EQ(EngineEnvironment::Ui().messages.size(), 1u);
    EXPECT_TRUE(EngineEnvironment::Ui().Shown("could not be loaded:  " + skin + "garbage.bmp"));
    EXPECT_EQ(Attribute(d, IDC_E_BUTTON, "ControlUpBitmapFile"), "big.bmp");
    EXPECT_EQ(Attribute(d, IDC_E_BUTTON, "ControlDownBitmapFile"), "up.bmp");
    EXPECT_TRUE(SameSize(WindowSize(d.button.GetSafeHwnd()), kBigSize)) << "the live button takes its new face";
    EXPECT_TRUE(engine.GetGraphicsChanged());
    EXPECT_TRUE(d.GetDialogDataChanged());

    engine.SetGraphicsChanged(false);
    run = EditFromMenu(d, IDC_E_BUTTON, "Change Bitmap Files", "Change Button Control Bitmaps", [](HWND dlg) {
        Type(dlg, kUp, "pic.bmp");
        Cancel(dlg);
    });
    ASSERT_TRUE(run.dialogShown);
    EXPECT_FALSE(run.result);
    EXPECT_EQ(Attribute(d, IDC_E_BUTTON, "ControlUpBitmapFile"), "big.bmp");
    EXPECT_TRUE(SameSize(WindowSize(d.button.GetSafeHwnd()), kBigSize));
    EXPECT_FALSE(engine.GetGraphicsChanged());

    const std::string graphics = skin + "Graphics1033.xml";
    const std::string before = enginetest::ReadFile(graphics);
    EXPECT_EQ(before.find("big.bmp"), std::string::npos) << "nothing reaches the disk before a save";
    engine.SetGraphicsChanged(true);
    EngineEnvironment::Ui().saveAnswer = graphics;
    ASSERT_TRUE(engine.SaveGraphicsWork());
    d.DestroyWindow();
    EngineEnvironment::Restart();
    ASSERT_TRUE(EngineEnvironment::Running());
    Shown<ControlsDialog> again;
    ASSERT_TRUE(again.created);
    EXPECT_TRUE(SameSize(WindowSize(again.dialog.button.GetSafeHwnd()), kBigSize));
    EXPECT_EQ(Attribute(again.dialog, IDC_E_BUTTON, "ControlDownBitmapFile"), "up.bmp");
}

TEST_F(ControlEditing, SliderEditStaticAndGenericSettingsCheckTheirNumbersAndRebuildTheLiveControl)
{
    Shown<ControlsDialog> shown;
    ASSERT_TRUE(shown.created);
    ControlsDialog& d = shown.dialog;

    MenuEdit run = EditFromMenu(d, IDC_E_SLIDER, "Change Slider Graphics Settings", "Slider Control Settings",
                                [](HWND dlg) {
                                    Type(dlg, IDC_SLIDER_WIDTH, "15O");
                                    Ok(dlg);
                                    Type(dlg, IDC_SLIDER_WIDTH, "150");
                                    Type(dlg, IDC_SLIDER_SHADOW_LEFT, "-2");
                                    Type(dlg, IDC_SLIDER_BITMAP0, "pic.bmp");
                                    Tick(dlg, IDC_SLIDER_HIT_POINT, false);
                                    Ok(dlg);
                                });
    ASSERT_TRUE(run.dialogShown);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(WindowSize(d.slider.GetSafeHwnd()).cx, 150);
    BITMAP thumb{};
    ASSERT_TRUE(GetObjectA(d.slider.SlotBitmap(EQorSlider::kThumbUp), sizeof(thumb), &thumb));
    EXPECT_EQ(thumb.bmWidth, kPictureSize.cx);
    EXPECT_EQ(Attribute(d, IDC_E_SLIDER, "ThumbShadowLeftOffset"), "-2");
    EXPECT_EQ(Attribute(d, IDC_E_SLIDER, "PositionToHitPoint"), "0");

    run = EditFromMenu(d, IDC_E_EDIT, "Change Graphics Settings", "Change Edit Control Settings", [](HWND dlg) {
        Type(dlg, IDC_EDIT_COLOUR, "16777216");
        Ok(dlg);
        CheckRadioButton(dlg, IDC_EDIT_SOLID, IDC_EDIT_SEE_THROUGH, IDC_EDIT_SEE_THROUGH);
        Type(dlg, IDC_EDIT_COLOUR, "255");
        Type(dlg, IDC_EDIT_BITMAP, "");
        Tick(dlg, IDC_EDIT_BORDER, false);
        Type(dlg, IDC_EDIT_WIDTH, "90");
        Ok(dlg);
    });
    ASSERT_TRUE(run.dialogShown);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(d.edit.GetBackgroundStyle(), 2);
    EXPECT_FALSE(d.edit.HasBackgroundBitmap());
    EXPECT_FALSE(d.edit.GetDrawBorder());
    EXPECT_EQ(WindowSize(d.edit.GetSafeHwnd()).cx, 90);
    EXPECT_EQ(Attribute(d, IDC_E_EDIT, "BackgroundColor"), "255");

    run = EditFromMenu(d, IDC_E_LABEL, "Change Graphics Settings", "Change Transparent Static Settings", [](HWND dlg) {
        Type(dlg, IDC_STATIC_WIDTH, "120");
        Type(dlg, IDC_STATIC_HEIGHT, "30");
        Type(dlg, IDC_STATIC_COLOUR, "65535");
        Ok(dlg);
    });
    ASSERT_TRUE(run.dialogShown);
    EXPECT_TRUE(run.result);
    EXPECT_TRUE(SameSize(WindowSize(d.label.GetSafeHwnd()), {120, 30}));
    EXPECT_EQ(Attribute(d, IDC_E_LABEL, "TextColor"), "65535");

    run = EditFromMenu(d, IDC_E_PROGRESS, "Resize Control", "Resize Control", [](HWND dlg) {
        Type(dlg, IDC_RESIZE_WIDTH, "40000");
        Ok(dlg);
        Type(dlg, IDC_RESIZE_WIDTH, "150");
        Ok(dlg);
    });
    ASSERT_TRUE(run.dialogShown);
    EXPECT_TRUE(run.result);
    EXPECT_TRUE(SameSize(WindowSize(d.progress.GetSafeHwnd()), {150, 12}));

    EXPECT_EQ(Captions(),
              (std::vector<std::string>{"Please enter a number", "Color out of range", "Number out of range"}));
    EXPECT_TRUE(engine.GetGraphicsChanged());
    // The write-back at a save keeps what the dialogs set.
    ASSERT_TRUE(d.WriteGraphicsEditingChangesToXMLObject());
    EXPECT_EQ(Attribute(d, IDC_E_EDIT, "BackgroundStyle"), "2");
    EXPECT_EQ(Attribute(d, IDC_E_EDIT, "DrawBorder"), "0");
    EXPECT_EQ(Attribute(d, IDC_E_EDIT, "Width"), "90");
    EXPECT_EQ(Attribute(d, IDC_E_SLIDER, "ControlWidth"), "150");
}

TEST_F(ControlEditing, PictureAndRadioHaveTheirOwnDialogsAndAnUnchangedOkMarksNothing)
{
    Shown<ControlsDialog> shown;
    ASSERT_TRUE(shown.created);
    ControlsDialog& d = shown.dialog;
    ASSERT_TRUE(SameSize(WindowSize(d.picture.GetSafeHwnd()), kPictureSize));

    MenuEdit run = EditFromMenu(d, IDC_E_PICTURE, "Change Bitmap Files", "Change Bitmap Static Control Bitmaps",
                                [](HWND dlg) { Ok(dlg); });
    ASSERT_TRUE(run.dialogShown);
    EXPECT_FALSE(run.result);
    EXPECT_FALSE(engine.GetGraphicsChanged()) << "OK without a change changes nothing";

    run = EditFromMenu(d, IDC_E_PICTURE, "Change Bitmap Files", "Change Bitmap Static Control Bitmaps", [](HWND dlg) {
        Type(dlg, IDC_BUTTON_BITMAP0, "big.bmp");
        Type(dlg, IDC_BUTTON_BITMAP0 + 7, "pic.bmp");  // identity 1, disabled
        Ok(dlg);
    });
    ASSERT_TRUE(run.dialogShown);
    EXPECT_TRUE(SameSize(WindowSize(d.picture.GetSafeHwnd()), kBigSize));
    EXPECT_EQ(Attribute(d, IDC_E_PICTURE, "ControlDisabledBitmapFile1"), "pic.bmp");

    run = EditFromMenu(d, IDC_E_RADIO, "Change Transparent Radio Settings", "Change Transparent Radio Settings",
                       [](HWND dlg) {
                           Type(dlg, IDC_RADIO_WIDTH, "110");
                           Type(dlg, IDC_RADIO_HEIGHT, "22");
                           Tick(dlg, IDC_RADIO_MARK_LEFT, false);
                           Ok(dlg);
                       });
    ASSERT_TRUE(run.dialogShown);
    EXPECT_TRUE(run.result);
    EXPECT_TRUE(SameSize(WindowSize(d.radio.GetSafeHwnd()), {110, 22}));
    EXPECT_EQ(Attribute(d, IDC_E_RADIO, "TransparentRadioBtnLeftJustified"), "0");
    EXPECT_EQ(Attribute(d, IDC_E_RADIO, "TransparentRadioTextLeftJustified"), "1");
    EXPECT_TRUE(engine.GetGraphicsChanged());

    run = EditFromMenu(d, IDC_E_BUTTON, "Change Transparent Radio Settings", "", [](HWND) {});
    EXPECT_FALSE(run.entryFound) << "only transparent radios offer it";
}

TEST_F(ControlEditing, GraphicsTemplatesAreChosenLeftCopiedAndEditedForEveryButtonOnThem)
{
    Shown<ControlsDialog> shown;
    ASSERT_TRUE(shown.created);
    ControlsDialog& d = shown.dialog;
    ASSERT_TRUE(SameSize(WindowSize(d.templated.GetSafeHwnd()), kBlueSize));
    auto choose = [](const char* name) {
        return [name](HWND dlg) {
            SendDlgItemMessageA(dlg, IDC_TEMPLATE_LIST, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(name));
            Ok(dlg);
        };
    };
    const std::string select = "Select Button Graphics Template";
    MenuEdit run = EditFromMenu(d, IDC_E_TEMPLATED, "Select A Different Button Graphics Template", select, choose("Green"));
    ASSERT_TRUE(run.dialogShown);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(Attribute(d, IDC_E_TEMPLATED, "GraphicsTemplate"), "Green");
    EXPECT_TRUE(SameSize(WindowSize(d.templated.GetSafeHwnd()), kGreenSize));

    // Editing the template from another button changes the button on it.
    std::string templateUp;
    std::thread bitmaps([&] {
        // Visible once its fields are filled.
        HWND found = nullptr;
        for (int i = 0; i < 750; ++i, Sleep(20))
            if ((found = FindWindowA("#32770", "Change Button Control Bitmaps")) && IsWindowVisible(found))
                break;
        if (!found || !IsWindowVisible(found))
            return;
        templateUp = FieldText(found, kUp);
        Type(found, kUp, "big.bmp");
        Ok(found);
    });
    run = EditFromMenu(d, IDC_E_BUTTON, "Edit Button Graphics Templates", select, choose("Green"));
    bitmaps.join();
    EXPECT_TRUE(run.result);
    EXPECT_EQ(templateUp, "green.bmp");
    EXPECT_TRUE(SameSize(WindowSize(d.templated.GetSafeHwnd()), kBigSize));
    EXPECT_TRUE(SameSize(WindowSize(d.button.GetSafeHwnd()), kOwnSize)) << "a button on no template stays";

    run = EditFromMenu(d, IDC_E_TEMPLATED, "Switch to Not Using a Graphics Template", "", [](HWND) {});
    EXPECT_TRUE(run.result);
    EXPECT_EQ(Attribute(d, IDC_E_TEMPLATED, "GraphicsTemplate"), "");
    EXPECT_TRUE(SameSize(WindowSize(d.templated.GetSafeHwnd()), kOwnSize)) << "its own bitmaps again";

    run = EditFromMenu(d, IDC_E_TEMPLATED, "Copy a Graphics Template into Graphics Settings", select, choose("Blue"));
    EXPECT_TRUE(run.result);
    EXPECT_EQ(Attribute(d, IDC_E_TEMPLATED, "ControlUpBitmapFile"), "blue.bmp");
    EXPECT_EQ(Attribute(d, IDC_E_TEMPLATED, "GraphicsTemplate"), "");
    EXPECT_TRUE(SameSize(WindowSize(d.templated.GetSafeHwnd()), kBlueSize));

    run = EditFromMenu(d, IDC_E_TEMPLATED, "Switch to Using a Graphics Template", select, [](HWND dlg) { Cancel(dlg); });
    EXPECT_TRUE(run.dialogShown);
    EXPECT_FALSE(run.result);
    EXPECT_EQ(Attribute(d, IDC_E_TEMPLATED, "GraphicsTemplate"), "");
}

TEST_F(ControlEditing, WithoutTemplatesTheChoiceSaysSoAndOffersNothing)
{
    EngineEnvironment::Start(false);
    ASSERT_TRUE(EngineEnvironment::Running());
    Shown<ControlsDialog> shown;
    ASSERT_TRUE(shown.created);
    std::string listed;
    bool okEnabled = true;
    const MenuEdit run = EditFromMenu(shown.dialog, IDC_E_BUTTON, "Switch to Using a Graphics Template",
                                      "Select Button Graphics Template", [&](HWND dlg) {
                                          char text[128] = {};
                                          SendDlgItemMessageA(dlg, IDC_TEMPLATE_LIST, LB_GETTEXT, 0,
                                                              reinterpret_cast<LPARAM>(text));
                                          listed = text;
                                          okEnabled = IsWindowEnabled(GetDlgItem(dlg, IDOK));
                                          Ok(dlg);  // does nothing: nothing to choose
                                          Cancel(dlg);
                                      });
    ASSERT_TRUE(run.dialogShown);
    EXPECT_FALSE(run.result);
    EXPECT_EQ(listed, "No Button Graphics Templates available.");
    EXPECT_FALSE(okEnabled);
    EXPECT_FALSE(engine.GetGraphicsChanged());
}

TEST_F(ControlEditing, AlternatePositionsAndEdgeTrackingMoveTheLiveButton)
{
    {
        Shown<ControlsDialog> shown;
        ASSERT_TRUE(shown.created);
        ControlsDialog& d = shown.dialog;
        const MenuEdit run = EditFromMenu(d, IDC_E_BUTTON, "Set Alternate XY Coordinates", "Set Alternate XY Coordinates",
                                          [](HWND dlg) {
                                              Type(dlg, IDC_ALTERNATE_X2, "1.5");
                                              Ok(dlg);
                                              Type(dlg, IDC_ALTERNATE_X2, "100");
                                              Type(dlg, IDC_ALTERNATE_Y2, "-5");
                                              Ok(dlg);
                                          });
        ASSERT_TRUE(run.dialogShown);
        EXPECT_TRUE(run.result);
        EXPECT_EQ(Captions(), std::vector<std::string>{"Please enter a number"});
        EXPECT_EQ(Attribute(d, IDC_E_BUTTON, "ControlXOffset2"), "100");
        ASSERT_TRUE(d.button.UseAlternateXYPosition(2));
        const POINT place = PlaceInParent(d.button.GetSafeHwnd());
        EXPECT_EQ(place.x, 100);
        EXPECT_EQ(place.y, -5);
        EXPECT_EQ(Attribute(d, IDC_E_BUTTON, "ControlXOffset"), "10") << "position 1 stays";
    }
    Shown<StretchDialog> stretch;
    ASSERT_TRUE(stretch.created);
    StretchDialog& s = stretch.dialog;
    std::string shownRight;
    const MenuEdit run = EditFromMenu(s, IDC_E_BUTTON, "Set Control Edge Tracking Values", "Set Control Edge Tracking Values",
                                      [&](HWND dlg) {
                                          shownRight = FieldText(dlg, IDC_TRACK_RIGHT_OFFSET);
                                          Tick(dlg, IDC_TRACK_RIGHT, true);
                                          Type(dlg, IDC_TRACK_RIGHT_OFFSET, "12");
                                          Ok(dlg);
                                      });
    ASSERT_TRUE(run.dialogShown);
    EXPECT_TRUE(run.result);
    RECT client{}, button{};
    GetClientRect(s.GetSafeHwnd(), &client);
    EXPECT_EQ(shownRight, std::to_string(client.right - 10 - kOwnSize.cx)) << "the distance it keeps now";
    GetWindowRect(s.button.GetSafeHwnd(), &button);
    MapWindowPoints(nullptr, s.GetSafeHwnd(), reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(client.right - button.right, 12) << "it follows the right edge at its new distance";
    EXPECT_EQ(button.top, 10);
    win::ComPtr<IXMLDOMNode> element, tracking;
    ASSERT_TRUE(skelda::skinfile::FindButtonById(s.GetDlgRootNode(), IDC_E_BUTTON, &element));
    ASSERT_TRUE(qorxml::SelectSingle(element.Get(), "QorControlTracking", &tracking));
    std::string orientation;
    qorxml::GetAttribute(tracking.Get(), "Orientation", &orientation);
    EXPECT_EQ(orientation, "2");
    EXPECT_TRUE(engine.GetGraphicsChanged());
}

TEST_F(ControlEditing, EditTextValuesRefuseBadNumbersAndRecolourTheLiveEdit)
{
    constexpr int kAlignment = 1092, kTextColour = 1095;  // items of "Set Edit Control Values"
    const TextEditingAllowed allowed;
    Shown<ControlsDialog> shown;
    ASSERT_TRUE(shown.created);
    ControlsDialog& d = shown.dialog;
    HWND edit = d.edit.GetSafeHwnd();
    SetWindowTextA(edit, "MMMMMMMM");
    const auto red = [edit] {
        const testsupport::ScreenImage shot = testsupport::CaptureWindow(edit);
        int count = 0;
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x)
                count += shot.Pixel(x, y) == RGB(255, 0, 0);
        return count;
    };
    const int redBefore = red();
    std::string shownColour;
    const MenuEdit run = EditFromMenu(d, IDC_E_EDIT, "Change Text Settings", "Set Edit Control Values", [&](HWND dlg) {
        shownColour = FieldText(dlg, kTextColour);
        RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        testsupport::CaptureWindow(dlg).SaveBmp(testsupport::OutputDir() + "edit-text-values.bmp");
        Type(dlg, kAlignment, "3");
        Ok(dlg);
        Type(dlg, kAlignment, "1");
        Type(dlg, kTextColour, "4294967296");
        Ok(dlg);
        Type(dlg, kTextColour, "255");
        Ok(dlg);
    });
    ASSERT_TRUE(run.dialogShown);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(shownColour, "0");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Alignment out of range", "Color out of range"}));
    QorText_API text;
    QorEditTextSettings settings;
    ASSERT_TRUE(text.GetEditCtrlInfo(IDD_EDIT_CONTROLS, IDC_E_EDIT, &settings));
    EXPECT_EQ(settings.alignment, 1);
    EXPECT_EQ(settings.textColor, RGB(255, 0, 0));
    EXPECT_EQ(settings.disabledTextColor, 8421504u) << "what was not touched stays";
    EXPECT_TRUE(engine.GetTextChanged());
    EXPECT_EQ(redBefore, 0);
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return red() > 0; })) << "the live edit draws in its new colour";
}

TEST_F(ControlEditing, AGenericControlWithoutATextEntryGetsOneAndIsEditedInTheGenericDialog)
{
    constexpr int kTextColour = 1058, kShadowColour = 1059;  // items of "Text Settings"
    const TextEditingAllowed allowed;
    Shown<ControlsDialog> shown;
    ASSERT_TRUE(shown.created);
    ControlsDialog& d = shown.dialog;
    QorText_API text;
    COLORREF colour = 0;
    ASSERT_FALSE(text.GetMainTextColor(IDD_EDIT_CONTROLS, IDC_E_PROGRESS, &colour)) << "the skin's text has no entry";
    std::string shownColour;
    bool shadowShown = true;
    const MenuEdit run =
        EditFromMenu(d, IDC_E_PROGRESS, "Change Text Settings", "Set Generic Control Values", [&](HWND dlg) {
            shownColour = FieldText(dlg, kTextColour);
            shadowShown = IsWindowVisible(GetDlgItem(dlg, kShadowColour)) != FALSE;
            Type(dlg, kTextColour, "255");
            Ok(dlg);
        });
    ASSERT_TRUE(run.entryFound);
    EXPECT_TRUE(run.entryEnabled) << "no longer greyed for generic controls";
    ASSERT_TRUE(run.dialogShown);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(shownColour, "0");
    EXPECT_FALSE(shadowShown) << "a generic control keeps one text colour";
    ASSERT_TRUE(text.GetMainTextColor(IDD_EDIT_CONTROLS, IDC_E_PROGRESS, &colour));
    EXPECT_EQ(colour, RGB(255, 0, 0));
    EXPECT_TRUE(engine.GetTextChanged());
}
