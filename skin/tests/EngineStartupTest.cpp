// Engine start-up end to end: real registry, real files next to the test program, real
// resource libraries; the user-interface surface records instead of showing windows.
#include <gtest/gtest.h>

#include <filesystem>

#include "EBitmapUtilities.h"
#include "EngineTestSupport.h"
#include "QorGraphicsEngineAPI.h"
#include "QorText_API.h"
#include "QorXML_API.h"

using namespace enginetest;

namespace {

const std::string kNoClient = "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient";

struct Engine {
    QorGraphicsEngineAPI api;
    ~Engine() { api.ShutdownCleanup(); }
};

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    return {info.bmWidth, info.bmHeight};
}

std::string TemplateUpBitmap(QorGraphicsEngineAPI& api, const std::string& name)
{
    IXMLDOMNode* element = nullptr;
    std::string value;
    if (api.GetButtonTemplate(name, &element)) {
        QorXML_API::GetXmlStringAttribute(element, "ControlUpBitmapFile", &value);
        element->Release();
    }
    return value;
}

bool AppKeyExists(const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ("Software\\Corvale\\GraphicsEngineAppSettings\\" + name).c_str(), 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

TEST(EngineStartup, WithoutAnApplicationKeyUsesTheDefaultFilesSilently)
{
    RecordingUi ui;
    SkinFolder skin;
    skin.Copy("Graphics1033.xml", "Graphics1033.xml");
    skin.Copy("Text1033.xml", "Text1033.xml");
    AppKey app("EngineNoKey", false);
    Engine engine;

    ASSERT_TRUE(engine.api.InitializeGraphicsEngine(app.Name(), kNoClient, 1033));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.debugDialogs + ui.graphicsPrompts + ui.textPrompts, 0);
    EXPECT_EQ(engine.api.GetGraphicsFilePath(), skin.Path() + "\\Graphics1033.xml");
    EXPECT_EQ(engine.api.GetTextFilePath(), skin.Path() + "\\Text1033.xml");
    EXPECT_EQ(engine.api.GetParentFolder(), skin.Path() + "\\");
    EXPECT_FALSE(AppKeyExists(app.Name())) << "only MakeNewApplicationEntry creates the key";

    std::string text;
    ASSERT_TRUE(engine.api.GetText(102, &text));
    EXPECT_EQ(text, "Marovin");
    EXPECT_EQ(engine.api.GetButtonTemplateCount(), 3);
    EXPECT_EQ(TemplateUpBitmap(engine.api, "RoundButton"), "bmp\\round up.bmp") << "first of two equal names";
    EXPECT_EQ(TemplateUpBitmap(engine.api, "SquareButton"), "bmp\\square.bmp");
    EXPECT_EQ(TemplateUpBitmap(engine.api, "roundbutton"), "") << "names match exactly";
}

TEST(EngineStartup, LoadsBitmapsRelativeToTheSkinFolder)
{
    RecordingUi ui;
    SkinFolder skin;
    skin.Copy("Graphics1033.xml", "Graphics1033.xml");
    skin.Copy("Text1033.xml", "Text1033.xml");
    std::filesystem::create_directories(skin.Path() + "\\bmp");
    skin.Copy("bmp\\main bg.bmp", "bmp\\main bg.bmp");
    Engine engine;
    ASSERT_TRUE(engine.api.InitializeGraphicsEngine("EngineBitmaps", kNoClient, 1033));

    HBITMAP bitmap = nullptr;
    ASSERT_TRUE(engine.api.GetBitmap("bmp\\main bg.bmp", &bitmap));
    EXPECT_EQ(BitmapSize(bitmap).cx, 32);
    EXPECT_EQ(BitmapSize(bitmap).cy, 24);
    DeleteObject(bitmap);
    EXPECT_FALSE(engine.api.GetBitmap("bmp\\absent.bmp", &bitmap));
    EXPECT_FALSE(engine.api.GetBitmap("Q:\\elsewhere\\main bg.bmp", &bitmap)) << "absolute path outside the skin";
    EXPECT_TRUE(ui.messages.empty()) << "missing bitmaps are reported only under the debug option";
}

