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
    return Measure(height, [](const RECT& rect) { return static_cast<int>(rect.bottom - rect.top); });
}

LONG STDMETHODCALLTYPE EQorControlPlacement::GetQor_Width(int* width)
{
    return Measure(width, [](const RECT& rect) { return static_cast<int>(rect.right - rect.left); });
}

template <class Dimension>
LONG EQorControlPlacement::Measure(int* out, Dimension dimension)
{
    RECT rect{};
    if (!out)
        return E_POINTER;
    const LONG result = GetQorRect(&rect);
    *out = dimension(rect);
    return result;
}

LONG STDMETHODCALLTYPE EQorControlPlacement::GetQor_CtrlIsVisible(BOOL* visible)
{
    if (!visible)
        return E_POINTER;
    *visible = m_visible;
    return 0;
}
