#pragma once
// The behaviour of a skinned button without a window: its state (0 up, 1 down, 2 focus,
// 3 disabled), identity (0 to 3), check flag and what a press, a move, a release or a lost
// capture does to them. The window side carries out the returned actions.
namespace skelda::controls {

enum ButtonStateCode : int { kStateUp = 0, kStateDown = 1, kStateFocus = 2, kStateDisabled = 3 };

// Notification codes a button posts to its parent in WM_COMMAND's high word.
enum ButtonNotifyCode : int { kNotifyClicked = 0, kNotifyToggledOn = 2, kNotifyToggledOff = 3 };

struct ButtonAction {
    bool takeFocus = false;
    bool capture = false;
    bool releaseCapture = false;
    bool post = false;  // post WM_COMMAND with `code`
    int code = kNotifyClicked;
    bool checkChanged = false;  // the window's check mark must follow `checked`
};

class ButtonLogic {
public:
    // Button styles 3 (check box) and 9 (auto radio button) make the button a check box or
    // radio button; other styles a push button.
    void SetStyle(unsigned style);
    bool IsCheckBox() const { return m_checkBox; }
    bool IsRadio() const { return m_radio; }

    bool toggle = false;
    bool highlightOnMouseOver = false;
    bool uncaptureIfOutOfRegion = false;

    int State() const { return m_state; }
    int Identity() const { return m_identity; }
    bool Checked() const { return m_checked; }
    bool Captured() const { return m_captured; }
    bool Hovering() const { return m_hovering; }
    // The bitmap slot for the current look: check boxes and radio buttons by their check and
    // enabled state, other buttons by state + 4 x identity.
    int BitmapIndex(bool enabled) const;

    // True when the state changed (the caller repaints).
    bool SetState(int state);
    // False (and no change) outside 0..3.
    bool SetIdentity(int identity);
    // True when the look changed: check boxes and radio buttons follow the check with their
    // state; for other buttons (a toggle button's "on") only the flag is stored.
    bool SetChecked(bool checked);

    ButtonAction Press(bool enabled);
    // Mouse moves while the button holds the capture.
    void MoveCaptured(bool inside);
    // Mouse moves without capture: true when leave tracking should start.
    bool MoveHover(bool inside, bool enabled);
    void MouseLeave();
    ButtonAction Release(bool inside);
    // Capture taken away (cancel mode, focus lost): the press is abandoned.
    void CaptureLost();

private:
    int m_state = kStateUp;
    int m_identity = 0;
    bool m_checked = false;
    bool m_checkBox = false, m_radio = false;
    bool m_captured = false, m_hovering = false;
    bool m_pressingToggle = false, m_releasingToggle = false;
    int m_savedState = kStateUp;
};

}  // namespace skelda::controls
