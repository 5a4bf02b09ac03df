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
}

}  // namespace skelda