TEST(EngineStartup, Language1031WithOnlyEnglishFilesTakesTheEnglishFiles)
{
    RecordingUi ui;
    SkinFolder skin;
    skin.Copy("Graphics1033.xml", "Graphics1033.xml");
    skin.Copy("Text1033.xml", "Text1033.xml");
    Engine engine;
    ASSERT_TRUE(engine.api.InitializeGraphicsEngine("EngineGerman", kNoClient, 1031));
    EXPECT_EQ(engine.api.GetGraphicsFilePath(), skin.Path() + "\\Graphics1033.xml");
    EXPECT_EQ(engine.api.GetTextFilePath(), skin.Path() + "\\Text1033.xml");
}

TEST(EngineStartup, ASkinLibraryNextToTheFolderServesGraphicsTextAndBitmaps)
{
    RecordingUi ui;
    SkinFolder skin;  // empty folder: no XML files and no bitmap files
    skin.CopyLibrary("SkinFull.dll");
    Engine engine;
    ASSERT_TRUE(engine.api.InitializeGraphicsEngine("EngineLibrary", kNoClient, 1033)) << ui.messages.size();
    const std::string library = ExeDir() + "Skins\\Skin.dll";
    EXPECT_EQ(engine.api.GetGraphicsFilePath(), library);
    EXPECT_EQ(engine.api.GetTextFilePath(), library);
    EXPECT_EQ(engine.api.GetParentFolder(), "") << "bitmaps are resources, not files";

    std::string text;
    EXPECT_TRUE(engine.api.GetText(102, &text));
    EXPECT_EQ(engine.api.GetButtonTemplateCount(), 3);
    HBITMAP bitmap = nullptr;
    ASSERT_TRUE(engine.api.GetBitmap("bmp\\main bg.bmp", &bitmap)) << "resource BMP_MAIN_BG.BMP";
    EXPECT_EQ(BitmapSize(bitmap).cx, 32);
    DeleteObject(bitmap);
    ASSERT_TRUE(engine.api.GetBitmap("bmp\\round up.bmp", &bitmap));
    EXPECT_EQ(BitmapSize(bitmap).cx, 16);
    DeleteObject(bitmap);
    EXPECT_FALSE(engine.api.GetBitmap("bmp\\logo.bmp", &bitmap)) << "not in the library";
}

TEST(EngineStartup, AClientKeyWithNeitherPrefixFallsBackToTheProgramsSkinFolder)
{
    RecordingUi ui;
    SkinFolder skin;
    skin.Copy("Graphics1033.xml", "Graphics1033.xml");
    skin.Copy("Text1033.xml", "Text1033.xml");
    ClientKey client("NoPrefix");
    client.SetString("GraphicsAndTextParentDirectory", "Q:\\nowhere");
    Engine engine;
    // The key exists below HKEY_CURRENT_USER but is named without a prefix, so it is not read.
    ASSERT_TRUE(engine.api.InitializeGraphicsEngine("EngineNoPrefix", "Software\\MarovinTests\\NoPrefix", 1033));
    EXPECT_EQ(engine.api.GetParentFolder(), skin.Path() + "\\");
}

TEST(EngineStartup, TheClientKeyCanNameTheFolderAndTheFiles)
{
    RecordingUi ui;
    ClientKey client("Folder");
    client.SetString("GraphicsAndTextParentDirectory", DataDir());
    Engine engine;
    ASSERT_TRUE(engine.api.InitializeGraphicsEngine("EngineClient", client.FullPath(), 1031));
    EXPECT_EQ(engine.api.GetGraphicsFilePath(), DataDir() + "Graphics1031.xml");
    EXPECT_EQ(engine.api.GetTextFilePath(), DataDir() + "Text1031.xml");
    std::string text;
    ASSERT_TRUE(engine.api.GetText(102, &text));
    EXPECT_EQ(text, "Marovin (Deutsch)");

    client.SetString("GraphicsDataXMLFilename", DataDir() + "Graphics1033.xml");
    client.SetString("TextXMLFilename", DataDir() + "Text1033.xml");
    ASSERT_TRUE(engine.api.InitializeGraphicsEngine("EngineClient", client.FullPath(), 1031));
    EXPECT_EQ(engine.api.GetGraphicsFilePath(), DataDir() + "Graphics1033.xml");
    ASSERT_TRUE(engine.api.GetText(102, &text));
    EXPECT_EQ(text, "Marovin");
}

