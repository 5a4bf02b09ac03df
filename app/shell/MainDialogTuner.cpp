// The main window's television side: the channel page's controls, the channel keys of the
// keyboard and remote control, the entry timer, and loading and saving the tuner's settings.
#include "MainDialog.h"

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
}

void MainDialog::AttachChannelPage()
{
    auto page = std::make_unique<ChannelPage>(m_capture.Tuner(), *this, [this] {
        tuner::RegistryValueStore store = TunerStore();
        m_capture.Tuner().Save(store);
    });
    m_channelPage = page.get();
    m_settingsWindow->SetPage(pages::SettingsWindow::kChannelPage, std::move(page));
    m_capture.SetTunerView([this] {
        if (m_channelPage)
            m_channelPage->Refresh();
    });
}

void MainDialog::SaveTunerSettings()
{
    if (m_channelPage)
        m_channelPage->CancelScan();
    m_capture.SetTunerView({});
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
