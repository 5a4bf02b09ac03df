// The placement half of the control interface, shared by the skinned control classes.
#include "EQorControlPlacement.h"

#include "framework/Wnd.h"

LONG STDMETHODCALLTYPE EQorControlPlacement::GetQorRect(RECT* rect)
{
    if (!rect)
        return E_POINTER;
    CWnd* window = nullptr;
    const HWND handle = GetCWndPtr(&window) == 0 && window ? window->GetSafeHwnd() : nullptr;
    if (!handle)
        return E_FAIL;
    ::GetWindowRect(handle, rect);
    if (HWND parent = ::GetParent(handle))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(rect), 2);
    return 0;
}

LONG STDMETHODCALLTYPE EQorControlPlacement::GetQor_X_Y(int* x, int* y)
{
    if (!x || !y)
        return E_POINTER;
    *x = m_x;
    *y = m_y;
    return 0;
}

LONG STDMETHODCALLTYPE EQorControlPlacement::GetQor_Height(int* height)
{
    RECT rect{};
    if (!height)
        return E_POINTER;
    const LONG result = GetQorRect(&rect);
    *height = rect.bottom - rect.top;
    return result;
}

LONG STDMETHODCALLTYPE EQorControlPlacement::GetQor_Width(int* width)
{
    RECT rect{};
    if (!width)
        return E_POINTER;
    const LONG result = GetQorRect(&rect);
    *width = rect.right - rect.left;
    return result;
}

LONG STDMETHODCALLTYPE EQorControlPlacement::GetQor_CtrlIsVisible(BOOL* visible)
{
    if (!visible)
        return E_POINTER;
    *visible = m_visible;
    return 0;
}
