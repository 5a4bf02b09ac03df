// The graphics document: from a file or a resource library.
#include "GraphicsDocumentLoader.h"

#include "QorXmlDom.h"

namespace skelda {
namespace {

bool IsGraphicsDocument(IXMLDOMDocument* document)
{
    win::ComPtr<IXMLDOMElement> root;
    return qorxml::DocumentElement(document, "QorAppGraphics", &root);
}

}  // namespace

HRESULT LoadGraphicsFromFile(IXMLDOMDocument* document, const std::string& path)
{
    HRESULT hr = qorxml::LoadFromFile(document, path);
    if (FAILED(hr))
        return hr;
    return IsGraphicsDocument(document) ? S_OK : S_FALSE;
}

bool LoadGraphicsFromLibrary(IXMLDOMDocument* document, const std::string& path, DWORD languageId,
                             QorText_API& text)
{
    if (path.size() >= MAX_PATH)
        return false;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return false;
    DWORD id = languageId;
    DWORD alternate = 0;
    HRSRC info = nullptr;
    if (text.UseAlternateEncoding(&alternate)) {
        id = alternate;
        info = FindResourceA(module, MAKEINTRESOURCEA(id), "GRAPHICS");
    } else {
        info = FindResourceA(module, MAKEINTRESOURCEA(id), "GRAPHICS");
        if (!info)
            info = FindResourceA(module, MAKEINTRESOURCEA(1033), "GRAPHICS");
    }
    bool loaded = false;
    if (info) {
        HGLOBAL handle = LoadResource(module, info);
        const void* bytes = handle ? LockResource(handle) : nullptr;
        loaded = bytes && SUCCEEDED(qorxml::LoadFromBytes(document, bytes, SizeofResource(module, info))) &&
                 IsGraphicsDocument(document);
    }
    FreeLibrary(module);
    return loaded;
}

void ReadButtonTemplates(GraphicsEngineState* state)
{
    state->buttonTemplates.clear();
    state->templatesNode.Reset();
    win::ComPtr<IXMLDOMNode> buttonTemplates;
    if (!qorxml::SelectSingle(state->graphicsDocument.Get(), "QorAppGraphics/QorTemplates", &state->templatesNode) ||
        !qorxml::SelectSingle(state->templatesNode.Get(), "QorButtonTemplates", &buttonTemplates))
        return;
    qorxml::ForEachChildElement(buttonTemplates.Get(), [state](IXMLDOMNode* item) {
        std::string tag, name;
        if (qorxml::NodeName(item, &tag) && tag == "QorButtonTemplate" &&
            qorxml::GetAttribute(item, "TemplateName", &name))
            state->buttonTemplates.emplace_back(name, win::ComPtr<IXMLDOMNode>::Share(item));
        return true;
    });
}

}  // namespace skelda
