// The main window's remote control: its set-up dialog, the status line, and the keys the
// remote's receiver delivers: the key "0" to the set-up while it waits, every other key (from
// the configured remote) to the command it has on the keyboard.
#include "MainDialog.h"

#include "ConfigRCDialog.h"
#include "ControlIds.h"

namespace shell {

void MainDialog::MapRemoteCommands()
{
    MapCommand(IDC_REMOTE_SETUP, [this] { OnRemoteSetup(); });
}

void MainDialog::ShowRemoteStatus()
{
    const int address = Store().GetInt("Tuner", "RCAddress", -1);
    if (address == -1)
        Store().WriteInt("Tuner", "RCAddress", 0);
    m_remote = remote::RemoteLearning(address == -1 ? 0 : address);
    SetDlgItemText(IDC_REMOTE_STATUS, Text(remote::StatusTextFor(m_remote.Address())).c_str());
}

void MainDialog::OnRemoteSetup()
{
    ConfigRCDialog dialog(m_remote, this);
    if (dialog.DoModal() == IDOK)
        Store().WriteInt("Tuner", "RCAddress", m_remote.Address());
    Trace("remote address 0x%02X", static_cast<unsigned>(m_remote.Address()));
    SetDlgItemText(IDC_REMOTE_STATUS, Text(remote::StatusTextFor(m_remote.Address())).c_str());
}

void MainDialog::OnRemoteKey(WPARAM key, LPARAM address)
{
    const bool learned = m_remote.OnKey(static_cast<int>(key), static_cast<std::uint8_t>(address & 0xFF));
    Trace("remote key %d from 0x%02X %s", static_cast<int>(key), static_cast<unsigned>(address & 0xFF),
          learned ? "taken by the set-up" : "passed on");
    if (learned)
        return;
    if (!keys::RemoteKeyAccepted(m_remote.Address(), static_cast<int>(address & 0xFF))) {
        Trace("remote key %d: another remote's", static_cast<int>(key));
        return;
    }
    // The key does what the same combination on the keyboard does.
    if (const std::optional<WORD> command = keys::CommandForRemoteKey(key))
        SendMessage(WM_COMMAND, MAKEWPARAM(*command, 1), 0);
}

}  // namespace shell
