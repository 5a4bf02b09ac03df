#include "ButtonLogic.h"

namespace skelda::controls {

namespace {
constexpr unsigned kCheckBoxStyle = 3;  // BS_AUTOCHECKBOX
constexpr unsigned kRadioStyle = 9;     // BS_AUTORADIOBUTTON
}  // namespace

void ButtonLogic::SetStyle(unsigned style)
{
    m_checkBox = (style & 0x0F) == kCheckBoxStyle;
    m_radio = (style & 0x0F) == kRadioStyle;
}

int ButtonLogic::BitmapIndex(bool enabled) const
{
    int state = m_state;
    // A disabled check box or radio button still tells which choice holds: a checked one keeps
    // its checked picture (its caption takes the disabled colours).
    if (m_checkBox || m_radio)
        state = m_checked ? kStateDown : (enabled ? kStateUp : kStateDisabled);
    return state + 4 * m_identity;
}

bool ButtonLogic::SetState(int state)
{
    if (state == m_state)
        return false;
    m_state = state;
    return true;
}

bool ButtonLogic::SetIdentity(int identity)
{
    if (identity < 0 || identity > 3)
        return false;
    m_identity = identity;
    return true;
}

bool ButtonLogic::SetChecked(bool checked)
{
    m_checked = checked;
    if (!m_checkBox && !m_radio)
        return false;
    m_state = checked ? kStateDown : kStateUp;
    return true;
}

ButtonAction ButtonLogic::Press(bool enabled)
{
    ButtonAction action;
    if (!enabled)
        return action;
    action.takeFocus = !m_radio;
    action.capture = true;
    m_captured = true;
    m_hovering = false;
    m_savedState = m_state;
    m_pressingToggle = m_releasingToggle = false;
    if (toggle) {
        if (m_checked) {
            m_state = (m_checkBox || m_radio) ? kStateUp : kStateFocus;
            m_releasingToggle = true;
        } else {
            m_state = kStateDown;
            m_pressingToggle = true;
        }
    } else if (m_checkBox || m_radio) {
        m_state = m_checked ? kStateUp : kStateDown;
        if (m_radio) {
            // A radio button acts on the press: it is checked and notifies at once.
            m_captured = false;
            m_checked = true;
            m_state = kStateDown;
            action.capture = false;
            action.post = true;
            action.code = kNotifyClicked;
            action.checkChanged = true;
        }
    } else {
        m_state = kStateDown;
    }
    return action;
}

void ButtonLogic::MoveCaptured(bool inside)
{
    if (!m_captured || m_checkBox || m_radio)
        return;
    if (inside)
        m_state = kStateDown;
    else
        m_state = toggle ? m_savedState : kStateFocus;
}

bool ButtonLogic::MoveHover(bool inside, bool enabled)
{
    if (m_captured || !highlightOnMouseOver || !enabled || !inside || m_hovering)
        return false;
    // Only a button showing its plain up look lights up; a toggled-on or checked button keeps
    // the look that tells its state.
    if (m_state != kStateUp)
        return false;
    m_hovering = true;
    m_state = kStateFocus;
    return true;
}

void ButtonLogic::MouseLeave()
{
    if (!m_hovering)
        return;
    m_hovering = false;
    if (!m_captured && m_state == kStateFocus)
        m_state = kStateUp;
}

ButtonAction ButtonLogic::Release(bool inside)
{
    ButtonAction action;
    if (!m_captured)
        return action;
    m_captured = false;
    action.releaseCapture = true;
    const bool pressing = m_pressingToggle, releasing = m_releasingToggle;
    m_pressingToggle = m_releasingToggle = false;
    if (uncaptureIfOutOfRegion && !inside) {
        m_state = m_savedState;
        return action;
    }
    if (pressing) {
        m_state = kStateDown;
        m_checked = true;
        action.post = true;
        action.code = kNotifyToggledOn;
    } else if (releasing) {
        m_state = (m_checkBox || m_radio) ? kStateUp : kStateFocus;
        m_checked = false;
        action.post = true;
        action.code = kNotifyToggledOff;
    } else if (m_checkBox) {
        if (inside) {
            m_checked = !m_checked;
            action.post = true;
            action.checkChanged = true;
        }
        m_state = m_checked ? kStateDown : kStateUp;
    } else {
        m_state = kStateUp;
        action.post = true;
        action.code = kNotifyClicked;
    }
    return action;
}

void ButtonLogic::CaptureLost()
{
    if (!m_captured)
        return;
    m_captured = false;
    m_pressingToggle = m_releasingToggle = false;
    m_state = m_savedState;
}

}  // namespace skelda::controls
