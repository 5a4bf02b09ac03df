#include "ParentFace.h"

#include "EQorDialog.h"
#include "framework/GdiObjects.h"

namespace skelda::controls {

HBITMAP TakeParentFace(HWND control)
{
    HWND parent = control ? ::GetParent(control) : nullptr;
    auto* dialog = parent ? dynamic_cast<EQorDialog*>(CWnd::FromHandlePermanent(parent)) : nullptr;
    if (!dialog)
        return nullptr;
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    // Compatible with the window's own context, whatever context it is painted into.
    HDC dc = ::GetDC(control);
    HBITMAP part = nullptr;
    if (!dialog->GetPartialBitmap(dc, rect, &part))
        part = nullptr;
    ::ReleaseDC(control, dc);
    return part;
}

void PaintParentFace(HWND control, HDC dc)
{
    RECT client{};
    ::GetClientRect(control, &client);
    CBitmap face(TakeParentFace(control));
    CDC memory;
    if (!face.GetSafeHandle() || !memory.CreateCompatibleDC(dc)) {
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_3DFACE));
        return;
    }
    CSelectObject selected(memory, face.GetSafeHandle());
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
}

}  // namespace skelda::controls
