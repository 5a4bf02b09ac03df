// Start-up failures: each stops with its message (shown only under the debug option, except
// the two that always show), returns false and leaves no document behind. Bad files and a
// few hundred mutated copies of the real ones never crash the loaders.
#include <gtest/gtest.h>

#include <random>

#include "EngineTestSupport.h"
#include "QorGraphicsEngineAPI.h"
#include "QorText_API.h"

using namespace enginetest;

namespace {

const std::string kNoClient = "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient";
const char* kCaption = "Unable to Initialize Graphics Engine";

class EngineFailure : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.SetDword("ShowGraphicsErrorDialogs", 1);
        ui.debugAnswer = true;
        ui.debugChoice.reportLoadFailures = true;
    }
    void TearDown() override { api.ShutdownCleanup(); }

    // Starts with the graphics and text files named in the application key.
    bool StartWith(const std::string& graphics, const std::string& text)
    {
        app.SetDword("UseDefaultGraphicsFile", 0);
        app.SetDword("UseDefaultTextFile", 0);
        app.SetString("GraphicsDataXMLFilename", graphics);
        app.SetString("TextXMLFilename", text);
        return api.InitializeGraphicsEngine(app.Name(), kNoClient, 1033);
    }

    void ExpectStoppedWith(const std::string& message)
    {
        IXMLDOMDocument* document = nullptr;
        EXPECT_FALSE(api.GetGraphicsDocument(&document));
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back().text, message);
        EXPECT_EQ(ui.messages.back().caption, kCaption);
        EXPECT_EQ(ui.messages.back().style & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
    }

    RecordingUi ui;
    AppKey app{"EngineFailure"};
    QorGraphicsEngineAPI api;
};

TEST_F(EngineFailure, NoGraphicsFileSetting)
{
    app.SetDword("UseDefaultGraphicsFile", 0);
    EXPECT_FALSE(api.InitializeGraphicsEngine(app.Name(), kNoClient, 1033));
    ExpectStoppedWith("Unable to get QorGraphicsFile; aborting  (Tag GE0001)");
}

TEST_F(EngineFailure, NoTextFileSetting)
{
    app.SetDword("UseDefaultTextFile", 0);
    EXPECT_FALSE(api.InitializeGraphicsEngine(app.Name(), kNoClient, 1033));
    ExpectStoppedWith("Unable to get QorTextFile; aborting  (Tag GE0002)");
}

TEST_F(EngineFailure, TextFileThatDoesNotLoad)
{
    EXPECT_FALSE(StartWith(DataDir() + "Graphics1033.xml", DataDir() + "GraphicsTruncated.xml"));
    ExpectStoppedWith("Unable to open QorTextFile; aborting  (Tag GE0003)");
}

TEST_F(EngineFailure, MalformedGraphicsFileAlwaysReportsTheLoadFailure)
{
    EXPECT_FALSE(StartWith(DataDir() + "GraphicsTruncated.xml", DataDir() + "Text1033.xml"));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text.rfind("Failed to load Graphics XML File.  Hresult = ", 0), 0u) << ui.messages[0].text;
    EXPECT_GT(ui.messages[0].text.size(), 46u) << "followed by the system's text";
    EXPECT_EQ(ui.messages[0].caption, "");
    ExpectStoppedWith("Unable to load the GraphicsFile from an XML file; aborting  (Tag GE0007)");

    ui.messages.clear();
    ui.debugChoice.reportLoadFailures = false;
    EXPECT_FALSE(StartWith(DataDir() + "GraphicsTruncated.xml", DataDir() + "Text1033.xml"));
    ASSERT_EQ(ui.messages.size(), 1u) << "only the message that always shows";
    EXPECT_EQ(ui.messages[0].text.rfind("Failed to load Graphics XML File.", 0), 0u);
}

