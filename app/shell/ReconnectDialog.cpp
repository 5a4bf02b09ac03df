#include "ReconnectDialog.h"

#include "CaptureDevices.h"
#include "ControlIds.h"
#include "MessagePlaces.h"

namespace shell {
namespace {

constexpr COLORREF kTransparentColour = 255;

std::vector<PresentDevice> PresentDevices()
{
    devices::EnumerateCaptureDevices();
    const devices::CaptureDeviceTable& table = devices::Devices();
    std::vector<PresentDevice> present;
    for (int i = 0; i < table.count; ++i) {
        const devices::CaptureDeviceRecord& r = table.records[i];
        present.push_back({!r.capturePath.empty() ? r.capturePath : r.encoderPath, r.name});
    }
    return present;
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
    SetDlgItemText(IDC_RECON_MESSAGE, recording::WithLineBreaks(m_message).c_str());
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
