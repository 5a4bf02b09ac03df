#pragma once
// The television side of the capture mode: the tuner's settings and channel lists, typed
// channel entry with its timer, channel up/down, choice by name, fine tuning, the input type,
// the scan and the TV sound mode. It works on the tuner of the running capture graph, which
// its host opens for it; without one every operation leaves the lists as they are.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ChannelKeypad.h"
#include "ChannelScan.h"
#include "TunerDevice.h"
#include "TunerSettings.h"
#include "TvAudioMode.h"
#include "ValueStore.h"

namespace shell {

class TunerSessionHost {
public:
    virtual void StartTimer(UINT_PTR id, UINT periodMs) = 0;
    virtual void StopTimer(UINT_PTR id) = 0;
    // The tuner of the capture graph (added to it when missing); nothing without a graph or
    // a tuner.
    virtual std::optional<tunerdev::TunerDevice> OpenTuner() = 0;
    virtual bool GraphRunning() = 0;
    // Puts a standard on tuner and decoder; false when refused.
    virtual bool SetVideoStandard(std::uint32_t standard) = 0;
    virtual std::uint32_t SystemLanguage() { return GetSystemDefaultLangID(); }
    // The channel, its name, fine tune or the lists changed: the page shows them again.
    virtual void TunerChanged() {}

protected:
    ~TunerSessionHost() = default;
};

class TunerSession {
public:
    static constexpr UINT_PTR kEntryTimer = tuner::kChannelEntryTimerId;

    explicit TunerSession(TunerSessionHost& host) : m_host(host) {}

    void Load(tuner::ValueStore& store);
    void Save(tuner::ValueStore& store) const;

    // The tuner set-up, once per capture graph: TV mode, country and standard, inputs, and
    // the last channel unless the graph already runs.
    HRESULT Initialise();
    // The capture graph has gone: the next one is set up afresh.
    void GraphReleased();
    bool Initialised() const { return m_initialised; }

    // Typed entry: a digit, and the expiry of the entry timer.
    void Digit(int digit);
    void OnEntryTimer();
    // What the channel display shows: the typed digits, or the current channel.
    std::string DisplayText() const;

    // Tunes `number` as the current channel (applying its fine tune); false when the tuner
    // refused or there is none.
    bool CommitChannel(int number);
    void StepChannel(int step);
    // The first channel from the minimum with exactly this name.
    bool ChooseByName(const std::string& name);
    // One step of fine tuning on the current channel; false when outside its range.
    bool StepFineTune(int step);
    void SetInputType(int inputType);
    // A standard chosen on the page.
    bool ChooseStandard(std::uint32_t standard);
    // Names the current channel; an empty name takes it out of the lists.
    void RenameCurrent(const std::string& name);
    // Country chosen on the page: put on the tuner, and its default standard applied.
    bool ChooseCountry(const std::string& name);

    // Scans the range into the current list. `wait` keeps the window alive while the tuner
    // settles and answers false once the user cancelled.
    tuner::ScanResult Scan(const tunerdev::ProbeWait& wait,
                           const std::function<void(int channel, bool found)>& progress);
    bool Scanning() const { return m_scanning; }

    // The TV sound mode: set from a choice, and read back from the filter after every tune.
    HRESULT SetTvAudio(const tuner::TvAudioChoice& choice);
    void ReadTvAudio();
    const tuner::TvAudioChoice& TvAudio() const { return m_audio; }

    tuner::TunerSettings& Settings() { return m_settings; }
    const tuner::TunerSettings& Settings() const { return m_settings; }
    const tuner::ChannelRange& Range() const { return m_range; }
    std::optional<std::uint32_t> SupportedStandards() const { return m_supported; }
    // The current channel's entry.
    const tuner::ChannelEntry& Current() const;

private:
    void EndEntry(int previous);
    std::optional<tunerdev::TunerDevice> Device();

    TunerSessionHost& m_host;
    tuner::TunerSettings m_settings;
    tuner::ChannelRange m_range;
    tuner::ChannelKeypad m_keypad;
    tuner::TvAudioChoice m_audio;
    std::optional<std::uint32_t> m_supported;
    bool m_initialised = false;
    bool m_scanning = false;
};

}  // namespace shell
