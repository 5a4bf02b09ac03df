#pragma once
// The status display (control 1046): the information line drawn in its own colour over the
// skin's face, and the clocks it keeps (elapsed time and the stop-after countdown).
#include <framework/Framework.h>

#include <string>

#include "StatusText.h"

class EQorDialog;

namespace shell {

class StatusDisplay : public CStatic {
public:
    // The dialog whose face shows through behind the text.
    void SetFace(EQorDialog* face) { m_face = face; }
    void SetTextColour(COLORREF colour);
    COLORREF TextColour() const { return m_colour; }
    // The controls that show the elapsed clock and the countdown clock.
    void SetClockTargets(HWND elapsed, HWND countdown);

    void ClearTime();
    // Shows the elapsed and countdown fields in their clocks.
    void ShowTime();
    void ShowInformation(const std::string& line);

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC dc) override;

private:
    EQorDialog* m_face = nullptr;
    COLORREF m_colour = RGB(0, 0, 0);
    HWND m_elapsedClock = nullptr;
    HWND m_countdownClock = nullptr;
    ClockTime m_elapsed;
    ClockTime m_countdown;
};

}  // namespace shell
