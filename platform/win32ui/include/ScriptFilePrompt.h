#pragma once
// The start-up prompt for a skin or text script file: a line saying that prompting is on,
// the current registry setting in an edit field, a "Browse" button that opens an XML file
// chooser, OK and Cancel.
#include <windows.h>

#include <string>

namespace win32ui {

struct ScriptFilePromptTexts {
    std::string title;        // "Choose Graphics Script File"
    std::string instruction;  // "Select the Graphics Script File    (prompting for this is set ON)"
    std::string browseTitle;  // "Select Script File"
};

// Item ids of the prompt, for code that drives it.
enum ScriptFilePromptIds : WORD { kPromptPathEdit = 1000, kPromptBrowseButton = 1001 };

// True on OK, with the edited path in `path`; false and `path` unchanged on Cancel.
bool RunScriptFilePrompt(HWND owner, const ScriptFilePromptTexts& texts, std::string* path);

// A file-open or file-save dialog for "XML Files (*.xml)|*.xml||" starting at `current`.
bool ChooseXmlFile(HWND owner, bool save, const std::string& title, const std::string& current, std::string* chosen);

}  // namespace win32ui
