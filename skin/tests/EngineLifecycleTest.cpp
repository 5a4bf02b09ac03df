// Shutdown: the save prompts, and that repeated start-up and shutdown leave nothing behind.
// Also measures the start-up time on a skin of realistic size.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <filesystem>

#include "EBitmapUtilities.h"
#include "EngineTestSupport.h"
#include "QorGraphicsEngineAPI.h"
#include "QorText_API.h"
#include "QorXML_API.h"

using namespace enginetest;

namespace {

class EngineLifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        client.SetString("GraphicsAndTextParentDirectory", DataDir());
    }
    void TearDown() override { api.ShutdownCleanup(); }

    RecordingUi ui;
    ClientKey client{"Lifecycle"};
    QorGraphicsEngineAPI api;
};

TEST_F(EngineLifecycle, UnchangedWorkIsNotOfferedForSaving)
{
    ASSERT_TRUE(api.InitializeGraphicsEngine("EngineLifecycle", client.FullPath(), 1033));
    EXPECT_TRUE(api.ShutdownCleanup());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.saveDialogs, 0);
}

TEST_F(EngineLifecycle, ChangedGraphicsAreSavedWhereTheUserSays)
{
    ASSERT_TRUE(api.InitializeGraphicsEngine("EngineLifecycle", client.FullPath(), 1033));
    api.SetGraphicsChanged(true);
    ui.messageAnswer = IDYES;
    const std::string target = OutputDirFile("saved-graphics");
    std::filesystem::remove(target + ".xml");
    ui.saveAnswer = target;
    EXPECT_TRUE(api.ShutdownCleanup());
    ASSERT_EQ(ui.messages.size(), 2u) << "the question, then the outcome of the save";
    EXPECT_EQ(ui.messages[0].text, "You have made changes to the Graphics settings.  Do you want to save your changes?");
    EXPECT_EQ(ui.messages[0].caption, "Save Work?");
    EXPECT_EQ(ui.messages[0].style & 0xF, static_cast<unsigned>(MB_YESNO));
    EXPECT_EQ(ui.messages[1].text, "Work saved to " + target + ".xml successfully");
    const std::string saved = ReadFile(target + ".xml");
    EXPECT_NE(saved.find("QorAppGraphics"), std::string::npos) << "\".xml\" is added to a name without extension";
    EXPECT_NE(saved.find("RoundButton"), std::string::npos);
}

TEST_F(EngineLifecycle, AnsweringNoSavesNothing)
{
    ASSERT_TRUE(api.InitializeGraphicsEngine("EngineLifecycle", client.FullPath(), 1033));
    api.SetGraphicsChanged(true);
    api.SetTextChanged(true);
    ui.messageAnswer = IDNO;
    ui.saveAnswer = OutputDirFile("never.xml");
    EXPECT_TRUE(api.ShutdownCleanup());
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(ui.Shown("You have made changes to the Text settings.  Do you want to save your changes?"));
    EXPECT_EQ(ui.saveDialogs, 0);
}

TEST_F(EngineLifecycle, EditedTextIsSavedThroughTheTextLibrary)
{
    ASSERT_TRUE(api.InitializeGraphicsEngine("EngineLifecycle", client.FullPath(), 1033));
    QorText_API text;
    IXMLDOMNode* element = nullptr;
    ASSERT_TRUE(text.AddControlNode(100, 1099, &element, QorTextButton, "NewButton"));
    element->Release();
    ui.messageAnswer = IDYES;
    const std::string target = OutputDirFile("saved-text.xml");
    ui.saveAnswer = target;
    EXPECT_TRUE(api.ShutdownCleanup());
    EXPECT_TRUE(ui.Shown("You have made changes to the Text settings."));
    EXPECT_TRUE(ui.Shown("Work saved to " + target + " successfully"));
    EXPECT_NE(ReadFile(target).find("NewButton"), std::string::npos);
    std::string value;
    EXPECT_FALSE(api.GetText(102, &value)) << "the text document is released";
}

