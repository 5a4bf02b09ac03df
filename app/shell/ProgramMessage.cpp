#include "ProgramMessage.h"

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
    // The skin framework has no message box of its own yet; the system's box shows the same
    // text, caption, buttons and icon in both states until it has.
    return MessageBoxA(owner, text.c_str(), caption.empty() ? nullptr : caption.c_str(), style);
}

}  // namespace shell
