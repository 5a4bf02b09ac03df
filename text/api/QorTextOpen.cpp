// Opening, saving and releasing the text document.
#include <memory>

#include "QorText_API.h"
#include "QorSafeSave.h"
#include "QorXML_API.h"
#include "QorXmlDom.h"
#include "TextLibraryState.h"
#include "TextSourceRules.h"

namespace lorvane {
namespace {

// A document holds text when its element is "QorAppText".
bool HasTextContent(IXMLDOMDocument* document)
{
    win::ComPtr<IXMLDOMElement> root;
    return qorxml::DocumentElement(document, "QorAppText", &root);
}

// Loads the resource `type`/`id` of `module` into `document`.
ResourceOutcome LoadResource(HMODULE module, const char* type, DWORD id, IXMLDOMDocument* document)
{
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!info)
        return ResourceOutcome::Missing;
    HGLOBAL loaded = LoadResource(module, info);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, info);
    if (!bytes || FAILED(QorXML_API::LoadXmlDocFromMemory(document, bytes, size)) || !HasTextContent(document))
        return ResourceOutcome::Failed;
    return ResourceOutcome::Loaded;
}

struct LibraryDeleter {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};

bool LoadFromLibrary(const std::string& path, const char* type, DWORD languageId, IXMLDOMDocument* document,
                     TextLibraryState* state)
{
    if (path.size() >= MAX_PATH)
        return false;
    // Only resources are read; the library's code never runs.
    std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter> module(
        LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module)
        return false;
    ResourceSearchResult result = SearchTextResource(
        languageId, RunningOnWindows98OrMe(),
        [&](DWORD id) { return LoadResource(module.get(), type, id, document); });
    state->alternateEncoding = result.alternate && result.loaded;
    state->alternateId = state->alternateEncoding ? result.id : 0;
    return result.loaded;
}

bool Open(const std::string& applicationName, std::string* path, DWORD languageId, const char* resourceType)
{
    TextLibraryState& state = State();
    state.Release();
    state.settings = ReadTextLibrarySettings(applicationName);
    if (state.settings.showTextErrorDialogs)
        QorXML_API::AssertWhenEntriesNotFound(true);

    win::ComPtr<IXMLDOMDocument> document;
    if (FAILED(qorxml::CreateDocument(&document)) ||
        FAILED(QorXML_API::QorCreateXMLDocumentInMemory(document.Get())))
        return false;

    const std::string chosen = ChooseTextFilePath(
        state.settings.storedPath, *path, state.settings.promptForTextFile, state.settings.useDefaultTextFile,
        [](std::string* edited) { return UserInterface().ChooseTextScriptFile(edited); });
    *path = chosen;
    if (chosen.empty())
        return false;

    bool loaded = false;
    if (!IsResourceLibraryPath(chosen))
        loaded = SUCCEEDED(QorXML_API::LoadXmlDocFromFile(document.Get(), chosen)) && HasTextContent(document.Get());
    else
        loaded = LoadFromLibrary(chosen, resourceType, languageId, document.Get(), &state);
    if (!loaded) {
        state.alternateEncoding = false;
        state.alternateId = 0;
        return false;
    }

    state.document = document;
    state.currentPath = chosen;
    win::ComPtr<IXMLDOMElement> root;
    qorxml::DocumentElement(document.Get(), "QorAppText", &root);
    BuildTextTables(root.Get(), &state.tables);
    return true;
}

bool HasExtension(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of("\\/");
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

}  // namespace
}  // namespace lorvane

using namespace lorvane;

bool QorText_API::OpenTextFile(const std::string& applicationName, const std::string& path, DWORD languageId)
{
    std::string chosen = path;
    return Open(applicationName, &chosen, languageId, "TEXT");
}

bool QorText_API::OpenTextFile(const std::string& applicationName, std::string* path)
{
    if (!path)
        return false;
    return Open(applicationName, path, LANGIDFROMLCID(GetThreadLocale()), "TEXTDATA");
}

bool QorText_API::UseAlternateEncoding(DWORD* id)
{
    const TextLibraryState& state = State();
    if (id && state.alternateEncoding)
        *id = state.alternateId;
    return state.alternateEncoding;
}

bool QorText_API::SaveCurrentWork()
{
    TextLibraryState& state = State();
    if (!state.document)
        return false;
    std::string target;
    if (!UserInterface().ChooseSaveFile(state.currentPath, &target) || target.empty())
        return false;
    if (!HasExtension(target))
        target += ".xml";
    IXMLDOMDocument* document = state.document.Get();
    if (FAILED(qorxml::SaveReplacing(target, [document](const std::string& temporary) {
            return QorXML_API::SaveXMLDocToFile(document, temporary);
        }))) {
        UserInterface().ShowMessage("Error saving to:  " + target + "\r\r    Make sure the file is not write protected.",
                                    "File Save Error", MB_OK | MB_ICONERROR);
        return false;
    }
    UserInterface().ShowMessage("Work saved to " + target + " successfully", "Save Work", MB_OK | MB_ICONINFORMATION);
    state.currentPath = target;
    state.changed = false;
    return true;
}

bool QorText_API::TextChanged()
{
    return State().changed;
}

void QorText_API::ReleaseXMLNodes()
{
    TextLibraryState& state = State();
    state.tables.Clear();
}

void QorText_API::ReleaseAllNodes()
{
    State().Release();
}

void QorText_API::AssertWhenTextEntriesNotFound(bool on)
{
    State().assertTextEntries = on;
}

void QorText_API::AssertWhenXMLEntriesNotFound(bool on)
{
    QorXML_API::AssertWhenEntriesNotFound(on);
}