TEST(EngineStartup, ALibraryWithOnlyEnglishTextServesLanguage1031WithEnglishGraphics)
{
    RecordingUi ui;
    SkinFolder skin;
    skin.CopyLibrary("SkinFull.dll");
    Engine engine;
    ASSERT_TRUE(engine.api.InitializeGraphicsEngine("EngineAlternate", kNoClient, 1031));
    QorText_API text;
    DWORD id = 0;
    EXPECT_TRUE(text.UseAlternateEncoding(&id));
    EXPECT_EQ(id, 1033u);
    EXPECT_EQ(engine.api.GetButtonTemplateCount(), 3) << "GRAPHICS 1033";
}

TEST(EngineStartup, ALibraryWithTheLanguageUsesItsOwnResources)
{
    RecordingUi ui;
    SkinFolder skin;
    skin.CopyLibrary("SkinGerman.dll");
    Engine engine;
    ASSERT_TRUE(engine.api.InitializeGraphicsEngine("EngineLibraryGerman", kNoClient, 1031));
    QorText_API text;
    DWORD id = 0;
    EXPECT_FALSE(text.UseAlternateEncoding(&id));
    std::string title;
    ASSERT_TRUE(engine.api.GetText(102, &title));
    EXPECT_EQ(title, "Marovin (Deutsch)");
    EXPECT_EQ(TemplateUpBitmap(engine.api, "German"), "bmp\\round up.bmp") << "GRAPHICS 1031";
}

TEST(EngineStartup, PromptingAndUseDefaultBothOn)
{
    RecordingUi ui;
    SkinFolder skin;
    skin.Copy("Graphics1033.xml", "Graphics1033.xml");
    skin.Copy("Text1033.xml", "Text1033.xml");
    AppKey app("EnginePrompting");
    app.SetDword("PromptForGraphicsFNameAtRuntime", 1);
    app.SetDword("PromptForTextFNameAtRuntime", 1);
    ui.graphicsPromptAnswer = true;
    ui.graphicsPromptPath = DataDir() + "Graphics1031.xml";
    ui.textPromptAnswer = true;
    ui.textPromptPath = DataDir() + "Text1031.xml";
    Engine engine;
    ASSERT_TRUE(engine.api.InitializeGraphicsEngine(app.Name(), kNoClient, 1033));
    EXPECT_EQ(ui.graphicsPrompts, 1);
    EXPECT_EQ(ui.textPrompts, 1);
    EXPECT_EQ(engine.api.GetGraphicsFilePath(), DataDir() + "Graphics1031.xml") << "the graphics prompt's answer";
    std::string text;
    ASSERT_TRUE(engine.api.GetText(102, &text));
    EXPECT_EQ(text, "Marovin") << "the given text path wins over the prompt's answer";
}

TEST(EngineStartup, DebugOptionsDialogOnlyWithShowGraphicsErrors)
{
    RecordingUi ui;
    SkinFolder skin;
    skin.Copy("Graphics1033.xml", "Graphics1033.xml");
    skin.Copy("Text1033.xml", "Text1033.xml");
    AppKey app("EngineDebug");
    Engine engine;
    ASSERT_TRUE(engine.api.InitializeGraphicsEngine(app.Name(), kNoClient, 1033));
    EXPECT_EQ(ui.debugDialogs, 0);

    app.SetDword("ShowGraphicsErrorDialogs", 1);
    ui.debugAnswer = false;
    ui.debugChoice.reportLoadFailures = true;
    ASSERT_TRUE(engine.api.InitializeGraphicsEngine(app.Name(), kNoClient, 1033));
    EXPECT_EQ(ui.debugDialogs, 1);
    QorDebugOptions options = engine.api.GetDebugOptions();
    EXPECT_FALSE(options.reportLoadFailures || options.reportMissingBitmaps || options.assertOnMissingXmlEntries)
        << "Cancel leaves all three off";

    ui.debugAnswer = true;
    ui.debugChoice = {true, false, true};
    ASSERT_TRUE(engine.api.InitializeGraphicsEngine(app.Name(), kNoClient, 1033));
    options = engine.api.GetDebugOptions();
    EXPECT_TRUE(options.reportMissingBitmaps);
    EXPECT_FALSE(options.assertOnMissingXmlEntries);
    EXPECT_TRUE(options.reportLoadFailures);

    const std::string missing = skin.Path() + "\\bmp\\absent.bmp";
    EXPECT_FALSE(EBitmapUtilities::VerifyFileExists(missing));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "The following Bitmap file, in the Graphics XML file, does not exist:  " + missing);
    EXPECT_EQ(ui.messages[0].caption, "Bitmap File Not Found");
    EXPECT_EQ(ui.messages[0].style & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
}

}  // namespace
