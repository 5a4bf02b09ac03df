#include "WriterInputPin.h"

#include "FileWriterFilter.h"

#include <uuids.h>

namespace scrivet {

WriterInputPin::WriterInputPin(FileWriterFilter* filter, win::CritSec* filterLock,
                               const RecordingName& name)
    : dshow::RenderedInputPin(filter, filterLock, L"Input"), writer_(filter), stream_(this, name)
{
}

HRESULT STDMETHODCALLTYPE WriterInputPin::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == __uuidof(IWriterStream)) {
        *out = static_cast<IWriterStream*>(&stream_);
        stream_.AddRef();
        return S_OK;
    }
    return dshow::RenderedInputPin::NonDelegatingQueryInterface(iid, out);
}

HRESULT WriterInputPin::CheckMediaType(const dshow::MediaType&)
{
    return S_OK;
}

HRESULT WriterInputPin::BreakConnect()
{
    writer_->ReleaseRing();
    return dshow::RenderedInputPin::BreakConnect();
}

STDMETHODIMP WriterInputPin::Receive(IMediaSample* sample)
{
    const HRESULT hr = dshow::RenderedInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    return writer_->Write(sample);
}

STDMETHODIMP WriterInputPin::ReceiveCanBlock()
{
    return S_FALSE;
}

STDMETHODIMP WriterInputPin::EndOfStream()
{
    writer_->EndOfStreamDrain();
    return dshow::RenderedInputPin::EndOfStream();
}

STDMETHODIMP WriterInputPin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double)
{
    return S_OK;
}

long WriterInputPin::AllocatorBufferSize() const
{
    ALLOCATOR_PROPERTIES properties{};
    if (!Allocator() || FAILED(Allocator()->GetProperties(&properties)))
        return 0;
    return properties.cbBuffer;
}

bool WriterInputPin::CarriesAudio() const
{
    return IsConnected() && CurrentMediaType().majortype == MEDIATYPE_Audio;
}

}  // namespace scrivet
