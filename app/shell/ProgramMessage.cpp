#include "ProgramMessage.h"

#include "QorGraphicsEngineAPI.h"

namespace shell {

namespace {

bool g_skinned = false;

}  // namespace

void SetSkinnedMessagesAvailable(bool available)
{
    g_skinned = available;
}

bool SkinnedMessagesAvailable()
{
    return g_skinned;
}

int ShowProgramMessage(HWND owner, const std::string& text, const std::string& caption, UINT style)
{
    const char* title = caption.empty() ? nullptr : caption.c_str();
    if (g_skinned)
        return QorGraphicsEngineAPI().QorMessageBox(text.c_str(), title, style, false);
    return MessageBoxA(owner, text.c_str(), title, style);
}

}  // namespace shell
