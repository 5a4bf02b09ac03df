#include "AboutDialog.h"

#include "ControlIds.h"
#include "MessageIds.h"
#include "QorGraphicsEngineAPI.h"
#include "UpdateRules.h"

namespace shell {

AboutDialog::AboutDialog(std::string version, CWnd* parent) : EQorDialog(IDD_ABOUT, parent), m_version(std::move(version))
{
    MapCommand(IDC_ABOUT_CHECK_UPDATE, [this] { EndDialog(IDC_ABOUT_CHECK_UPDATE); });
}

BOOL AboutDialog::OnInitDialog()
{
    EQorDialog::OnInitDialog();
    m_skinnedControls.Bind(*this, "AboutDialog");
    InitializeQorDialog("AboutDialog", SKIN_TRANSPARENT_COLOR, false);
    SetMouseMovesDialog(true);
    std::string versionText, buildText;
    QorGraphicsEngineAPI engine;
    engine.GetText(msg::kAboutVersion, &versionText);
    engine.GetText(msg::kAboutBuild, &buildText);
    const update::AboutLines lines = update::MakeAboutLines(m_version, versionText, buildText);
    SetDlgItemText(IDC_ABOUT_VERSION_1, lines.version.c_str());
    SetDlgItemText(IDC_ABOUT_VERSION_2, lines.build.c_str());
    OutputDebugStringA(("Marovin:  about box: " + lines.version + " / " + lines.build + "\r\n").c_str());
    return TRUE;
}

}  // namespace shell
