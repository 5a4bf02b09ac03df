#pragma once
// The vendor MPEG-1 demultiplexer ("Push Mode Mpeg1 Dmux"): the MPEG-2 demultiplexer's
// demultiplexing and created outputs, plus the pass-through stream output for recording, its
// own audio output "Audio Out" (MPEG audio from stream 0xC0 until told otherwise) and the
// configuration interface that sets the types of its video and audio outputs.
#include "DemuxFilter.h"
#include "FilterIds.h"

namespace testbed {

class VendorDemuxFilter : public DemuxFilter, public IDemuxOutputConfig {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IDemuxOutputConfig
    STDMETHODIMP SetOutputType(DWORD output, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetOutputType(DWORD output, AM_MEDIA_TYPE* type) override;

    static constexpr DWORD kVideoOutput = 0;
    static constexpr DWORD kAudioOutput = 1;

private:
    explicit VendorDemuxFilter(IUnknown* outer);
    // The output a kind names: the first output mapped to the video stream, or "Audio Out".
    DemuxOutputPin* OutputOf(DWORD output) const;

    DemuxOutputPin* audio_ = nullptr;  // owned by the base filter's outputs
};

}  // namespace testbed