TEST_F(EngineFailure, EmptyMissingAndOverlongGraphicsPaths)
{
    const std::string empty = OutputDirFile("empty.xml");
    WriteFile(empty, "");
    for (const std::string& path : {empty, DataDir() + "NoSuchFile.xml"}) {
        ui.messages.clear();
        EXPECT_FALSE(StartWith(path, DataDir() + "Text1033.xml")) << path;
        EXPECT_TRUE(ui.Shown("Failed to load Graphics XML File.  Hresult = ")) << path;
        ExpectStoppedWith("Unable to load the GraphicsFile from an XML file; aborting  (Tag GE0007)");
    }

    // Registry values stop at 260 bytes, so an overlong path can only come from the prompt.
    ui.messages.clear();
    app.SetDword("PromptForGraphicsFNameAtRuntime", 1);
    ui.graphicsPromptAnswer = true;
    ui.graphicsPromptPath = DataDir() + std::string(300, 'x') + ".xml";
    EXPECT_FALSE(StartWith(DataDir() + "Graphics1033.xml", DataDir() + "Text1033.xml"));
    ExpectStoppedWith("Unable to load the GraphicsFile from an XML file; aborting  (Tag GE0007)");
}

TEST_F(EngineFailure, AnotherDocumentElementIsNoSkin)
{
    EXPECT_FALSE(StartWith(DataDir() + "Text1033.xml", DataDir() + "Text1033.xml"));
    ExpectStoppedWith("Unable to load the GraphicsFile from an XML file; aborting  (Tag GE0007)");
    EXPECT_FALSE(ui.Shown("Failed to load")) << "the file itself loaded";

    ui.messages.clear();
    EXPECT_FALSE(StartWith(DataDir() + "Graphics1033.xml", DataDir() + "Graphics1033.xml"));
    ExpectStoppedWith("Unable to open QorTextFile; aborting  (Tag GE0003)");
}

TEST_F(EngineFailure, BrokenOrIncompleteResourceLibraries)
{
    for (const char* library : {"SkinBroken.dll", "SkinTextOnly.dll"}) {
        ui.messages.clear();
        const std::string path = BuiltSkinsDir() + library;
        EXPECT_FALSE(StartWith(path, path)) << library;
        ExpectStoppedWith("Unable to load the GraphicsFile from a resource DLL; aborting  (Tag GE0006)");
    }
    ui.messages.clear();
    const std::string absent = BuiltSkinsDir() + "NoSuchSkin.dll";
    EXPECT_FALSE(StartWith(absent, BuiltSkinsDir() + "SkinFull.dll"));
    ExpectStoppedWith("Unable to load the GraphicsFile from a resource DLL; aborting  (Tag GE0006)");
}

TEST_F(EngineFailure, NoGraphicsFileAtAllAlwaysSaysSoAfterThePrompt)
{
    ui.debugChoice.reportLoadFailures = false;
    app.SetDword("UseDefaultGraphicsFile", 0);
    app.SetString("GraphicsDataXMLFilename", "");
    app.SetDword("UseDefaultTextFile", 0);
    app.SetString("TextXMLFilename", DataDir() + "Text1033.xml");
    EXPECT_FALSE(api.InitializeGraphicsEngine(app.Name(), kNoClient, 1033));
    EXPECT_EQ(ui.graphicsPrompts, 1) << "an empty graphics path is always asked for";
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "No Graphics File; application will terminate");
    EXPECT_EQ(ui.messages[0].style & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
    std::string text;
    EXPECT_FALSE(api.GetText(102, &text)) << "the text opened for the failed start is released";
}

TEST_F(EngineFailure, WithoutTheDebugOptionFailuresAreSilent)
{
    ui.debugChoice.reportLoadFailures = false;
    EXPECT_FALSE(StartWith(DataDir() + "Text1033.xml", DataDir() + "Text1033.xml"));
    app.SetDword("UseDefaultTextFile", 0);
    app.SetString("TextXMLFilename", DataDir() + "GraphicsTruncated.xml");
    EXPECT_FALSE(api.InitializeGraphicsEngine(app.Name(), kNoClient, 1033));
    EXPECT_TRUE(ui.messages.empty());
}