struct Usage {
    DWORD gdi, user, handles;
    SIZE_T committedBytes;
};

// Wine answers 0 for the process handle count; there the open handles are counted by asking
// for each handle value's flags, which only succeeds for open handles.
DWORD CountHandles()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count)
        return count;
    for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

Usage MeasureUsage()
{
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
            CountHandles(), memory.PagefileUsage};
}

TEST_F(EngineLifecycle, RepeatedStartAndShutdownDoNotGrowHandlesOrMemory)
{
    const std::string library = BuiltSkinsDir() + "SkinFull.dll";
    AppKey app("EngineRepeat");
    auto cycle = [&](int i) {
        // Alternate between a file skin and a library skin, loading one bitmap each time.
        if (i % 2) {
            app.SetDword("UseDefaultGraphicsFile", 0);
            app.SetDword("UseDefaultTextFile", 0);
            app.SetString("GraphicsDataXMLFilename", library);
            app.SetString("TextXMLFilename", library);
        } else {
            app.SetDword("UseDefaultGraphicsFile", 1);
            app.SetDword("UseDefaultTextFile", 1);
        }
        ClientKey folder("RepeatFolder");
        folder.SetString("GraphicsAndTextParentDirectory", DataDir());
        ASSERT_TRUE(api.InitializeGraphicsEngine(app.Name(), folder.FullPath(), 1033)) << i;
        HBITMAP bitmap = nullptr;
        if (api.GetBitmap(i % 2 ? "bmp\\main bg.bmp" : "bmp\\logo.bmp", &bitmap))
            DeleteObject(bitmap);
        ASSERT_TRUE(api.ShutdownCleanup());
        EXPECT_FALSE(EBitmapUtilities::UsingResource());
    };
    for (int i = 0; i < 10; ++i)
        cycle(i);
    const Usage before = MeasureUsage();
    for (int i = 0; i < 200; ++i)
        cycle(i);
    const Usage after = MeasureUsage();
    std::printf("after 200 cycles: GDI %lu -> %lu, USER %lu -> %lu (0: not counted by this system), "
                "handles %lu -> %lu, committed KB %zu -> %zu\n",
                before.gdi, after.gdi, before.user, after.user, before.handles, after.handles,
                before.committedBytes / 1024, after.committedBytes / 1024);
    ASSERT_GT(before.handles, 0u);
    ASSERT_GT(before.committedBytes, 0u);
    EXPECT_LE(after.gdi, before.gdi);
    EXPECT_LE(after.user, before.user);
    EXPECT_LE(after.handles, before.handles + 2);
    // A leak of one document per cycle would add megabytes; allow the heap some slack.
    EXPECT_LT(after.committedBytes, before.committedBytes + 1024 * 1024);
}

