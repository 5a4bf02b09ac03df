#pragma once
// The MPEG-2 demultiplexer stand-in (and, with a stream output, the vendor MPEG-1
// demultiplexer): program or system stream in, output pins created by the application with
// IMpeg2Demultiplexer and fed by stream id, timestamps from PTS, and a reference clock.
#include <dshowbase/BaseFilter.h>
#include <dshowbase/ReferenceClock.h>

#include <memory>
#include <string>
#include <vector>

#include "DemuxPins.h"
#include "ProgramStreamParser.h"

namespace testbed {

class DemuxFilter : public dshow::BaseFilter, public IMpeg2Demultiplexer {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr, bool vendor);
    ~DemuxFilter() override;

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    int GetPinCount() override;
    dshow::BasePin* GetPin(int index) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;

    // IMpeg2Demultiplexer
    STDMETHODIMP CreateOutputPin(AM_MEDIA_TYPE* type, LPWSTR name, IPin** pin) override;
    STDMETHODIMP SetOutputPinMediaType(LPWSTR name, AM_MEDIA_TYPE* type) override;
    STDMETHODIMP DeleteOutputPin(LPWSTR name) override;

    // Streaming, from the input pin.
    HRESULT ReceiveData(IMediaSample* sample);
    HRESULT EndOfStream();
    HRESULT BeginFlush();
    HRESULT EndFlush();

protected:
    DemuxFilter(IUnknown* outer, bool vendor);
    // An output the filter makes itself (the vendor demultiplexer's audio): listed, fed and
    // kept apart by name like the outputs made through IMpeg2Demultiplexer.
    DemuxOutputPin* AddOwnOutput(std::unique_ptr<DemuxOutputPin> pin);
    const std::vector<std::unique_ptr<DemuxOutputPin>>& Outputs() const { return outputs_; }

private:
    void OnPacket(const mpegps::PesPacket& pes);
    DemuxOutputPin* FindOutput(const wchar_t* name) const;
    template <class F> void ForEachOutput(F f) const;

    win::CritSec filterLock_;
    win::CritSec receiveLock_;
    std::unique_ptr<DemuxInputPin> input_;
    std::unique_ptr<DemuxOutputPin> streamOutput_;  // vendor demultiplexer only
    std::vector<std::unique_ptr<DemuxOutputPin>> outputs_;
    // Deleted pins stay alive until the filter dies: callers may still hold their pointers.
    std::vector<std::unique_ptr<DemuxOutputPin>> retired_;
    std::unique_ptr<dshow::ReferenceClock> ownClock_;
    mpegps::ProgramStreamParser parser_;
    int64_t basePts_ = -1;  // 90 kHz value that maps to stream time 0
};

}  // namespace testbed
