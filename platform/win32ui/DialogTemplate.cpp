// In-memory dialog templates.
#include "DialogTemplate.h"

namespace win32ui {
namespace {

constexpr WORD kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082;

}  // namespace

DialogTemplate::DialogTemplate(const std::string& title, short width, short height)
{
    const DWORD style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    AppendWord(LOWORD(style));
    AppendWord(HIWORD(style));
    AppendWord(0);  // extended style
    AppendWord(0);
    countIndex_ = words_.size();
    AppendWord(0);  // item count, filled as items are added
    for (short v : {short(0), short(0), width, height})
        AppendWord(static_cast<WORD>(v));
    AppendWord(0);  // no menu
    AppendWord(0);  // default class
    AppendText(title);
    AppendWord(8);
    AppendText("MS Shell Dlg");
}

void DialogTemplate::AppendWord(WORD w)
{
    words_.push_back(w);
}

void DialogTemplate::AppendText(const std::string& text)
{
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    for (wchar_t c : wide)
        words_.push_back(static_cast<WORD>(c));  // includes the terminator
}

void DialogTemplate::Align()
{
    if (words_.size() % 2)
        words_.push_back(0);  // items start on a DWORD boundary
}

void DialogTemplate::AddItem(DWORD style, WORD classAtom, WORD id, const std::string& text, short x, short y,
                             short cx, short cy)
{
    Align();
    style |= WS_CHILD | WS_VISIBLE;
    AppendWord(LOWORD(style));
    AppendWord(HIWORD(style));
    AppendWord(0);
    AppendWord(0);
    for (short v : {x, y, cx, cy})
        AppendWord(static_cast<WORD>(v));
    AppendWord(id);
    AppendWord(0xFFFF);
    AppendWord(classAtom);
    AppendText(text);
    AppendWord(0);  // no creation data
    ++words_[countIndex_];
}

void DialogTemplate::AddButton(WORD id, const std::string& text, short x, short y, short cx, short cy, bool isDefault)
{
    AddItem((isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, kButtonAtom, id, text, x, y, cx, cy);
}

void DialogTemplate::AddCheckBox(WORD id, const std::string& text, short x, short y, short cx, short cy)
{
    AddItem(BS_AUTOCHECKBOX | WS_TABSTOP, kButtonAtom, id, text, x, y, cx, cy);
}

void DialogTemplate::AddStatic(WORD id, const std::string& text, short x, short y, short cx, short cy)
{
    AddItem(SS_LEFT, kStaticAtom, id, text, x, y, cx, cy);
}

void DialogTemplate::AddEdit(WORD id, short x, short y, short cx, short cy)
{
    AddItem(ES_AUTOHSCROLL | ES_LEFT | WS_BORDER | WS_TABSTOP, kEditAtom, id, "", x, y, cx, cy);
}

INT_PTR DialogTemplate::Run(HWND owner, DLGPROC procedure, LPARAM parameter) const
{
    std::vector<WORD> copy = words_;  // the system reads the template while the dialog starts
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(copy.data()), owner,
                                   procedure, parameter);
}

}  // namespace win32ui