// A skin of the size the program ships: about 25 dialogs with 30 controls each and 400
// messages, written to the artefact folder.
void WriteRealisticSkin(const std::string& folder)
{
    std::string graphics = "<?xml version=\"1.0\"?>\n<QorAppGraphics>\n";
    std::string text = "<?xml version=\"1.0\"?>\n<QorAppText>\n";
    for (int d = 0; d < 25; ++d) {
        const std::string id = std::to_string(100 + d);
        graphics += "<QorDlg DlgName=\"Dialog" + id + "\" DlgIdValue=\"" + id + "\" DlgBitmapFile=\"bmp\\dlg" + id +
                    ".bmp\">\n";
        text += "<QorDlg DlgName=\"Dialog" + id + "\" DlgIdValue=\"" + id + "\">\n";
        for (int c = 0; c < 30; ++c) {
            const std::string cid = std::to_string(1000 + c);
            graphics += " <QorBtnControl ControlIdValue=\"" + cid + "\" ControlName=\"Button" + cid +
                        "\" ControlXOffset=\"10\" ControlYOffset=\"20\" ControlUpBitmapFile=\"bmp\\up" + cid +
                        ".bmp\" ControlDownBitmapFile=\"bmp\\down.bmp\" ControlFocusBitmapFile=\"bmp\\focus.bmp\" "
                        "ControlDisabledBitmapFile=\"bmp\\disabled.bmp\"><QorControlTracking Orientation=\"2\" "
                        "RightOffset=\"5\" BottomOffset=\"5\"/></QorBtnControl>\n";
            text += " <QorBtnControl ControlId=\"" + cid + "\" ControlName=\"Button" + cid + "\" Caption=\"Caption " +
                    cid + "\" ToolTipText=\"Tooltip " + cid +
                    "\" UseTemplate=\"\" CenterTextHorizontally=\"1\" CenterTextVertically=\"1\" XoffsetUp=\"0\" "
                    "YoffsetUp=\"0\" XoffsetDown=\"1\" YoffsetDown=\"1\" TextColor1=\"0\" TextColor2=\"8421504\" "
                    "TextColor3=\"16777215\"><QorFontInfo FontHeight=\"-11\" FontWeight=\"400\" "
                    "FaceName=\"MS Sans Serif\"/></QorBtnControl>\n";
        }
        graphics += "</QorDlg>\n";
        text += "</QorDlg>\n";
    }
    graphics += "<QorTemplates><QorButtonTemplates>";
    for (int t = 0; t < 20; ++t)
        graphics += "<QorButtonTemplate TemplateName=\"T" + std::to_string(t) + "\" ControlUpBitmapFile=\"bmp\\t.bmp\"/>";
    graphics += "</QorButtonTemplates></QorTemplates>\n</QorAppGraphics>\n";
    text += "<QorAppMessages>\n";
    for (int m = 0; m < 400; ++m)
        text += " <QorMessage MessageId=\"" + std::to_string(100 + m) + "\" Text=\"Message number " +
                std::to_string(m) + " with a sentence of ordinary length for a dialog.\"/>\n";
    text += "</QorAppMessages>\n</QorAppText>\n";
    WriteFile(folder + "Graphics1033.xml", graphics);
    WriteFile(folder + "Text1033.xml", text);
}

TEST_F(EngineLifecycle, BenchmarkStartUpOnARealisticSkin)
{
    const std::string folder = OutputDirFile("realistic\\");
    std::filesystem::create_directories(folder);
    WriteRealisticSkin(folder);
    ClientKey realistic("Realistic");
    realistic.SetString("GraphicsAndTextParentDirectory", folder);
    using Clock = std::chrono::steady_clock;
    ASSERT_TRUE(api.InitializeGraphicsEngine("EngineBenchmark", realistic.FullPath(), 1033));  // warm caches
    api.ShutdownCleanup();
    const int runs = 10;
    double total = 0, slowest = 0;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        ASSERT_TRUE(api.InitializeGraphicsEngine("EngineBenchmark", realistic.FullPath(), 1033));
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        total += ms;
        slowest = ms > slowest ? ms : slowest;
        api.ShutdownCleanup();
    }
    const auto graphicsBytes = std::filesystem::file_size(folder + "Graphics1033.xml");
    const auto textBytes = std::filesystem::file_size(folder + "Text1033.xml");
    std::printf("engine start (graphics %llu KB, text %llu KB, 750 controls, 400 messages): mean %.1f ms, "
                "slowest %.1f ms over %d runs\n",
                static_cast<unsigned long long>(graphicsBytes / 1024), static_cast<unsigned long long>(textBytes / 1024),
                total / runs, slowest, runs);
    std::string value;
    ASSERT_TRUE(api.InitializeGraphicsEngine("EngineBenchmark", realistic.FullPath(), 1033));
    EXPECT_TRUE(api.GetText(499, &value));
    EXPECT_EQ(api.GetButtonTemplateCount(), 20);
}

}  // namespace
