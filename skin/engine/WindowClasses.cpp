// Registration of the skinned controls' window classes.
#include "WindowClasses.h"

namespace skelda {
namespace {

bool RegisterCopy(HINSTANCE instance, const char* systemClass, const char* name, UINT removeStyles)
{
    WNDCLASSEXA info{};
    info.cbSize = sizeof(info);
    if (!GetClassInfoExA(nullptr, systemClass, &info))
        return false;
    info.hInstance = instance;
    info.lpszClassName = name;
    info.style = (info.style & ~removeStyles) | CS_CLASSDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    return RegisterClassExA(&info) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool RegisterFrameworkWindowClasses(HINSTANCE instance)
{
    const bool button = RegisterCopy(instance, "BUTTON", "QORBUTTON", CS_PARENTDC);
    const bool label = RegisterCopy(instance, "STATIC", "QORSTATIC", CS_PARENTDC | CS_DROPSHADOW);
    return button && label;
}

void UnregisterFrameworkWindowClasses(HINSTANCE instance)
{
    UnregisterClassA("QORBUTTON", instance);
    UnregisterClassA("QORSTATIC", instance);
}

}  // namespace skelda
