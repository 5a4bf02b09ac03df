#pragma once
// The writer's single input pin, "Input": takes any media type, hands every sample to the
// filter's ring, and offers the file to upstream through IWriterStream.
#include "FileName.h"
#include "WriterStream.h"

#include <dshowbase/Pins.h>

namespace scrivet {

class FileWriterFilter;

class WriterInputPin final : public dshow::RenderedInputPin {
public:
    // The pin's stream writes to the file the filter is named.
    WriterInputPin(FileWriterFilter* filter, win::CritSec* filterLock, const RecordingName& name);

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    HRESULT CheckMediaType(const dshow::MediaType& type) override;
    HRESULT BreakConnect() override;

    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveCanBlock() override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    WriterStream& Stream() { return stream_; }
    bool FilterStopped() const { return IsStopped(); }
    // The buffer size the upstream allocator hands out; 0 when unknown.
    long AllocatorBufferSize() const;
    bool CarriesAudio() const;

private:
    FileWriterFilter* writer_;
    WriterStream stream_;
};

}  // namespace scrivet
