// Skinned dialogs over bad skins: what fails, what is reported under the debug option, and
// that nothing leaks; hidden dialogs and the process-wide dialog list.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "QorGraphicsEngineAPI.h"
#include "TestSkin.h"
#include "TestSupport.h"

using namespace dialogtest;

namespace {

struct Outcome {
    bool created = false, initialised = false, hasBackground = false, hasRegion = false;
    SIZE size{};
    std::vector<std::string> messages;
};

// The system refusing the window its outline.
class RegionRefusingDialog : public SkinTestDialog {
public:
    using SkinTestDialog::SkinTestDialog;

protected:
    bool GiveWindowRegion(HRGN) override { return false; }
};

// Creates the test dialog over the skin's dialog `name`, records what happened, destroys it.
template <class Dialog = SkinTestDialog>
Outcome RunDialog(const std::string& name)
{
    auto& ui = EngineEnvironment::Ui();
    ui.messages.clear();
    Outcome outcome;
    Dialog dialog(name);
    outcome.created = dialog.Create(IDD_SKIN_TEST);
    if (!outcome.created)
        return outcome;
    outcome.initialised = dialog.initialised;
    outcome.hasBackground = dialog.HasBackground();
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    outcome.hasRegion = GetWindowRgn(dialog.m_hWnd, region) != ERROR;
    DeleteObject(region);
    RECT rect{};
    GetWindowRect(dialog.m_hWnd, &rect);
    outcome.size = {rect.right - rect.left, rect.bottom - rect.top};
    dialog.DestroyWindow();
    for (const auto& m : ui.messages)
        if (m.caption == "Unable to Initialize Graphics Engine")
            outcome.messages.push_back(m.text);
    return outcome;
}

bool Mentions(const Outcome& outcome, const std::string& tag)
{
    for (const auto& text : outcome.messages)
        if (text.find(tag) != std::string::npos)
            return true;
    return false;
}

class DialogFailures : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(EngineEnvironment::Running()) << "engine did not start";
        EngineEnvironment::Ui().messageAnswer = IDNO;
    }
};

}  // namespace

TEST_F(DialogFailures, AMissingDialogElementFailsSilentlyAndKeepsThePlainWindow)
{
    const Outcome o = RunDialog("NoSuchDialog");
    ASSERT_TRUE(o.created);
    EXPECT_FALSE(o.initialised);
    EXPECT_FALSE(o.hasBackground);
    EXPECT_FALSE(o.hasRegion);
    EXPECT_NE(o.size.cx, kFaceWidth) << "the template's own size stays";
    EXPECT_TRUE(o.messages.empty());
}

