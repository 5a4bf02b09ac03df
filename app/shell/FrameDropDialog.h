#pragma once
// The frame-drop warning ("FrameDropWarnDlg"): the message, and for qualities whose rate the
// user sets a bit-rate slider linked to an edit field; "Ignore future warnings".
#include <string>

#include "EQorDialog.h"
#include "EQorSkinnedControlSet.h"
#include "FrameDropRules.h"

namespace shell {

class FrameDropDialog : public EQorDialog {
public:
    FrameDropDialog(const FrameDropOffer& offer, std::string message, CWnd* parent);

    int ChosenRate() const { return m_rate; }
    bool IgnoreFutureWarnings() const { return m_ignore; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnHScroll(UINT code, UINT position, HWND bar) override;

private:
    void OnRateEdited();

    FrameDropOffer m_offer;
    std::string m_message;
    int m_rate;
    bool m_ignore = false;
    bool m_updating = false;
    EQorSkinnedControlSet m_skinnedControls;
};

}  // namespace shell
