#include "TunerSession.h"

#include "ChannelNavigation.h"
#include "Countries.h"
#include "CountrySelection.h"
#include "TunerStorage.h"

namespace shell {
namespace {

// The country choice's view of the tuner and of the standard setting.
class DeviceCountryTuner : public tuner::CountryTuner {
public:
    DeviceCountryTuner(tunerdev::TunerDevice& device, TunerSessionHost& host) : device_(device), host_(host) {}
    std::optional<std::uint32_t> SupportedStandards() override { return device_.SupportedStandards(); }
    bool SetCountry(std::int32_t code) override { return device_.SetTunerCountry(code) == S_OK; }
    bool SetVideoStandard(std::uint32_t value) override { return host_.SetVideoStandard(value); }

private:
    tunerdev::TunerDevice& device_;
    TunerSessionHost& host_;
};

bool InList(int number)
{
    return number >= 0 && number <= tuner::kHighestListChannel;
}

}  // namespace

void TunerSession::Load(tuner::ValueStore& store)
{
    tuner::LoadTunerSettings(store, m_settings);
}

void TunerSession::Save(tuner::ValueStore& store) const
{
    tuner::SaveTunerSettings(store, m_settings, m_range);
}

std::optional<tunerdev::TunerDevice> TunerSession::Device()
{
    return m_host.OpenTuner();
}

HRESULT TunerSession::Initialise()
{
    std::optional<tunerdev::TunerDevice> device = Device();
    if (!device)
        return E_FAIL;
    m_initialised = true;
    m_supported = device->SupportedStandards();
    DeviceCountryTuner countryTuner(*device, m_host);
    tuner::SelectCountryAndStandard(countryTuner, m_settings, m_host.SystemLanguage());
    // The tuner keeps its country across runs, so its range is read even when the country
    // did not change.
    device->ReadRange(m_range);
    const HRESULT hr = device->PrepareInputs(m_settings.inputType);
    if (!m_host.GraphRunning())
        CommitChannel(m_settings.lastChannel);
    m_host.TunerChanged();
    return hr;
}

void TunerSession::GraphReleased()
{
    m_initialised = false;
}

const tuner::ChannelEntry& TunerSession::Current() const
{
    const int last = InList(m_settings.lastChannel) ? m_settings.lastChannel : 0;
    return m_settings.CurrentList()[static_cast<std::size_t>(last)];
}

void TunerSession::Digit(int digit)
{
    if (digit < 0 || digit > 9)
        return;
    switch (m_keypad.PressDigit(static_cast<char>('0' + digit), m_range)) {
    case tuner::ChannelKeypad::Next::CommitNow:
        EndEntry(m_settings.lastChannel);
        return;
    case tuner::ChannelKeypad::Next::RestartTimer:
        m_host.StartTimer(kEntryTimer, tuner::kChannelEntryDelayMs);
        m_host.TunerChanged();
        return;
    case tuner::ChannelKeypad::Next::Ignored:
        return;
    }
}

void TunerSession::OnEntryTimer()
{
    EndEntry(m_settings.lastChannel);
}

void TunerSession::EndEntry(int previous)
{
    m_host.StopTimer(kEntryTimer);
    const int number = m_keypad.Commit(previous, m_range);
    if (!CommitChannel(number))
        m_host.TunerChanged();
}

std::string TunerSession::DisplayText() const
{
    return m_keypad.Idle() ? std::to_string(m_settings.lastChannel) : m_keypad.Display();
}

bool TunerSession::CommitChannel(int number)
{
    if (!InList(number) || number < m_range.minimum || number > m_range.maximum)
        return false;
    std::optional<tunerdev::TunerDevice> device = Device();
    if (!device || FAILED(device->TuneChannel(number, nullptr)))
        return false;
    tuner::ChannelEntry& entry = m_settings.CurrentList()[static_cast<std::size_t>(number)];
    if (entry.frequency == 0)
        device->VideoFrequency(&entry.frequency);
    if (entry.fineTune != 0)
        device->ApplyFineTune(entry.frequency, entry.fineTune);
    long mode = 0;
    if (SUCCEEDED(device->TvAudioMode(&mode)))
        m_audio = tuner::TvAudioChoiceFrom(mode, m_audio);
    m_settings.lastChannel = number;
    m_settings.CopyCurrentChannel();
    m_host.TunerChanged();
    return true;
}

void TunerSession::StepChannel(int step)
{
    if (!m_keypad.Idle()) {
        m_host.StopTimer(kEntryTimer);
        m_keypad.Commit(m_settings.lastChannel, m_range);
    }
    CommitChannel(tuner::StepChannel(m_settings.CurrentList(), m_settings.lastChannel, step, m_range));
}

bool TunerSession::ChooseByName(const std::string& name)
{
    const tuner::ChannelList& list = m_settings.CurrentList();
    for (int i = m_range.ListMinimum(); i <= tuner::kHighestListChannel; ++i) {
        if (!list[static_cast<std::size_t>(i)].name.empty() && list[static_cast<std::size_t>(i)].name == name)
            return i >= 1 && CommitChannel(i);
    }
    return false;
}

bool TunerSession::StepFineTune(int step)
{
    if (!InList(m_settings.lastChannel))
        return false;
    tuner::ChannelEntry& entry = m_settings.CurrentList()[static_cast<std::size_t>(m_settings.lastChannel)];
    const std::optional<int> next = tuner::StepFineTune(entry.fineTune, step);
    std::optional<tunerdev::TunerDevice> device = Device();
    if (!next || !device)
        return false;
    const int before = entry.fineTune;
    entry.fineTune = *next;
    if (entry.frequency == 0 && !CommitChannel(m_settings.lastChannel)) {
        entry.fineTune = before;
        return false;
    }
    const HRESULT hr = device->ApplyFineTune(entry.frequency, entry.fineTune);
    ReadTvAudio();
    m_settings.CopyCurrentChannel();
    m_host.TunerChanged();
    return hr == S_OK;
}

void TunerSession::SetInputType(int inputType)
{
    m_settings.inputType = inputType == tuner::kInputCable ? tuner::kInputCable : tuner::kInputAntenna;
    m_settings.CopyCurrentChannel();
    if (std::optional<tunerdev::TunerDevice> device = Device())
        device->PutInputType(m_settings.inputType);
    m_host.TunerChanged();
}

bool TunerSession::ChooseCountry(const std::string& name)
{
    const tuner::CountryRow* row = tuner::FindCountryByName(name.c_str());
    std::optional<tunerdev::TunerDevice> device = Device();
    if (!row || !device || FAILED(device->SetTunerCountry(row->code)))
        return false;
    m_settings.country = row->name;
    m_settings.videoStandard = row->standard;
    m_host.SetVideoStandard(row->standard);
    device->ReadRange(m_range);
    m_host.TunerChanged();
    return true;
}

bool TunerSession::ChooseStandard(std::uint32_t standard)
{
    if (!m_host.SetVideoStandard(standard))
        return false;
    m_settings.videoStandard = standard;
    return true;
}

void TunerSession::RenameCurrent(const std::string& name)
{
    if (!InList(m_settings.lastChannel))
        return;
    m_settings.CurrentList()[static_cast<std::size_t>(m_settings.lastChannel)].name = name;
    m_settings.CopyCurrentChannel();
    m_host.TunerChanged();
}

tuner::ScanResult TunerSession::Scan(const tunerdev::ProbeWait& wait,
                                     const std::function<void(int, bool)>& progress)
{
    if (m_scanning)
        return {};
    if (!m_initialised)
        Initialise();
    std::optional<tunerdev::TunerDevice> device = Device();
    if (!device)
        return {};
    m_scanning = true;
    tuner::ScanProbe probe;
    probe.probe = [&](int channel) -> std::optional<bool> {
        bool signal = false;
        const HRESULT hr = device->TuneChannel(channel, &signal, wait);
        if (hr == E_ABORT)
            return std::nullopt;
        return hr == S_OK && signal;
    };
    probe.cancelled = [&] { return !wait(0); };
    probe.progress = progress;
    const tuner::ScanResult result = tuner::ScanChannels(m_settings.CurrentList(), m_range, probe);
    m_scanning = false;
    // Back to the channel the user was watching.
    CommitChannel(m_settings.lastChannel);
    m_settings.CopyCurrentChannel();
    m_host.TunerChanged();
    return result;
}

HRESULT TunerSession::SetTvAudio(const tuner::TvAudioChoice& choice)
{
    m_audio = choice;
    std::optional<tunerdev::TunerDevice> device = Device();
    return device ? device->SetTvAudioMode(tuner::TvAudioModeFor(choice)) : E_FAIL;
}

void TunerSession::ReadTvAudio()
{
    long mode = 0;
    if (std::optional<tunerdev::TunerDevice> device = Device(); device && SUCCEEDED(device->TvAudioMode(&mode)))
        m_audio = tuner::TvAudioChoiceFrom(mode, m_audio);
}

}  // namespace shell
