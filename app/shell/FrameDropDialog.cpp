#include "FrameDropDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "ControlIds.h"
#include "MessagePlaces.h"

namespace shell {
namespace {

constexpr COLORREF kTransparentColour = 255;

}  // namespace

FrameDropDialog::FrameDropDialog(const FrameDropOffer& offer, std::string message, CWnd* parent)
    : EQorDialog(IDD_FRAME_DROP_WARN, parent), m_offer(offer), m_message(std::move(message)), m_rate(offer.current)
{
    MapCommand(IDC_DROP_BITRATE_EDIT, EN_CHANGE, [this] { OnRateEdited(); });
}

BOOL FrameDropDialog::OnInitDialog()
{
    EQorDialog::OnInitDialog();
    m_skinnedControls.Bind(*this, "FrameDropWarnDlg");
    InitializeQorDialog("FrameDropWarnDlg", kTransparentColour, false);
    SetMouseMovesDialog(true);
    SetDlgItemText(IDC_DROP_MESSAGE, recording::WithLineBreaks(m_message).c_str());
    for (int id : {IDC_DROP_BITRATE_SLIDER, IDC_DROP_BITRATE_EDIT, IDC_DROP_BITRATE_UNIT})
        ::ShowWindow(GetDlgItem(id), m_offer.withRate ? SW_SHOW : SW_HIDE);
    if (m_offer.withRate) {
        SendDlgItemMessage(IDC_DROP_BITRATE_SLIDER, TBM_SETRANGEMIN, FALSE, m_offer.minimum);
        SendDlgItemMessage(IDC_DROP_BITRATE_SLIDER, TBM_SETRANGEMAX, FALSE, m_offer.maximum);
        SendDlgItemMessage(IDC_DROP_BITRATE_SLIDER, TBM_SETLINESIZE, 0, 1);
        SendDlgItemMessage(IDC_DROP_BITRATE_SLIDER, TBM_SETPAGESIZE, 0, 100000);
        SendDlgItemMessage(IDC_DROP_BITRATE_SLIDER, TBM_SETPOS, TRUE, m_rate);
        m_updating = true;
        SetDlgItemText(IDC_DROP_BITRATE_EDIT, std::to_string(m_rate).c_str());
        m_updating = false;
    }
    return TRUE;
}

void FrameDropDialog::OnHScroll(UINT code, UINT position, HWND bar)
{
    if (bar != GetDlgItem(IDC_DROP_BITRATE_SLIDER)) {
        EQorDialog::OnHScroll(code, position, bar);
        return;
    }
    m_rate = static_cast<int>(SendDlgItemMessage(IDC_DROP_BITRATE_SLIDER, TBM_GETPOS, 0, 0));
    m_updating = true;
    SetDlgItemText(IDC_DROP_BITRATE_EDIT, std::to_string(m_rate).c_str());
    m_updating = false;
}

void FrameDropDialog::OnRateEdited()
{
    if (m_updating)
        return;
    char text[32] = {};
    ::GetDlgItemTextA(m_hWnd, IDC_DROP_BITRATE_EDIT, text, sizeof text);
    const long typed = std::strtol(text, nullptr, 10);
    m_rate = std::clamp(static_cast<int>(std::clamp<long>(typed, 0, 1000000000)), m_offer.minimum, m_offer.maximum);
    SendDlgItemMessage(IDC_DROP_BITRATE_SLIDER, TBM_SETPOS, TRUE, m_rate);
}

void FrameDropDialog::OnOK()
{
    m_ignore = IsDlgButtonChecked(IDC_DROP_IGNORE) == BST_CHECKED;
    EQorDialog::OnOK();
}

void FrameDropDialog::OnCancel()
{
    m_ignore = IsDlgButtonChecked(IDC_DROP_IGNORE) == BST_CHECKED;
    EQorDialog::OnCancel();
}

}  // namespace shell
