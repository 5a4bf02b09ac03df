// The modules the framework searches for dialog templates and window classes.
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <win/Lock.h>

#include "WndInternal.h"
#include "framework/Dialog.h"

namespace {

win::CritSec& ModulesLock()
{
    static win::CritSec lock;
    return lock;
}

std::vector<HINSTANCE>& Modules()
{
    static std::vector<HINSTANCE> modules;
    return modules;
}

// Classes registered through AfxRegisterClassCopy, by name, with their module.
std::vector<std::pair<std::string, HINSTANCE>>& ClassCopies()
{
    static std::vector<std::pair<std::string, HINSTANCE>> classes;
    return classes;
}

bool SameClassName(const std::string& a, const char* b)
{
    return lstrcmpiA(a.c_str(), b) == 0;
}

std::vector<HINSTANCE> SearchOrder(HINSTANCE preferred)
{
    std::vector<HINSTANCE> order;
    if (preferred)
        order.push_back(preferred);
    order.push_back(::GetModuleHandleA(nullptr));
    win::AutoLock guard(ModulesLock());
    for (HINSTANCE module : Modules())
        if (std::find(order.begin(), order.end(), module) == order.end())
            order.push_back(module);
    return order;
}

}  // namespace

void AfxAddResourceModule(HINSTANCE hModule)
{
    if (!hModule)
        return;
    win::AutoLock guard(ModulesLock());
    auto& modules = Modules();
    if (std::find(modules.begin(), modules.end(), hModule) == modules.end())
        modules.push_back(hModule);
}

void AfxRemoveResourceModule(HINSTANCE hModule)
{
    win::AutoLock guard(ModulesLock());
    auto& modules = Modules();
    modules.erase(std::remove(modules.begin(), modules.end(), hModule), modules.end());
}

BOOL AfxRegisterClassCopy(LPCSTR baseClass, LPCSTR newClass, HINSTANCE module, UINT removeStyles,
                          UINT addStyles)
{
    if (!baseClass || !newClass || !*newClass || !module)
        return FALSE;
    win::AutoLock guard(ModulesLock());
    for (const auto& [name, owner] : ClassCopies())
        if (SameClassName(name, newClass))
            return owner == module;
    WNDCLASSEXA info{};
    info.cbSize = sizeof(info);
    if (!::GetClassInfoExA(nullptr, baseClass, &info) && !::GetClassInfoExA(module, baseClass, &info))
        return FALSE;
    info.style = (info.style & ~removeStyles) | addStyles;
    info.style &= ~CS_GLOBALCLASS;  // a copy belongs to its module
    info.hInstance = module;
    info.lpszClassName = newClass;
    if (!::RegisterClassExA(&info) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return FALSE;
    ClassCopies().emplace_back(newClass, module);
    return TRUE;
}

namespace framework::detail {

LPCDLGTEMPLATEA FindDialogTemplate(LPCSTR name, HINSTANCE preferred, HINSTANCE* found)
{
    if (!name)
        return nullptr;
    for (HINSTANCE module : SearchOrder(preferred)) {
        HRSRC resource = ::FindResourceA(module, name, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
        if (!resource)
            continue;
        HGLOBAL loaded = ::LoadResource(module, resource);
        auto* dialogTemplate = loaded ? static_cast<LPCDLGTEMPLATEA>(::LockResource(loaded)) : nullptr;
        if (dialogTemplate) {
            *found = module;
            return dialogTemplate;
        }
    }
    return nullptr;
}

HINSTANCE FindClassModule(LPCSTR className)
{
    if (!className || IS_INTRESOURCE(className))
        return nullptr;
    {
        win::AutoLock guard(ModulesLock());
        for (const auto& [name, owner] : ClassCopies())
            if (SameClassName(name, className))
                return owner;
    }
    WNDCLASSEXA info{};
    info.cbSize = sizeof(info);
    for (HINSTANCE module : SearchOrder(nullptr))
        if (::GetClassInfoExA(module, className, &info))
            return module;
    return nullptr;
}

}  // namespace framework::detail
