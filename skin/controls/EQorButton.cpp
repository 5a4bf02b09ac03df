// Skinned button: its control interface, registration with the dialog, state and identity, and
// positioning.
#include "EQorButton.h"

#include "ButtonLogic.h"
#include "EBitmapUtilities.h"
#include "EQorDialog.h"

using skelda::controls::ButtonLogic;

EQorButton::EQorButton() : EQorButton(kPlain) {}

EQorButton::EQorButton(Kind kind) : EQorControlCommon(this, eQorButton), m_kind(kind), m_logic(new ButtonLogic) {}

EQorButton::~EQorButton()
{
    delete m_logic;
}

LONG STDMETHODCALLTYPE EQorButton::WriteGraphicsEditChangesToXMLObject()
{
    // Message box buttons and menu entries share one element that their dialogs own.
    if (ElementId() != m_controlId)
        return 0;
    // The place is that of the current position group; the other groups keep theirs.
    const std::string group = m_positionGroup > 1 ? std::to_string(m_positionGroup) : std::string();
    const std::string xName = "ControlXOffset" + group, yName = "ControlYOffset" + group;
    win::ComPtr<IXMLDOMNode> element;
    return WritePlacement({}, &element, xName.c_str(), yName.c_str()) ? 0 : E_FAIL;
}

bool EQorButton::MoveForEditing(int dx, int dy)
{
    if (!m_hWnd)
        return false;
    SetXY(GetCurrentXOffset() + dx, GetCurrentYOffset() + dy);
    m_x = m_data.x[0];
    m_y = m_data.y[0];
    return true;
}

LONG STDMETHODCALLTYPE EQorButton::LoadQorControlData(IXMLDOMNode* dialogElement)
{
    return LoadControlData(dialogElement) ? 0 : E_FAIL;
}

LONG STDMETHODCALLTYPE EQorButton::GetQor_X_Y(int* x, int* y)
{
    if (!x || !y)
        return E_POINTER;
    GetXY(x, y);
    return 0;
}

LONG STDMETHODCALLTYPE EQorButton::AddNewQorControl(IXMLDOMNode* dialogElement, int controlId)
{
    // A button's size is that of its bitmaps.
    return AppendOwnElement(dialogElement, "QorBtnControl", controlId, {}) ? 0 : E_FAIL;
}

void EQorButton::SetIsToggleButton(bool toggle)
{
    m_logic->toggle = toggle;
}

void EQorButton::SetHighlightOnMouseOver(bool highlight)
{
    m_logic->highlightOnMouseOver = highlight;
}

void EQorButton::SetUncaptureIfOutOfRegion(bool uncapture)
{
    m_logic->uncaptureIfOutOfRegion = uncapture;
}

void EQorButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    m_windowShaped = false;  // a new window has no region yet
    WindowCreated();
    RegisterWithParent(::GetDlgCtrlID(m_hWnd));
}

void EQorButton::WindowCreated()
{
    m_logic->SetStyle(static_cast<unsigned>(::GetWindowLongA(m_hWnd, GWL_STYLE)) & 0x0F);
}

bool EQorButton::SetState(int state)
{
    if (m_logic->SetState(state) && m_hWnd && ::IsWindowVisible(m_hWnd))
        Repaint();
    return true;
}

int EQorButton::GetCurrentState() const
{
    return m_logic->State();
}

bool EQorButton::SetIdentity(int identity)
{
    if (!m_logic->SetIdentity(identity))
        return false;
    m_caption = m_captions[identity];
    if (m_hWnd) {
        if (EQorDialog* dialog = ParentDialog())
            dialog->SetToolTipText(m_controlId, m_hWnd, m_tooltips[identity]);
        Repaint();
    }
    return true;
}

int EQorButton::CurrIdentity() const
{
    return m_logic->Identity();
}

void EQorButton::SetChecked(bool checked)
{
    if (!m_logic->SetChecked(checked) || !m_hWnd)
        return;
    Repaint();
}

bool EQorButton::GetChecked() const
{
    return m_logic->Checked();
}

void EQorButton::SetCaption(const std::string& caption)
{
    m_captions[m_logic->Identity()] = caption;
    m_caption = caption;
    Repaint();
}

HBITMAP EQorButton::StateBitmap(int index) const
{
    if (index < 0 || index >= 16)
        return nullptr;
    if (!m_bitmapTried[index] && !m_bitmaps[index].GetSafeHandle() && !m_data.bitmapFiles[index].empty()) {
        HBITMAP bitmap = nullptr;
        if (EBitmapUtilities::LoadDibSectionFromFile(m_data.bitmapFiles[index], &bitmap))
            m_bitmaps[index].Attach(bitmap);
    }
    m_bitmapTried[index] = true;
    return m_bitmaps[index].GetSafeHandle();
}

int EQorButton::ElementId() const
{
    return (m_kind == kMsgBoxButton || m_kind == kMenuRadio) ? kSharedControlEntryId : m_controlId;
}

bool EQorButton::UseAlternateXYPosition(int group)
{
    if (group < 1 || group > 4)
        return false;
    m_positionGroup = group;
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, m_data.x[group - 1], m_data.y[group - 1], 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void EQorButton::MoveWindowOnePixel(UINT direction)
{
    int x = GetCurrentXOffset(), y = GetCurrentYOffset();
    switch (direction) {
    case VK_LEFT: --x; break;
    case VK_RIGHT: ++x; break;
    case VK_UP: --y; break;
    case VK_DOWN: ++y; break;
    default: return;
    }
    SetXY(x, y);
}

void EQorButton::SetWindowRect(const RECT& rect)
{
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void EQorButton::GetXY(int* x, int* y) const
{
    *x = m_data.x[m_positionGroup - 1];
    *y = m_data.y[m_positionGroup - 1];
}

void EQorButton::SetXY(int x, int y)
{
    m_data.x[m_positionGroup - 1] = x;
    m_data.y[m_positionGroup - 1] = y;
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int EQorButton::GetCurrentXOffset() const
{
    return m_data.x[m_positionGroup - 1];
}

void EQorButton::SetCurrentXOffset(int x)
{
    SetXY(x, GetCurrentYOffset());
}

int EQorButton::GetCurrentYOffset() const
{
    return m_data.y[m_positionGroup - 1];
}

void EQorButton::SetCurrentYOffset(int y)
{
    SetXY(GetCurrentXOffset(), y);
}
