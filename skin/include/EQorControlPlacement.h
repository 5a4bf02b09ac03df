#pragma once
// Where a skinned control sits in its dialog and whether the skin shows it: the placement half
// of the control interface, the same for every skinned control. It finds the control's window
// through the interface's own GetCWndPtr, so it adds no operation to the interface.
#include <windows.h>

#include "IQorControlCommon.h"
#include "SkeldaExport.h"

class SKELDA_API EQorControlPlacement : public IQorControlCommon {
public:
    // The window's rectangle in its parent's client area; E_FAIL before the window exists.
    LONG STDMETHODCALLTYPE GetQorRect(RECT* rect) override;
    // The offsets the skin gave (or the control last wrote).
    LONG STDMETHODCALLTYPE GetQor_X_Y(int* x, int* y) override;
    LONG STDMETHODCALLTYPE GetQor_Height(int* height) override;
    LONG STDMETHODCALLTYPE GetQor_Width(int* width) override;
    // "ControlIsVisible" as last loaded; visible until then.
    LONG STDMETHODCALLTYPE GetQor_CtrlIsVisible(BOOL* visible) override;

protected:
    EQorControlPlacement() = default;
    ~EQorControlPlacement() = default;

    int m_x = 0, m_y = 0;
    bool m_visible = true;

private:
    // One dimension of the rectangle (0 without a window, with GetQorRect's failure).
    template <class Dimension>
    LONG Measure(int* out, Dimension dimension);
};
