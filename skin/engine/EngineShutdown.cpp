// Shutting the engine down, and the engine's small services: texts and bitmaps.
#include "EBitmapUtilities.h"
#include "EGERegistryMgr_API.h"
#include "EngineMessages.h"
#include "GraphicsEngineState.h"
#include "QorGraphicsEngineAPI.h"
#include "QorXmlDom.h"

namespace skelda {
namespace {

bool HasExtension(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of("\\/");
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

void OfferToSaveGraphics(GraphicsEngineState& s)
{
    if (!s.graphicsChanged || !s.graphicsDocument)
        return;
    if (EngineUserInterface().ShowMessage(messages::kSaveGraphicsQuestion, messages::kSaveCaption,
                                          MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    std::string target;
    if (!EngineUserInterface().ChooseSaveFile(s.graphicsFilePath, &target) || target.empty())
        return;
    if (!HasExtension(target))
        target += ".xml";
    qorxml::SaveToFile(s.graphicsDocument.Get(), target);
}

void OfferToSaveText(GraphicsEngineState& s)
{
    if (!s.textChanged && !s.text.TextChanged())
        return;
    if (EngineUserInterface().ShowMessage(messages::kSaveTextQuestion, messages::kSaveCaption,
                                          MB_YESNO | MB_ICONQUESTION) == IDYES)
        s.text.SaveCurrentWork();
}

}  // namespace
}  // namespace skelda

using skelda::EngineState;

bool QorGraphicsEngineAPI::ShutdownCleanup()
{
    skelda::GraphicsEngineState& s = EngineState();
    try {
        skelda::OfferToSaveGraphics(s);
        skelda::OfferToSaveText(s);
    } catch (...) {
        // Shutting down goes on whatever happened while saving.
    }
    s.ReleaseDocuments();
    EBitmapUtilities::ReleaseResource();
    s.graphicsChanged = s.textChanged = false;
    return true;
}

bool QorGraphicsEngineAPI::GetText(int textId, std::string* text)
{
    return EngineState().text.GetText(textId, text);
}

bool QorGraphicsEngineAPI::GetBitmap(const std::string& path, HBITMAP* bitmap)
{
    std::string resolved = path;
    if (!EGERegistryMgr_API::GetProperPathForStoredFilepath(EngineState().parentFolder, &resolved))
        return false;
    return EBitmapUtilities::LoadDibSectionFromFile(resolved, bitmap);
}
