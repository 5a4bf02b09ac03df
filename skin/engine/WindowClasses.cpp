// Registration of the skinned controls' window classes, as the framework's class copies so
// that the framework creates them by name from any module.
#include "WindowClasses.h"

#include "framework/Wnd.h"

namespace skelda {

namespace {

constexpr UINT kAddedStyles = CS_CLASSDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;

}  // namespace

bool RegisterFrameworkWindowClasses(HINSTANCE instance)
{
    const bool button = AfxRegisterClassCopy("BUTTON", "QORBUTTON", instance, CS_PARENTDC, kAddedStyles) != FALSE;
    const bool label =
        AfxRegisterClassCopy("STATIC", "QORSTATIC", instance, CS_PARENTDC | CS_DROPSHADOW, kAddedStyles) != FALSE;
    return button && label;
}

void UnregisterFrameworkWindowClasses(HINSTANCE instance)
{
    UnregisterClassA("QORBUTTON", instance);
    UnregisterClassA("QORSTATIC", instance);
}

}  // namespace skelda
