#pragma once
// The hardware encoder of one capture device, reached through the driver's property sets on
// the capture filter, or, for a codec-API device, through the codec-API identifiers on its
// stream filter. Results are COM codes; nothing here shows anything to the user.
#include "EncoderTypes.h"

#include "win/ComPtr.h"

#include <windows.h>
#include <dshow.h>

#include <functional>
#include <string>

namespace encoder {

struct ProcAmpRecord {
    long minimum = 0, maximum = 0, step = 0, defaultValue = 0, capsFlags = 0;
    long value = 0, flags = 0;
};

class EncoderDevice {
public:
    // Makes the codec-API device's stream filter present (the capture engine adds its device
    // chain) and hands it out; called before each codec-API exchange.
    using StreamFilterSource = std::function<HRESULT(win::ComPtr<IUnknown>& stream)>;
    // The program's error reporter: a text whose part after "|" goes to the log.
    using ErrorReporter = std::function<void(const char* text)>;

    void Attach(IBaseFilter* capture, int deviceType);
    void Detach();
    void SetStreamFilterSource(StreamFilterSource source) { streamSource_ = std::move(source); }
    void SetErrorReporter(ErrorReporter reporter) { reportError_ = std::move(reporter); }

    HRESULT GetEncoderParams(EncoderParams& params);
    HRESULT SetEncoderParams(const EncoderParams& params);
    HRESULT GetModeAndStandard(ModeAndStandard& pair);
    // Sends the pair ahead of the block, writes the block and keeps what the device then
    // reports as the current parameters (also in `pair`). 0 on success, 1 on any failure.
    int ApplyEncoderParams(ModeAndStandard& pair, const EncoderParams& params);
    HRESULT GetCapabilities(const ModeAndStandard& request, uint32_t words[kCapabilityWords]);
    HRESULT GetBitRateRange(uint32_t& minimum, uint32_t& maximum);
    HRESULT GetBitRateLimits(uint32_t& average, uint32_t& peak);
    HRESULT SetSamplingFreq(uint32_t rate);
    HRESULT GetVideoProcAmp(long property, ProcAmpRecord& record);
    HRESULT SetVideoProcAmp(long property, long value);
    HRESULT EnableDataLossEvent(bool enable);

    int DeviceType() const { return deviceType_; }
    const EncoderParams& CurrentParams() const { return currentParams_; }
    const ModeAndStandard& CurrentPair() const { return currentPair_; }

private:
    win::ComPtr<IKsPropertySet> CaptureProperties() const;
    win::ComPtr<IKsPropertySet> StreamProperties(bool* streamPresent);
    HRESULT GetCodecApiParams(EncoderParams& params);
    HRESULT SetCodecApiParams(const EncoderParams& params);
    HRESULT WriteParams(IKsPropertySet* ks, EncoderParams& params, bool set);
    void Report(const char* text) const;

    win::ComPtr<IBaseFilter> capture_;
    int deviceType_ = 0;
    StreamFilterSource streamSource_;
    ErrorReporter reportError_;
    EncoderParams currentParams_;
    ModeAndStandard currentPair_;
};

// Reads the frames-dropped registration and rewrites it only when its enable word differs.
// Free of the device object so the device event thread can call it with its own reference.
HRESULT EnableDataLossEvent(IKsPropertySet* ks, bool enable);

// The capture filter's current audio format's sampling rate (FORMAT_WaveFormatEx only), and
// writing a new rate into that format.
HRESULT GetCaptureAudioRate(IBaseFilter* capture, uint32_t& rate);
HRESULT SetCaptureAudioRate(IBaseFilter* capture, uint32_t rate);

}  // namespace encoder
