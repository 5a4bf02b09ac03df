#include "ReconnectDialog.h"

#include "CaptureDevices.h"
#include "ControlIds.h"

namespace shell {
namespace {

constexpr COLORREF kTransparentColour = 255;

std::vector<PresentDevice> PresentDevices()
{
    devices::EnumerateCaptureDevices();
    const devices::CaptureDeviceTable& table = devices::Devices();
    std::vector<PresentDevice> present;
    for (int i = 0; i < table.count; ++i)
        present.push_back({table.records[i].devInst, table.records[i].name});
    return present;
}

// The text file types its line breaks as backslash-n, which a static control shows as such.
std::string WithLineBreaks(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\\n") == 0) {
            out += "\r\n";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

ReconnectDialog::ReconnectDialog(std::string message, std::string lostName, CWnd* parent)
    : EQorDialog(IDD_PREVIEW_WAIT_RECON, parent), m_message(std::move(message)), m_lostName(std::move(lostName))
{
}

BOOL ReconnectDialog::OnInitDialog()
{
    EQorDialog::OnInitDialog();
    m_skinnedControls.Bind(*this, "PreviewWaitRecon");
    InitializeQorDialog("PreviewWaitRecon", kTransparentColour, false);
    SetMouseMovesDialog(true);
    SetDlgItemText(IDC_RECON_MESSAGE, WithLineBreaks(m_message).c_str());
    m_watch.emplace(PresentDevices(), m_lostName);
    SetTimer(kPollTimer, kPollMs);
    return TRUE;
}

void ReconnectDialog::OnTimer(UINT_PTR id)
{
    if (id != kPollTimer) {
        EQorDialog::OnTimer(id);
        return;
    }
    // One-shot, armed again after each poll: a slow enumeration never queues polls up.
    KillTimer(kPollTimer);
    const std::vector<PresentDevice> present = PresentDevices();
    if (const std::optional<std::size_t> back = m_watch->Poll(present)) {
        devices::SelectCaptureDevice(static_cast<int>(*back));
        EndDialog(IDOK);
        return;
    }
    SetTimer(kPollTimer, kPollMs);
}

void ReconnectDialog::OnDestroy()
{
    KillTimer(kPollTimer);
    EQorDialog::OnDestroy();
}

}  // namespace shell
