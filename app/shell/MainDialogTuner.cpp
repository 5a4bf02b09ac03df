// The main window's television side: the channel page's controls, the channel keys of the
// keyboard and remote control, the entry timer, and loading and saving the tuner's settings.
#include "MainDialog.h"

#include <commctrl.h>

#include "ControlIds.h"
#include "RegistryValueStore.h"

namespace shell {
namespace {

// Keyboard and remote-control commands.
constexpr UINT kDigitZeroCommand = 32788;
constexpr UINT kDigitOneCommand = 32779;   // up to 32787 for 9
constexpr UINT kKeypadZeroCommand = 32790;  // up to 32799 for 9
constexpr UINT kChannelUpCommand = 32777;
constexpr UINT kChannelDownCommand = 32778;

tuner::RegistryValueStore TunerStore()
{
    CWinApp* app = AfxGetApp();
    return tuner::RegistryValueStore(
        HKEY_CURRENT_USER, framework::ProfileSectionPath(app ? app->GetRegistryKey() : "",
                                                         app ? app->GetProfileName() : "", ""));
}

}  // namespace

void MainDialog::MapTunerCommands()
{
    const auto page = [this](UINT code) {
        return [this, code](UINT id) { m_channelPage.OnCommand(id, code); };
    };
    MapCommandRange(IDC_TV_ANTENNA, IDC_CHANNEL_DELETE, BN_CLICKED, page(BN_CLICKED));
    MapCommandRange(IDC_CHANNEL_UP, IDC_CHANNEL_DOWN, BN_CLICKED, page(BN_CLICKED));
    MapCommandRange(IDC_DIGIT_0, IDC_CHANNEL_SCAN, BN_CLICKED, page(BN_CLICKED));
    MapCommandRange(IDC_COUNTRY, IDC_COUNTRY, CBN_SELCHANGE, page(CBN_SELCHANGE));
    MapCommandRange(IDC_STANDARD, IDC_STANDARD, CBN_SELCHANGE, page(CBN_SELCHANGE));
    MapCommandRange(IDC_CHANNEL_NAME, IDC_CHANNEL_NAME, CBN_SELCHANGE, page(CBN_SELCHANGE));
    MapNotify(IDC_FINE_TUNE_SPIN, UDN_DELTAPOS, [this](NMHDR* header, LRESULT* result) {
        const auto* change = reinterpret_cast<NMUPDOWN*>(header);
        if (m_channelPage.Shown() && !m_capture.Tuner().Scanning() && change->iDelta != 0) {
            m_capture.Tuner().StepFineTune(change->iDelta > 0 ? 1 : -1);
            *result = TRUE;  // the page shows the position the tuner took
        }
    });

    // The channel keys act wherever the window is, except during a scan.
    const auto digit = [this](int value) {
        if (!m_capture.Tuner().Scanning())
            m_capture.Tuner().Digit(value);
    };
    MapCommand(kDigitZeroCommand, [digit] { digit(0); });
    MapCommandRange(kDigitOneCommand, kDigitOneCommand + 8, 0,
                    [digit](UINT id) { digit(static_cast<int>(id - kDigitOneCommand) + 1); });
    MapCommandRange(kKeypadZeroCommand, kKeypadZeroCommand + 9, 0,
                    [digit](UINT id) { digit(static_cast<int>(id - kKeypadZeroCommand)); });
    for (const auto& [command, step] : {std::pair{kChannelUpCommand, 1}, std::pair{kChannelDownCommand, -1}}) {
        const int s = step;
        MapCommand(command, [this, s] {
            if (!m_capture.Tuner().Scanning())
                m_capture.Tuner().StepChannel(s);
        });
    }
}

void MainDialog::LoadTunerSettings()
{
    tuner::RegistryValueStore store = TunerStore();
    m_capture.Tuner().Load(store);
    m_channelPage.Attach(this);
    m_capture.SetTunerView([this] { m_channelPage.Refresh(); });
}

void MainDialog::SaveTunerSettings()
{
    m_channelPage.CancelScan();
    StopTimer(TunerSession::kEntryTimer);
    tuner::RegistryValueStore store = TunerStore();
    m_capture.Tuner().Save(store);
}

bool MainDialog::OnTunerTimer(UINT_PTR id)
{
    if (id != TunerSession::kEntryTimer)
        return false;
    m_capture.Tuner().OnEntryTimer();
    return true;
}

}  // namespace shell
