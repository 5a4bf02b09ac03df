#pragma once
// The about box ("AboutDialog"): the program's version lines; its "Check for updates" button
// ends it with IDC_ABOUT_CHECK_UPDATE so that the main window starts the check.
#include <string>

#include "EQorDialog.h"
#include "EQorSkinnedControlSet.h"

namespace shell {

class AboutDialog : public EQorDialog {
public:
    AboutDialog(std::string version, CWnd* parent);

protected:
    BOOL OnInitDialog() override;

private:
    std::string m_version;
    EQorSkinnedControlSet m_skinnedControls;
};

}  // namespace shell
