// The script file prompt shown at start-up when prompting is switched on.
#include "ScriptFilePrompt.h"

#include <commdlg.h>

#include <cstring>

#include "DialogTemplate.h"

namespace win32ui {
namespace {

struct PromptContext {
    const ScriptFilePromptTexts* texts;
    std::string* path;
};

std::string EditText(HWND dialog)
{
    char buffer[MAX_PATH * 4] = {};
    GetDlgItemTextA(dialog, kPromptPathEdit, buffer, sizeof buffer);
    return buffer;
}

INT_PTR CALLBACK PromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* context = reinterpret_cast<PromptContext*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        context = reinterpret_cast<PromptContext*>(lParam);
        SetDlgItemTextA(dialog, kPromptPathEdit, context->path->c_str());
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            *context->path = EditText(dialog);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case kPromptBrowseButton: {
            std::string chosen;
            if (ChooseXmlFile(dialog, false, context->texts->browseTitle, EditText(dialog), &chosen))
                SetDlgItemTextA(dialog, kPromptPathEdit, chosen.c_str());
            return TRUE;
        }
        }
        break;
    }
    return FALSE;
}

}  // namespace

bool RunScriptFilePrompt(HWND owner, const ScriptFilePromptTexts& texts, std::string* path)
{
    DialogTemplate t(texts.title, 300, 86);
    t.AddStatic(0xFFFF, texts.instruction, 8, 8, 284, 10);
    t.AddStatic(0xFFFF, "Current Setting in Registry:", 8, 26, 284, 10);
    t.AddEdit(kPromptPathEdit, 8, 38, 236, 13);
    t.AddButton(kPromptBrowseButton, "Browse", 248, 37, 44, 15);
    t.AddButton(IDOK, "OK", 186, 64, 50, 15, true);
    t.AddButton(IDCANCEL, "Cancel", 242, 64, 50, 15);
    std::string edited = *path;
    PromptContext context{&texts, &edited};
    if (t.Run(owner, PromptProc, reinterpret_cast<LPARAM>(&context)) != IDOK)
        return false;
    *path = edited;
    return true;
}

bool ChooseXmlFile(HWND owner, bool save, const std::string& title, const std::string& current, std::string* chosen)
{
    char file[MAX_PATH] = {};
    if (current.size() < MAX_PATH)
        std::memcpy(file, current.c_str(), current.size());
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "XML Files (*.xml)\0*.xml\0\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok || !file[0])
        return false;
    *chosen = file;
    return true;
}

}  // namespace win32ui
