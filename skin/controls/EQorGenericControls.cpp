// The generic kinds: what each does with the text file's colours, and the placement control's
// child.
#include "EQorGenericControls.h"

EQorComboBoxGeneric::EQorComboBoxGeneric() : EQorGenericControlImpl(this, eQorGenericComboBox) {}
EQorComboBoxGeneric::~EQorComboBoxGeneric() = default;

void EQorComboBoxGeneric::PreSubclassWindow()
{
    CComboBox::PreSubclassWindow();
    RegisterWithParent(::GetDlgCtrlID(m_hWnd));
}

void EQorComboBoxGeneric::SetBrushColor(COLORREF colour)
{
    CBrush brush;
    if (!brush.CreateSolidBrush(colour))
        return;
    m_brush = std::move(brush);
    m_brushColour = colour;
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void EQorComboBoxGeneric::ApplyTextColours()
{
    if (HasBackgroundColor())
        SetBrushColor(GetBackgroundColor());
    else if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

HBRUSH EQorComboBoxGeneric::Colour(HDC dc)
{
    if (HasMainTextColor())
        ::SetTextColor(dc, GetMainTextColor());
    if (!m_brush.GetSafeHandle())
        return nullptr;
    ::SetBkColor(dc, m_brushColour);
    return m_brush.GetSafeHandle();
}

HBRUSH EQorComboBoxGeneric::CtlColor(HDC dc, UINT ctlColor)
{
    // The face of the box itself, reflected from the parent; a disabled box keeps its grey.
    return ctlColor == CTLCOLOR_STATIC ? nullptr : Colour(dc);
}

LRESULT EQorComboBoxGeneric::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The box's own edit and drop-down list ask the box for their colours before it passes
    // the request on to the dialog.
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX)
        if (HBRUSH brush = Colour(reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
    return CComboBox::WindowProc(message, wParam, lParam);
}

EQorProgressBarGeneric::EQorProgressBarGeneric() : EQorGenericControlImpl(this, eQorGenericProgressBar) {}
EQorProgressBarGeneric::~EQorProgressBarGeneric() = default;

void EQorProgressBarGeneric::PreSubclassWindow()
{
    CProgressCtrl::PreSubclassWindow();
    RegisterWithParent(::GetDlgCtrlID(m_hWnd));
}

EQorSliderCtrlGeneric::EQorSliderCtrlGeneric() : EQorGenericControlImpl(this, eQorGenericSlider) {}
EQorSliderCtrlGeneric::~EQorSliderCtrlGeneric() = default;

void EQorSliderCtrlGeneric::PreSubclassWindow()
{
    CSliderCtrl::PreSubclassWindow();
    RegisterWithParent(::GetDlgCtrlID(m_hWnd));
}

EQorListControlGeneric::EQorListControlGeneric() : EQorGenericControlImpl(this, eQorGenericListControl) {}
EQorListControlGeneric::~EQorListControlGeneric() = default;

void EQorListControlGeneric::PreSubclassWindow()
{
    CListCtrl::PreSubclassWindow();
    RegisterWithParent(::GetDlgCtrlID(m_hWnd));
}

void EQorListControlGeneric::ApplyTextColours()
{
    if (!m_hWnd)
        return;
    if (HasMainTextColor())
        SetTextColor(GetMainTextColor());
    if (HasBackgroundColor()) {
        SetBkColor(GetBackgroundColor());
        SetTextBkColor(GetBackgroundColor());
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

EQorSpinButton::EQorSpinButton() : EQorGenericControlImpl(this, eQorGenericSpinControl) {}
EQorSpinButton::~EQorSpinButton() = default;

void EQorSpinButton::PreSubclassWindow()
{
    CSpinButtonCtrl::PreSubclassWindow();
    RegisterWithParent(::GetDlgCtrlID(m_hWnd));
}

EQorGenericAdjusterControl::EQorGenericAdjusterControl() : EQorGenericControlImpl(this, eQorGenericPlacementControl) {}
EQorGenericAdjusterControl::~EQorGenericAdjusterControl() = default;

void EQorGenericAdjusterControl::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    RegisterWithParent(::GetDlgCtrlID(m_hWnd));
}

bool EQorGenericAdjusterControl::NonDDXInit(int controlId, CWnd* parent)
{
    if (m_hWnd)
        return GetDlgCtrlID() == controlId;
    return parent && parent->GetSafeHwnd() && SubclassDlgItem(static_cast<UINT>(controlId), parent);
}

void EQorGenericAdjusterControl::Placed()
{
    // The skin's "NONE" leaves a child the client has chosen in place.
    if (m_childControlId > 0)
        SetChildControlId(m_childControlId);
    else
        AdjustChildControl();
}

void EQorGenericAdjusterControl::SetChildControlId(int controlId)
{
    m_childControlId = controlId > 0 ? controlId : 0;
    m_child = nullptr;
    if (m_childControlId && m_hWnd)
        m_child = ::GetDlgItem(::GetParent(m_hWnd), m_childControlId);
    AdjustChildControl();
}

void EQorGenericAdjusterControl::SetChildControl(HWND child)
{
    // Only a sibling can be placed in this control's coordinates.
    if (!child || !m_hWnd || !::IsWindow(child) || ::GetParent(child) != ::GetParent(m_hWnd) || child == m_hWnd) {
        m_child = nullptr;
        m_childControlId = 0;
        return;
    }
    m_child = child;
    m_childControlId = ::GetDlgCtrlID(child);
    AdjustChildControl();
}

bool EQorGenericAdjusterControl::GetChildControlInfo(int* controlId, HWND* child) const
{
    const bool present = m_child && ::IsWindow(m_child);
    if (controlId)
        *controlId = present ? m_childControlId : 0;
    if (child)
        *child = present ? m_child : nullptr;
    return present;
}

bool EQorGenericAdjusterControl::AdjustChildControl()
{
    RECT rect{};
    if (!m_child || !::IsWindow(m_child) || GetQorRect(&rect) != 0)
        return false;
    return ::SetWindowPos(m_child, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                          SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

void EQorGenericAdjusterControl::EnableForChanging(bool enable)
{
    if (!m_hWnd)
        return;
    ::ShowWindow(m_hWnd, enable ? SW_SHOWNA : SW_HIDE);
    ::EnableWindow(m_hWnd, enable);
}
