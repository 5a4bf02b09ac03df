#pragma once
// A colour swatch: a static control filled with one colour inside a dark frame.
#include <framework/Framework.h>

namespace lorvane {

class CColorStatic : public CStatic {
public:
    void SetColour(COLORREF colour);
    COLORREF Colour() const { return m_colour; }

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC) override { return TRUE; }

private:
    COLORREF m_colour = 0;
};

}  // namespace lorvane
