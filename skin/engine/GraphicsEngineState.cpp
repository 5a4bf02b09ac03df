// The process-wide engine state.
#include "GraphicsEngineState.h"

#include "EBitmapUtilities.h"
#include "QorXML_API.h"

namespace skelda {

void GraphicsEngineState::ReleaseDocuments()
{
    text.ReleaseAllNodes();
    buttonTemplates.clear();
    templatesNode.Reset();
    graphicsDocument.Reset();
    for (auto& outline : outlines)
        DeleteObject(outline.second);
    outlines.clear();
}

namespace {

HRGN CopyOfRegion(HRGN region)
{
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    if (copy && CombineRgn(copy, region, nullptr, RGN_COPY) == ERROR) {
        DeleteObject(copy);
        return nullptr;
    }
    return copy;
}

}  // namespace

HRGN CopyOfPictureOutline(const std::string& path, HBITMAP bitmap, COLORREF transparent)
{
    if (path.empty())
        return EBitmapUtilities::BuildRegion(bitmap, transparent, nullptr, nullptr);
    auto& outlines = EngineState().outlines;
    const auto key = std::make_pair(path, transparent);
    auto found = outlines.find(key);
    if (found == outlines.end()) {
        HRGN traced = EBitmapUtilities::BuildRegion(bitmap, transparent, nullptr, nullptr);
        if (!traced)
            return nullptr;
        found = outlines.emplace(key, traced).first;
    }
    return CopyOfRegion(found->second);
}

void ForgetPictureOutline(const std::string& path)
{
    auto& outlines = EngineState().outlines;
    for (auto it = outlines.begin(); it != outlines.end();) {
        if (it->first.first == path) {
            DeleteObject(it->second);
            it = outlines.erase(it);
        } else {
            ++it;
        }
    }
}

GraphicsEngineState& EngineState()
{
    // Never destroyed: COM objects must not be released while the process unloads its
    // modules; ShutdownCleanup releases everything in an orderly exit.
    static GraphicsEngineState* state = new GraphicsEngineState;
    return *state;
}

IXMLDOMNode* FindButtonTemplate(const std::string& name)
{
    for (const auto& entry : EngineState().buttonTemplates)
        if (entry.first == name)
            return entry.second.Get();
    return nullptr;
}

}  // namespace skelda
