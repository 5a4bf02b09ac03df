#pragma once
// The status display (control 1046): the information line drawn in green over the skin's
// face, and the clocks beside it (elapsed time, stop-after countdown and the recording-time
// label). What to show and when comes from StatusModel; this class only writes and paints.
#include <framework/Framework.h>

#include <optional>
#include <string>

#include "StatusModel.h"

class EQorDialog;

namespace shell {

class StatusDisplay : public CStatic {
public:
    static constexpr COLORREF kGreen = RGB(0x00, 0xFF, 0x00);

    // The dialog whose face shows through behind the text.
    void SetFace(EQorDialog* face) { m_face = face; }
    void SetTextColour(COLORREF colour);
    COLORREF TextColour() const { return m_colour; }
    // The controls that show the elapsed clock and the countdown clock.
    void SetClockTargets(HWND elapsed, HWND countdown);
    // The recording-time label of the recording information area.
    void SetLabelTarget(HWND label) { m_label = label; }
    // The settings, version and playback caption the information line is built from.
    void SetInformationContext(const InformationContext& context) { m_context = context; }
    // The recording's time left on the information line; redrawn when it changes.
    void SetTimeLeft(const std::string& text);

    StatusModel& Model() { return m_model; }
    const StatusModel& Model() const { return m_model; }

    void ClearTime();
    // Writes the elapsed and countdown clocks and the recording-time label.
    void ShowTime();
    // An engine time on a tick: redraws when the shown tenth changed and returns the
    // position slider's new value (hundredths of a second) in that case.
    std::optional<unsigned> ShowEngineTime(std::int64_t time100ns, bool recording);
    // Clocks, label and, when the state or standard changed, the information line.
    void Redraw(bool recording);
    void ShowInformation(const std::string& line);

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC dc) override;

private:
    void WriteTexts(const StatusFrame& frame);

    EQorDialog* m_face = nullptr;
    COLORREF m_colour = kGreen;
    HWND m_elapsedClock = nullptr;
    HWND m_countdownClock = nullptr;
    HWND m_label = nullptr;
    InformationContext m_context;
    StatusModel m_model;
    bool m_recording = false;
};

}  // namespace shell
