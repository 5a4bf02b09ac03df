// Shutting the engine down, and the engine's small services: texts and bitmaps.
#include "EBitmapUtilities.h"
#include "EGERegistryMgr_API.h"
#include "EngineMessages.h"
#include "GraphicsEngineState.h"
#include "QorGraphicsEngineAPI.h"

namespace skelda {
namespace {

void OfferToSaveGraphics(GraphicsEngineState& s)
{
    if (!s.graphicsChanged || !s.graphicsDocument)
        return;
    if (EngineUserInterface().ShowMessage(messages::kSaveGraphicsQuestion, messages::kSaveCaption,
                                          MB_YESNO | MB_ICONQUESTION) == IDYES)
        QorGraphicsEngineAPI().SaveGraphicsWork();
}

void OfferToSaveText(GraphicsEngineState& s)
{
    if (!s.textChanged && !s.text.TextChanged())
        return;
    if (EngineUserInterface().ShowMessage(messages::kSaveTextQuestion, messages::kSaveCaption,
                                          MB_YESNO | MB_ICONQUESTION) == IDYES)
        QorGraphicsEngineAPI().SaveTextWork();
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

bool QorGraphicsEngineAPI::SaveTextWork()
{
    skelda::GraphicsEngineState& s = EngineState();
    if (!s.text.SaveCurrentWork())
        return false;
    s.textChanged = false;
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
