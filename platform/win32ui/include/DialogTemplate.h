#pragma once
// Builds a dialog template in memory, so a library can show a small modal dialog without a
// resource script. Units are dialog units; the font is 8-point "MS Shell Dlg".
#include <windows.h>

#include <string>
#include <vector>

namespace win32ui {

class DialogTemplate {
public:
    DialogTemplate(const std::string& title, short width, short height);

    void AddButton(WORD id, const std::string& text, short x, short y, short cx, short cy, bool isDefault = false);
    void AddCheckBox(WORD id, const std::string& text, short x, short y, short cx, short cy);
    void AddStatic(WORD id, const std::string& text, short x, short y, short cx, short cy);
    void AddEdit(WORD id, short x, short y, short cx, short cy);

    // Runs the dialog modally; returns what the procedure passed to EndDialog, or -1.
    INT_PTR Run(HWND owner, DLGPROC procedure, LPARAM parameter) const;

private:
    void AddItem(DWORD style, WORD classAtom, WORD id, const std::string& text, short x, short y, short cx, short cy);
    void AppendWord(WORD w);
    void AppendText(const std::string& text);
    void Align();

    std::vector<WORD> words_;
    size_t countIndex_ = 0;
};

}  // namespace win32ui
