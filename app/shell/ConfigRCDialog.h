#pragma once
// The remote-control set-up dialog ("ConfigRCDialog"): asks for the key "0" on the remote and
// reports whether its address could be learned. However it closes (OK, Cancel, Esc, the close
// box) both of its timers stop and the learning ends; only OK keeps a learned address.
#include "EQorDialog.h"
#include "EQorSkinnedControlSet.h"
#include "RemoteLearning.h"

namespace shell {

class ConfigRCDialog : public EQorDialog {
public:
    static constexpr UINT_PTR kStartTimer = 10008;
    static constexpr UINT_PTR kWaitTimer = 10009;
    static constexpr UINT kTickMs = 100;

    // `learning` belongs to the main window, which hands it the remote's keys.
    ConfigRCDialog(remote::RemoteLearning& learning, CWnd* parent);

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;

private:
    void Begin();
    void Finish(bool keep, int result);
    void ShowStatus(const char* text);
    void SetLearnLook(int identity);

    remote::RemoteLearning& m_learning;
    EQorSkinnedControlSet m_skinnedControls;
};

}  // namespace shell
