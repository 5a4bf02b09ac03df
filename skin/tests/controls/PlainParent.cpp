// A plain top-level window for the control window tests.
#include "PlainParent.h"

#include <commctrl.h>

namespace controltest {

bool CreatePlainParent(CWnd& parent, const char* className, const char* title, const RECT& place)
{
    INITCOMMONCONTROLSEX init{};
    init.dwSize = sizeof(init);
    init.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&init);
    WNDCLASSEXA info{};
    info.cbSize = sizeof(info);
    info.lpfnWndProc = DefWindowProcA;
    info.hInstance = GetModuleHandleA(nullptr);
    info.lpszClassName = className;
    // Registered again by every test; the class already existing is no failure.
    RegisterClassExA(&info);
    return parent.CreateEx(0, className, title, WS_POPUP | WS_VISIBLE, place, nullptr, 0);
}

}  // namespace controltest
