// A numeric edit coupled to a slider: the slider's scrolling writes the edit, typed characters
// are checked against the parse type, and out-of-range values are settled on focus loss.
#include "EQorEdit.h"
#include "LinkEditLogic.h"

using skelda::controls::LinkEditLogic;
using FocusLossAction = LinkEditLogic::FocusLossAction;

namespace {

// Posted to the edit to take the focus back after an out-of-range value was refused.
constexpr UINT kTakeFocusBack = WM_USER + 200;
constexpr int kCancelId = 2;

}  // namespace

EQorLinkEdit::EQorLinkEdit() : m_logic(new LinkEditLogic) {}

EQorLinkEdit::~EQorLinkEdit()
{
    delete m_logic;
}

void EQorLinkEdit::ApplyRangeToSlider()
{
    EQorLinkSlider* slider = GetLinkSlider(m_sliderParent, m_sliderId);
    if (!slider || !slider->GetSafeHwnd())
        return;
    slider->SetRange(m_logic->SliderMin(), m_logic->SliderMax(), TRUE);
    slider->SetTicFreq(m_logic->TickFrequency());
}

void EQorLinkEdit::SetParams(int minimum, int maximum, int step)
{
    m_logic->SetParams(minimum, maximum, step);
    ApplyRangeToSlider();
}

void EQorLinkEdit::SetParams(double minimum, double maximum, int step, const std::string& format)
{
    m_logic->SetParams(minimum, maximum, step, format);
    ApplyRangeToSlider();
}

void EQorLinkEdit::SetResolution(int resolution)
{
    m_logic->SetResolution(resolution);
    if (m_logic->Floating())
        ApplyRangeToSlider();
}

void EQorLinkEdit::SetSlideLink(HWND parent, int sliderId)
{
    m_sliderParent = parent;
    m_sliderId = sliderId;
    if (EQorLinkSlider* slider = GetLinkSlider(parent, sliderId))
        slider->SetEditLink(this);
    ApplyRangeToSlider();
}

void EQorLinkEdit::SetFormatString(const std::string& format)
{
    m_logic->SetFormatString(format);
}

void EQorLinkEdit::SetParseType(unsigned type)
{
    m_logic->SetParseType(type);
}

bool EQorLinkEdit::SetValue(int value)
{
    std::string text;
    if (!m_logic->TextForValue(value, &text))
        return false;
    if (m_hWnd)
        ::SetWindowTextA(m_hWnd, text.c_str());
    return true;
}

bool EQorLinkEdit::SetValue(double value)
{
    std::string text;
    if (!m_logic->TextForValue(value, &text))
        return false;
    if (m_hWnd)
        ::SetWindowTextA(m_hWnd, text.c_str());
    return true;
}

int EQorLinkEdit::GetValue() const
{
    char text[64] = {};
    if (m_hWnd)
        ::GetWindowTextA(m_hWnd, text, sizeof(text));
    return m_logic->ValueOf(text);
}

void EQorLinkEdit::UpdateEdit(int position)
{
    std::string text;
    if (!m_logic->TextForPosition(position, &text) || !m_hWnd)
        return;
    ::SetWindowTextA(m_hWnd, text.c_str());
    if (GetBackgroundStyle() == 2)
        InvalidateUnderneath(5);
}

bool EQorLinkEdit::SubclassEdit(int id, CWnd* parent, unsigned parseType)
{
    if (!parent || !SubclassDlgItem(static_cast<UINT>(id), parent))
        return false;
    m_logic->SetParseType(parseType);
    return true;
}

void EQorLinkEdit::OnBadInput()
{
    ::MessageBeep(MB_OK);
}

void EQorLinkEdit::FocusLost(HWND newFocus)
{
    char buffer[64] = {};
    ::GetWindowTextA(m_hWnd, buffer, sizeof(buffer));
    EQorLinkSlider* slider = GetLinkSlider(m_sliderParent, m_sliderId);
    const HWND sliderWindow = slider ? slider->GetSafeHwnd() : nullptr;
    const bool toSlider = newFocus && newFocus == sliderWindow;
    const bool toCancel = newFocus && ::GetDlgCtrlID(newFocus) == kCancelId;
    const LinkEditLogic::FocusLoss loss = m_logic->OnFocusLoss(buffer, toSlider, toCancel);
    switch (loss.action) {
    case FocusLossAction::kReplace:
        ::SetWindowTextA(m_hWnd, loss.text.c_str());
        break;
    case FocusLossAction::kRefreshFromSlider: {
        std::string text;
        if (m_logic->TextForPosition(slider->GetPos(), &text, true))
            ::SetWindowTextA(m_hWnd, text.c_str());
        break;
    }
    case FocusLossAction::kReportTooLarge:
        ::MessageBoxA(::GetParent(m_hWnd), "Error", "Error", MB_OK | MB_ICONEXCLAMATION);
        ::SetWindowTextA(m_hWnd, loss.text.c_str());
        ::PostMessageA(m_hWnd, kTakeFocusBack, 0, 0);
        break;
    case FocusLossAction::kKeep:
        break;
    }
}

LRESULT EQorLinkEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR) {
        char buffer[256] = {};
        ::GetWindowTextA(m_hWnd, buffer, sizeof(buffer));
        DWORD start = 0, end = 0;
        ::SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        // A selection is replaced by the typed character, so the minus rule looks at the rest.
        std::string text = buffer;
        if (end > start && end <= text.size())
            text.erase(start, end - start);
        if (!m_logic->Accepts(static_cast<unsigned char>(wParam), text, static_cast<int>(start))) {
            OnBadInput();
            return 0;
        }
    } else if (message == WM_KILLFOCUS) {
        const LRESULT result = EQorEdit::WindowProc(message, wParam, lParam);
        FocusLost(reinterpret_cast<HWND>(wParam));
        return result;
    } else if (message == kTakeFocusBack) {
        ::SetFocus(m_hWnd);
        return 0;
    }
    return EQorEdit::WindowProc(message, wParam, lParam);
}

void EQorLinkSlider::SetSlidePos(int position)
{
    SetPos(position);
    if (m_edit)
        m_edit->UpdateEdit(static_cast<int>(m_valueFunction ? m_valueFunction(position) : position));
}

void EQorLinkSlider::SetSlideRange(int minimum, int maximum)
{
    SetRange(minimum, maximum, TRUE);
}

void EQorLinkSlider::SetSlideStep(int step)
{
    SetLineSize(step);
    SetPageSize(step);
}

BOOL EQorLinkSlider::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if ((message == WM_HSCROLL || message == WM_VSCROLL) && m_edit) {
        const long position = GetPos();
        m_edit->UpdateEdit(static_cast<int>(m_valueFunction ? m_valueFunction(position) : position));
    }
    // The parent still gets its scroll message.
    return CSliderCtrl::OnChildNotify(message, wParam, lParam, result);
}

EQorLinkEdit* GetLinkEdit(HWND parent, int id)
{
    HWND item = parent ? ::GetDlgItem(parent, id) : nullptr;
    return item ? dynamic_cast<EQorLinkEdit*>(CWnd::FromHandlePermanent(item)) : nullptr;
}

EQorLinkSlider* GetLinkSlider(HWND parent, int id)
{
    HWND item = parent ? ::GetDlgItem(parent, id) : nullptr;
    return item ? dynamic_cast<EQorLinkSlider*>(CWnd::FromHandlePermanent(item)) : nullptr;
}
