// The engine's real windows under the test display: the debug options dialog, the graphics
// file prompt and the message that always shows. A second thread finds and answers them.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "QorGraphicsEngineAPI.h"
#include "TestSupport.h"
#include "WindowDriver.h"

using namespace enginetest;

namespace {

void Click(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

std::string ItemText(HWND dialog, int id)
{
    char buffer[1024] = {};
    GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
}

class EngineDialogs : public ::testing::Test {
protected:
    void SetUp() override { client.SetString("GraphicsAndTextParentDirectory", DataDir()); }
    void TearDown() override { api.ShutdownCleanup(); }

    AppKey app{"EngineDialogs"};
    ClientKey client{"Dialogs"};
    QorGraphicsEngineAPI api;
};

TEST_F(EngineDialogs, DebugOptionsDialogSetsTheCheckedOptionsOnOk)
{
    app.SetDword("ShowGraphicsErrorDialogs", 1);
    std::vector<std::string> labels;
    bool startedUnchecked = false;
    WindowDriver driver("Graphics Debug Options", "", [&](HWND dialog) {
        testsupport::CaptureWindow(dialog).SaveBmp(testsupport::OutputDir() + "debug-options.bmp");
        labels = {ItemText(dialog, 1045), ItemText(dialog, 1046), ItemText(dialog, 1047), ItemText(dialog, IDOK),
                  ItemText(dialog, IDCANCEL)};
        startedUnchecked = IsDlgButtonChecked(dialog, 1045) == BST_UNCHECKED &&
                           IsDlgButtonChecked(dialog, 1046) == BST_UNCHECKED &&
                           IsDlgButtonChecked(dialog, 1047) == BST_UNCHECKED;
        Click(dialog, 1045);
        Click(dialog, 1047);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(api.InitializeGraphicsEngine(app.Name(), client.FullPath(), 1033));
    ASSERT_TRUE(driver.Found());
    EXPECT_TRUE(startedUnchecked);
    const std::vector<std::string> expected = {"Display Dialog when framework can't locate bitmap file",
                                               "Assert if entries not found in Graphics XML file",
                                               "Display Dialog when Engine can't load properly", "OK", "Cancel"};
    EXPECT_EQ(labels, expected);
    const QorDebugOptions options = api.GetDebugOptions();
    EXPECT_TRUE(options.reportMissingBitmaps);
    EXPECT_FALSE(options.assertOnMissingXmlEntries);
    EXPECT_TRUE(options.reportLoadFailures);
}

TEST_F(EngineDialogs, CancellingTheDebugOptionsLeavesThemOff)
{
    app.SetDword("ShowGraphicsErrorDialogs", 1);
    WindowDriver driver("Graphics Debug Options", "", [](HWND dialog) {
        Click(dialog, 1045);
        Click(dialog, 1046);
        Click(dialog, 1047);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    ASSERT_TRUE(api.InitializeGraphicsEngine(app.Name(), client.FullPath(), 1033));
    ASSERT_TRUE(driver.Found());
    const QorDebugOptions options = api.GetDebugOptions();
    EXPECT_FALSE(options.reportMissingBitmaps || options.assertOnMissingXmlEntries || options.reportLoadFailures);
}

TEST_F(EngineDialogs, ThePromptOffersTheCurrentPathAndTakesTheEditedOne)
{
    app.SetDword("PromptForGraphicsFNameAtRuntime", 1);
    std::string offered;
    std::vector<std::string> texts;
    const std::string chosen = DataDir() + "Graphics1031.xml";
    WindowDriver driver("Choose Graphics Script File", "", [&](HWND dialog) {
        testsupport::CaptureWindow(dialog).SaveBmp(testsupport::OutputDir() + "graphics-prompt.bmp");
        texts = ChildTexts(dialog);
        char buffer[1024] = {};
        GetDlgItemTextA(dialog, 1000, buffer, sizeof buffer);
        offered = buffer;
        SetDlgItemTextA(dialog, 1000, chosen.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(api.InitializeGraphicsEngine(app.Name(), client.FullPath(), 1033));
    ASSERT_TRUE(driver.Found());
    EXPECT_EQ(offered, DataDir() + "Graphics1033.xml");
    EXPECT_EQ(api.GetGraphicsFilePath(), chosen);
    auto has = [&](const std::string& t) { return std::find(texts.begin(), texts.end(), t) != texts.end(); };
    EXPECT_TRUE(has("Select the Graphics Script File    (prompting for this is set ON)"));
    EXPECT_TRUE(has("Current Setting in Registry:"));
    EXPECT_TRUE(has("Browse"));
}

TEST_F(EngineDialogs, NoGraphicsFileIsAlwaysShownAfterACancelledPrompt)
{
    app.SetDword("UseDefaultGraphicsFile", 0);
    app.SetString("GraphicsDataXMLFilename", "");
    WindowDriver prompt("Choose Graphics Script File", "",
                        [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    bool closed = false;
    WindowDriver message("", "No Graphics File; application will terminate", [&](HWND box) {
        testsupport::CaptureWindow(box).SaveBmp(testsupport::OutputDir() + "no-graphics-file.bmp");
        closed = PostMessageA(box, WM_COMMAND, IDOK, 0) != 0;
    });
    EXPECT_FALSE(api.InitializeGraphicsEngine(app.Name(), client.FullPath(), 1033));
    EXPECT_TRUE(prompt.Found());
    EXPECT_TRUE(message.Found());
    EXPECT_TRUE(closed);
}

}  // namespace
