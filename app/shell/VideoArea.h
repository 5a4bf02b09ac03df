#pragma once
// The video area (control 1000): shows the idle picture while nothing is shown there, and
// black while a preview or a media file owns it.
#include <framework/Framework.h>

namespace shell {

class VideoArea : public CStatic {
public:
    // The picture is the main window's; the area only draws it.
    void SetIdlePicture(HBITMAP picture) { m_picture = picture; }
    void ShowIdlePicture(bool show);
    bool ShowsIdlePicture() const { return m_showIdle; }

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC dc) override;

private:
    HBITMAP m_picture = nullptr;
    bool m_showIdle = true;
};

}  // namespace shell
