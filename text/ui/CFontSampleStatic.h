#pragma once
// A font sample: "Sample Text" drawn in a font, centred on a white face.
#include <framework/Framework.h>

namespace lorvane {

class CFontSampleStatic : public CStatic {
public:
    // Draws the sample in `font` from now on; false (and the previous font kept) when the
    // system makes no font of it.
    bool SetSampleFont(const LOGFONTA& font);

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC) override { return TRUE; }

private:
    CFont m_font;
};

}  // namespace lorvane
