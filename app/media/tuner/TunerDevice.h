#pragma once
// The card's TV tuner and TV sound decoder over COM: IAMTVTuner for countries, channels and
// inputs, the tuner property set for capabilities, frequency and lock status, IAMTVAudio for
// the sound mode, and the capture filter's analog decoder for the horizontal lock. Every
// call comes on the window's thread.
#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "TunerSettings.h"
#include "win/ComPtr.h"

namespace tunerdev {

// Waits for `ms` milliseconds while the window stays responsive; false when the user
// cancelled meanwhile.
using ProbeWait = std::function<bool(DWORD ms)>;

class TunerDevice {
public:
    // `tuner` must expose IAMTVTuner; `tvAudio` and `decoder` may be null.
    TunerDevice(IBaseFilter* tuner, IBaseFilter* tvAudio, IBaseFilter* decoder);

    // The tuner, TV audio and decoder filters found in a graph by their interfaces; nothing
    // when the graph holds no tuner.
    static std::optional<TunerDevice> FromGraph(IFilterGraph* graph);

    bool HasTvAudio() const { return static_cast<bool>(audio_); }

    // Puts a country code on the tuner unless it has it already.
    HRESULT SetTunerCountry(long code);
    // The tuner's channel range for its country; `range` stays as it is when unreadable.
    void ReadRange(tuner::ChannelRange& range);
    // MODE_CAPS for TV mode: the supported standards and the tuning granularity in Hz.
    std::optional<std::uint32_t> SupportedStandards();
    std::optional<std::uint32_t> Granularity();

    // TV mode, the input type on every input connection, and input 0 connected.
    HRESULT PrepareInputs(int inputType);
    HRESULT PutInputType(int inputType);

    // Tunes a channel. With `signal`, waits for the PLL to settle and answers whether a
    // picture is there: S_OK with the flag, S_FALSE when the tuner stayed busy or the decoder
    // cannot tell, E_ABORT when `wait` reported a cancel.
    HRESULT TuneChannel(int number, bool* signal, const ProbeWait& wait = {});
    // Tunes base + fine × granularity exactly; S_FALSE (nothing set) when the capabilities or
    // the current frequency cannot be read.
    HRESULT ApplyFineTune(std::uint32_t baseHz, int fineTune);
    HRESULT VideoFrequency(std::uint32_t* hz);

    // IAMTVAudio on the TV audio filter; E_FAIL without one.
    HRESULT SetTvAudioMode(long mode);
    HRESULT TvAudioMode(long* mode);

private:
    win::ComPtr<IAMTVTuner> tuner_;
    win::ComPtr<IKsPropertySet> properties_;
    win::ComPtr<IAMTVAudio> audio_;
    win::ComPtr<IAMAnalogVideoDecoder> decoder_;
};

}  // namespace tunerdev
