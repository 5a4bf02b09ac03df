#include "dshowbase/MemAllocator.h"

#include "dshowbase/MediaType.h"

namespace dshow {

MediaSample::MediaSample(MemAllocator* allocator, BYTE* buffer, LONG size)
    : allocator_(allocator), buffer_(buffer), size_(size)
{
}

MediaSample::~MediaSample() { DeleteMediaType(type_); }

STDMETHODIMP MediaSample::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IMediaSample) {
        *out = static_cast<IMediaSample*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) MediaSample::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) MediaSample::Release()
{
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0)
        allocator_->ReleaseBuffer(this);
    return left;
}

STDMETHODIMP MediaSample::GetPointer(BYTE** buffer)
{
    if (!buffer)
        return E_POINTER;
    *buffer = buffer_;
    return S_OK;
}

STDMETHODIMP_(LONG) MediaSample::GetSize() { return size_; }

STDMETHODIMP MediaSample::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end)
{
    if (!start || !end)
        return E_POINTER;
    if (!timeValid_)
        return VFW_E_SAMPLE_TIME_NOT_SET;
    *start = start_;
    if (!stopValid_) {
        *end = start_ + 1;
        return VFW_S_NO_STOP_TIME;
    }
    *end = end_;
    return S_OK;
}

STDMETHODIMP MediaSample::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end)
{
    timeValid_ = start != nullptr;
    stopValid_ = start && end;
    if (start)
        start_ = *start;
    if (start && end)
        end_ = *end;
    return S_OK;
}

STDMETHODIMP MediaSample::IsSyncPoint() { return sync_ ? S_OK : S_FALSE; }
STDMETHODIMP MediaSample::SetSyncPoint(BOOL sync)
{
    sync_ = sync != FALSE;
    return S_OK;
}
STDMETHODIMP MediaSample::IsPreroll() { return preroll_ ? S_OK : S_FALSE; }
STDMETHODIMP MediaSample::SetPreroll(BOOL preroll)
{
    preroll_ = preroll != FALSE;
    return S_OK;
}
STDMETHODIMP_(LONG) MediaSample::GetActualDataLength() { return actual_; }

STDMETHODIMP MediaSample::SetActualDataLength(LONG length)
{
    if (length < 0 || length > size_)
        return VFW_E_BUFFER_OVERFLOW;
    actual_ = length;
    return S_OK;
}

STDMETHODIMP MediaSample::GetMediaType(AM_MEDIA_TYPE** type)
{
    if (!type)
        return E_POINTER;
    if (!type_) {
        *type = nullptr;
        return S_FALSE;
    }
    *type = CreateMediaType(type_);
    return *type ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP MediaSample::SetMediaType(AM_MEDIA_TYPE* type)
{
    DeleteMediaType(type_);
    type_ = nullptr;
    if (!type)
        return S_OK;
    type_ = CreateMediaType(type);
    return type_ ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP MediaSample::IsDiscontinuity() { return discontinuity_ ? S_OK : S_FALSE; }
STDMETHODIMP MediaSample::SetDiscontinuity(BOOL discontinuity)
{
    discontinuity_ = discontinuity != FALSE;
    return S_OK;
}

STDMETHODIMP MediaSample::GetMediaTime(LONGLONG* start, LONGLONG* end)
{
    if (!start || !end)
        return E_POINTER;
    if (!mediaTimeValid_)
        return VFW_E_MEDIA_TIME_NOT_SET;
    *start = mediaStart_;
    *end = mediaEnd_;
    return S_OK;
}

STDMETHODIMP MediaSample::SetMediaTime(LONGLONG* start, LONGLONG* end)
{
    if (!start || !end) {
        mediaTimeValid_ = false;
        return S_OK;
    }
    mediaStart_ = *start;
    mediaEnd_ = *end;
    mediaTimeValid_ = true;
    return S_OK;
}

void MediaSample::ResetProperties()
{
    actual_ = size_;
    timeValid_ = stopValid_ = mediaTimeValid_ = false;
    sync_ = preroll_ = discontinuity_ = false;
    DeleteMediaType(type_);
    type_ = nullptr;
}

}  // namespace dshow