// Mutations of a real file: flipped bytes, cut tails, doubled and dropped slices, stray markup.
std::string Mutate(const std::string& original, std::mt19937& random)
{
    std::string text = original;
    std::uniform_int_distribution<size_t> position(0, text.size() - 1);
    switch (random() % 5) {
    case 0:
        for (int i = 0; i < 4; ++i)
            text[position(random)] = static_cast<char>(random() & 0xFF);
        break;
    case 1: text.resize(position(random)); break;
    case 2: {
        size_t at = position(random);
        text.insert(at, text.substr(position(random), 40));
        break;
    }
    case 3: text.erase(position(random), 1 + random() % 60); break;
    default: {
        static const char* const kStray[] = {"<", ">", "\"", "&", "</QorDlg>", "<QorDlg", "=\"-99999999999\"",
                                             "\xEF\xBB\xBF", "<![CDATA[", "&#0;"};
        text.insert(position(random), kStray[random() % 10]);
    }
    }
    return text;
}

TEST_F(EngineFailure, MutatedSkinAndTextFilesNeverCrashTheLoaders)
{
    ui.debugChoice.reportLoadFailures = true;
    const std::string graphics = ReadFile(DataDir() + "Graphics1033.xml");
    const std::string text = ReadFile(DataDir() + "Text1033.xml");
    ASSERT_FALSE(graphics.empty());
    ASSERT_FALSE(text.empty());
    const std::string graphicsCopy = OutputDirFile("fuzz-graphics.xml"), textCopy = OutputDirFile("fuzz-text.xml");
    std::mt19937 random(20261208);
    int started = 0, failed = 0;
    for (int i = 0; i < 300; ++i) {
        const bool mutateGraphics = i % 2 == 0;
        WriteFile(graphicsCopy, mutateGraphics ? Mutate(graphics, random) : graphics);
        WriteFile(textCopy, mutateGraphics ? text : Mutate(text, random));
        ui.messages.clear();
        if (StartWith(graphicsCopy, textCopy)) {
            ++started;
            std::string value;
            api.GetText(108, &value);
            IXMLDOMNode* element = nullptr;
            if (api.GetButtonTemplate("RoundButton", &element))
                element->Release();
            EXPECT_TRUE(ui.messages.empty());
        } else {
            ++failed;
            ASSERT_FALSE(ui.messages.empty()) << "iteration " << i << ": a failure always names its reason";
            EXPECT_NE(ui.messages.back().text.find("(Tag GE000"), std::string::npos) << ui.messages.back().text;
        }
        api.ShutdownCleanup();
    }
    std::printf("fuzz: %d mutated starts succeeded, %d failed cleanly\n", started, failed);
    EXPECT_GT(failed, 50);
    EXPECT_GT(started, 10);
}

}  // namespace

namespace {

// Stands in for the XML document class: the first document (the text library's) is made by
// the real class, every later one is refused, as when the system runs out of memory.
class SecondDocumentRefused : public IClassFactory {
public:
    explicit SecondDocumentRefused(IClassFactory* real) : real_(real) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (++made == 1)
            return real_->CreateInstance(outer, iid, out);
        *out = nullptr;
        return E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
    int made = 0;

private:
    IClassFactory* real_;
};

}  // namespace

TEST_F(EngineFailure, AGraphicsDocumentThatCannotBeCreatedStopsWithItsTag)
{
    const CLSID documentClass = {0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
    IClassFactory* real = nullptr;
    ASSERT_EQ(CoGetClassObject(documentClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&real)),
              S_OK);
    SecondDocumentRefused factory(real);
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(documentClass, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    const bool started = StartWith(DataDir() + "Graphics1033.xml", DataDir() + "Text1033.xml");
    CoRevokeClassObject(cookie);
    real->Release();
    EXPECT_FALSE(started);
    EXPECT_EQ(factory.made, 2) << "the text document, then the refused graphics document";
    ExpectStoppedWith("CoCreateInstance failed; aborting  (Tag GE0004)");
}
