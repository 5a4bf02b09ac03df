// The engine's message box: the skinned box, shown modally over the active window.
#include "EQorMessageDlg.h"
#include "MessageBoxLayout.h"
#include "QorGraphicsEngineAPI.h"

namespace {

// The message as the system's box shows line breaks.
std::string WithSystemLineBreaks(const char* message)
{
    std::string text;
    const auto lines = skelda::msgbox::SplitMessageLines(message ? message : "");
    for (size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\n" : "") + lines[i];
    return text;
}

}  // namespace

int QorGraphicsEngineAPI::QorMessageBox(const char* message, const char* caption, UINT style, bool centerText)
{
    HWND active = ::GetActiveWindow();
    HWND owner = active ? ::GetAncestor(active, GA_ROOT) : nullptr;
    try {
        EQorMessageDlg box(CWnd::FromHandlePermanent(owner));
        if (message)
            box.SetMessage(message);
        if (caption)
            box.SetCaption(caption);
        box.SetFlags(style);
        if (centerText)
            box.CenterJustifyMsgText();
        box.AllowEditing(false);
        if (box.DoModal() != -1 && box.GetResult() != 0)
            return box.GetResult();
        // No skin to draw the box with: the message must still reach the user.
        return ::MessageBoxA(owner, WithSystemLineBreaks(message).c_str(), caption, style);
    } catch (...) {
        return 0;  // as the system's box answers when it cannot be shown
    }
}
