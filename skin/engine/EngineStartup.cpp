// Starting the graphics engine: settings, default search, text file, graphics document.
#include "DefaultSkinSearch.h"
#include "EBitmapUtilities.h"
#include "EGERegistryMgr_API.h"
#include "EngineMessages.h"
#include "GraphicsDocumentLoader.h"
#include "GraphicsEngineState.h"
#include "QorGraphicsEngineAPI.h"
#include "QorXmlDom.h"
#include "StoredPath.h"

namespace skelda {
namespace {

// A start-up failure: reported only when the debug options ask for it.
bool Fail(const GraphicsEngineState& state, const char* message)
{
    if (state.debug.reportLoadFailures)
        EngineUserInterface().ShowMessage(message, messages::kInitCaption, MB_OK | MB_ICONERROR);
    return false;
}

std::string ExecutableFolder()
{
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    const size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

void ReadApplicationSettings(GraphicsEngineState* s)
{
    using Reg = EGERegistryMgr_API;
    const std::string& app = s->applicationName;
    s->promptForGraphics = Reg::GetPromptForQorGraphicsFile(app, nullptr);
    s->promptForText = Reg::GetPromptForQorTextFile(app, nullptr);
    s->allowEditingGraphics = Reg::GetAllowEditingQorGraphicsFile(app, nullptr);
    s->allowEditingText = Reg::GetAllowEditingQorTextFile(app, nullptr);
    s->showGraphicsErrors = Reg::GetShowGraphicsErrorDialogs(app, nullptr);
    s->showTextErrors = Reg::GetShowTextErrorDialogs(app, nullptr);
}

bool HasDllExtension(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    std::string extension = path.substr(dot);
    CharUpperBuffA(extension.data(), static_cast<DWORD>(extension.size()));
    return extension == ".DLL";
}

bool Initialize(const std::string& applicationName, const std::string& clientRegistryKey, DWORD languageId)
{
    GraphicsEngineState& s = EngineState();
    using Reg = EGERegistryMgr_API;

    // A second start re-runs everything over the same state; a bitmap library of the last
    // start is not kept for a skin that may now come from files.
    s.ReleaseDocuments();
    EBitmapUtilities::ReleaseResource();
    s.applicationName = applicationName;
    s.clientRegistryKey = clientRegistryKey;
    s.languageId = languageId;
    s.graphicsChanged = s.textChanged = false;
    s.allowEditingGraphics = s.allowEditingText = false;

    ReadApplicationSettings(&s);

    s.debug = QorDebugOptions();
    if (s.showGraphicsErrors) {
        QorDebugOptions chosen;
        if (EngineUserInterface().AskDebugOptions(&chosen))
            s.debug = chosen;
    }

    s.useDefaultGraphics = Reg::GetUseDefaultGraphicsFile(applicationName, nullptr);
    s.useDefaultText = Reg::GetUseDefaultTextFile(applicationName, nullptr);

    const DefaultSkinFiles defaults = RunDefaultSkinSearch(ReadClientSkinValues(clientRegistryKey), ExecutableFolder(),
                                                           languageId, Reg::VerifyFileExists);
    s.defaultParentFolder = defaults.parentFolder;
    s.defaultGraphicsFile = defaults.graphicsFile;
    s.defaultTextFile = defaults.textFile;

    s.parentFolder.clear();
    if (s.useDefaultGraphics)
        s.parentFolder = s.defaultParentFolder;
    else
        Reg::GetQorParentFolder(applicationName, &s.parentFolder, nullptr);
    s.parentFolder = WithTrailingBackslash(s.parentFolder);

    s.graphicsFilePath = s.defaultGraphicsFile;
    if (!s.useDefaultGraphics && !Reg::GetQorGraphicsFile(applicationName, &s.graphicsFilePath, nullptr))
        return Fail(s, messages::kNoGraphicsFileSetting);

    s.textFilePath = s.defaultTextFile;
    if (!s.useDefaultText && !Reg::GetQorTextFile(applicationName, &s.textFilePath, nullptr))
        return Fail(s, messages::kNoTextFileSetting);

    if (!s.text.OpenTextFile(applicationName, s.textFilePath, languageId))
        return Fail(s, messages::kTextFileNotOpened);

    if (s.graphicsFilePath.empty() || s.promptForGraphics) {
        std::string edited = s.graphicsFilePath;
        if (EngineUserInterface().ChooseGraphicsScriptFile(&edited))
            s.graphicsFilePath = edited;
        if (s.graphicsFilePath.empty()) {
            EngineUserInterface().ShowMessage(messages::kNoGraphicsFile, "", MB_OK | MB_ICONERROR);
            s.ReleaseDocuments();
            return false;
        }
    }

    win::ComPtr<IXMLDOMDocument> document;
    if (FAILED(qorxml::CreateDocument(&document))) {
        s.ReleaseDocuments();
        return Fail(s, messages::kDocumentNotCreated);
    }

    bool loaded = false;
    const bool library = HasDllExtension(s.graphicsFilePath);
    if (!library) {
        const HRESULT hr = LoadGraphicsFromFile(document.Get(), s.graphicsFilePath);
        if (FAILED(hr))
            EngineUserInterface().ShowMessage(messages::kXmlLoadFailedPrefix + qorxml::SystemMessageText(hr), "",
                                              MB_OK | MB_ICONERROR);
        loaded = hr == S_OK;
    } else {
        // Every bitmap now comes from this library's resources.
        EBitmapUtilities::InitAndUseResource(s.graphicsFilePath);
        s.parentFolder.clear();
        loaded = LoadGraphicsFromLibrary(document.Get(), s.graphicsFilePath, languageId, s.text);
    }

    if (!loaded) {
        s.ReleaseDocuments();
        return Fail(s, library ? messages::kLibraryNotLoaded : messages::kFileNotLoaded);
    }
    s.graphicsDocument = document;
    ReadButtonTemplates(&s);
    return true;
}

}  // namespace
}  // namespace skelda

bool QorGraphicsEngineAPI::InitializeGraphicsEngine(const std::string& applicationName,
                                                    const std::string& clientRegistryKey, DWORD languageId)
{
    try {
        return skelda::Initialize(applicationName, clientRegistryKey, languageId);
    } catch (...) {
        // Nothing may cross the module's boundary; a failed allocation means no engine.
        skelda::EngineState().ReleaseDocuments();
        return false;
    }
}
