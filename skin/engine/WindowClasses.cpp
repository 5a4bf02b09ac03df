// Registration of the skinned controls' window classes.
#include "WindowClasses.h"

#include <framework/Framework.h>

namespace skelda {

bool RegisterFrameworkWindowClasses(HINSTANCE instance)
{
    const UINT added = CS_CLASSDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    const bool button = AfxRegisterClassCopy("BUTTON", "QORBUTTON", instance, CS_PARENTDC, added);
    const bool label = AfxRegisterClassCopy("STATIC", "QORSTATIC", instance, CS_PARENTDC | CS_DROPSHADOW, added);
    return button && label;
}

void UnregisterFrameworkWindowClasses(HINSTANCE instance)
{
    UnregisterClassA("QORBUTTON", instance);
    UnregisterClassA("QORSTATIC", instance);
    UnregisterClassA("QORSLIDER", instance);
}

bool RegisterSliderWindowClass(HWND slider)
{
    char className[64] = {};
    if (!slider || !GetClassNameA(slider, className, sizeof(className)))
        return false;
    return RegisterSliderWindowClass(className);
}

bool RegisterSliderWindowClass(const char* sliderClass)
{
    HMODULE self = nullptr;
    if (!sliderClass ||
        !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&RegisterFrameworkWindowClasses), &self))
        return false;
    // A window of the copy itself names the copy; registering it again would change nothing.
    if (lstrcmpiA(sliderClass, "QORSLIDER") == 0)
        return true;
    return AfxRegisterClassCopy(sliderClass, "QORSLIDER", self, CS_GLOBALCLASS | CS_PARENTDC, CS_CLASSDC) != FALSE;
}

}  // namespace skelda
