#pragma once
// The dialog that waits for a removed capture device ("PreviewWaitRecon"): it says which
// device went and polls the devices every 100 ms; when the same device is back it selects it
// and ends with OK. Cancel gives up waiting.
#include <string>

#include "EQorDialog.h"
#include "EQorSkinnedControlSet.h"
#include "ReconnectWatch.h"

namespace shell {

class ReconnectDialog : public EQorDialog {
public:
    static constexpr UINT_PTR kPollTimer = 10010;
    static constexpr UINT kPollMs = 100;

    // `message`: the text that names the device; `lostName`: its friendly name.
    ReconnectDialog(std::string message, std::string lostName, CWnd* parent);

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;

private:
    std::string m_message;
    std::string m_lostName;
    std::optional<ReconnectWatch> m_watch;
    EQorSkinnedControlSet m_skinnedControls;
};

}  // namespace shell