TEST_F(DialogFailures, BackgroundProblemsAreReportedWithTheirTags)
{
    struct Case {
        const char* dialog;
        const char* tag;
    } cases[] = {{"NoBitmapAttribute", "(Tag GE1002)"}, {"EmptyBitmap", "(Tag GE1003)"},
                 {"MissingFile", "(Tag GE1004)"},       {"Garbage", "(Tag GE1004)"},
                 {"ZeroSize", "(Tag GE1004)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog);
        const Outcome o = RunDialog(c.dialog);
        ASSERT_TRUE(o.created);
        EXPECT_FALSE(o.initialised);
        EXPECT_FALSE(o.hasBackground);
        EXPECT_FALSE(o.hasRegion) << "no region: the window keeps its rectangle";
        EXPECT_TRUE(Mentions(o, c.tag));
    }
}

TEST_F(DialogFailures, AWhollyTransparentFaceIsKeptOnARectangularWindow)
{
    const Outcome o = RunDialog("AllTransparent");
    ASSERT_TRUE(o.created);
    EXPECT_TRUE(o.initialised);
    EXPECT_TRUE(o.hasBackground) << "the face is still painted";
    EXPECT_FALSE(o.hasRegion) << "no outline: the window keeps its rectangle";
    EXPECT_EQ(o.size.cx, 50);
    EXPECT_EQ(o.size.cy, 40);
    EXPECT_FALSE(Mentions(o, "(Tag GE1004)"));
    EXPECT_FALSE(Mentions(o, "(Tag GE1005)"));
}

TEST_F(DialogFailures, AWindowRegionTheSystemRefusesIsToldAndTheDialogCarriesOnWithItsFace)
{
    const Outcome o = RunDialog<RegionRefusingDialog>("TestDialog");
    ASSERT_TRUE(o.created);
    EXPECT_TRUE(o.initialised) << "the initialisation goes on";
    EXPECT_TRUE(o.hasBackground);
    EXPECT_FALSE(o.hasRegion);
    EXPECT_TRUE(Mentions(o, "InitBitmapAndRegion failed for DialogBitmap in EQorDialog::InitializeQorDialog;  (Tag GE1005)"));
    EXPECT_FALSE(Mentions(o, "(Tag GE1004)"));
    EXPECT_TRUE(RunDialog("TestDialog").messages.empty()) << "the real window takes its region without a word";
}

TEST_F(DialogFailures, WithoutAnEngineDocumentTheDialogSaysSoAndStaysPlain)
{
    QorGraphicsEngineAPI().ShutdownCleanup();
    const Outcome o = RunDialog("TestDialog");
    EngineEnvironment::Restart(true);
    ASSERT_TRUE(EngineEnvironment::Running());
    ASSERT_TRUE(o.created);
    EXPECT_FALSE(o.initialised);
    EXPECT_FALSE(o.hasBackground);
    EXPECT_FALSE(o.hasRegion);
    EXPECT_TRUE(Mentions(o, "g_pGraphicsXMLDOMDoc NULL in EQorDialog::InitializeQorDialog;  (Tag GE1001)"));
}

TEST_F(DialogFailures, MessagesAppearOnlyWithTheDebugOption)
{
    EngineEnvironment::Restart(false);
    const Outcome o = RunDialog("MissingFile");
    EngineEnvironment::Restart(true);
    ASSERT_TRUE(EngineEnvironment::Running());
    EXPECT_FALSE(o.initialised);
    EXPECT_TRUE(o.messages.empty());
}

TEST_F(DialogFailures, EveryBitmapDepthGivesTheSameShape)
{
    for (const char* name : {"Depth8", "Depth16", "Depth24", "Depth32"}) {
        SCOPED_TRACE(name);
        const Outcome o = RunDialog(name);
        EXPECT_TRUE(o.initialised);
        EXPECT_TRUE(o.hasRegion);
        EXPECT_EQ(o.size.cx, kFaceWidth);
        EXPECT_EQ(o.size.cy, kFaceHeight);
        EXPECT_TRUE(Mentions(o, "(Tag GE1007)")) << "no auxiliary bitmaps in these dialogs";
    }
}

TEST_F(DialogFailures, NoGdiObjectsLeakOverManyDialogs)
{
    for (const char* name : {"TestDialog", "MissingFile", "Garbage", "Depth8"})
        RunDialog(name);  // warm-up: caches of the system's own
    testsupport::PumpMessages(50);
    const DWORD before = GdiObjectCount();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 10; ++i)
        for (const char* name : {"TestDialog", "MissingFile", "Garbage", "ZeroSize", "Depth8", "Depth16", "Depth32"})
            RunDialog(name);
    testsupport::PumpMessages(50);
    const DWORD after = GdiObjectCount();
    EXPECT_LE(after, before + 5) << "before " << before << ", after " << after;
}

TEST_F(DialogFailures, HiddenDialogsGetCommandIdsFrom5000)
{
    SkinTestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_SKIN_TEST));
    EXPECT_TRUE(dialog.AddHiddenDlg(391, "Snapshot"));
    EXPECT_TRUE(dialog.AddHiddenDlg(396, "Remote"));
    EXPECT_EQ(dialog.GetHiddenDlgCommandId(391), 5000);
    EXPECT_EQ(dialog.GetHiddenDlgCommandId(396), 5001);
    EXPECT_EQ(dialog.GetHiddenDlgCommandId(100), 0);
    dialog.HandlingHiddenDialogs();
    EXPECT_TRUE(dialog.IsHandlingHiddenDialogs());
    dialog.SendMessage(WM_COMMAND, 5001, 0);
    dialog.SendMessage(WM_COMMAND, 5002, 0);
    ASSERT_EQ(dialog.shownHidden.size(), 1u);
    EXPECT_EQ(dialog.shownHidden[0], 396);
    dialog.DestroyWindow();
}

TEST_F(DialogFailures, TheDialogListHoldsInitialisedDialogsUntilTheyClose)
{
    const int before = EQorDialog::GetOpenDialogCount();
    {
        SkinTestDialog one, two;
        ASSERT_TRUE(one.Create(IDD_SKIN_TEST));
        ASSERT_TRUE(two.Create(IDD_SKIN_TEST));
        EXPECT_EQ(EQorDialog::GetOpenDialogCount(), before + 2);
        EXPECT_EQ(EQorDialog::GetOpenDialog(before + 1), &two);
        one.DestroyWindow();
        EXPECT_EQ(EQorDialog::GetOpenDialogCount(), before + 1);
        EXPECT_EQ(EQorDialog::GetOpenDialog(before), &two);
        two.DestroyWindow();
    }
    EXPECT_EQ(EQorDialog::GetOpenDialogCount(), before);
    EXPECT_EQ(EQorDialog::GetOpenDialog(-1), nullptr);
}
