#pragma once
// The update prompt ("UpdateOnStart") of a check made in the background: says an update is
// available, with a check box for checking at start. Yes stores the box and opens the
// update's address; No stores the box.
#include <string>

#include "EQorDialog.h"
#include "EQorSkinnedControlSet.h"
#include "UpdateRules.h"

namespace shell {

class UpdatePromptDialog : public EQorDialog {
public:
    // `allow` holds "AllowUpdate" and receives the check box's state.
    UpdatePromptDialog(std::string address, bool* allow, update::Box video, update::Box mainWindow, CWnd* parent);

protected:
    BOOL OnInitDialog() override;

private:
    void Answer(bool open);

    std::string m_address;
    bool* m_allow;
    update::Box m_video, m_mainWindow;
    EQorSkinnedControlSet m_skinnedControls;
};

}  // namespace shell
