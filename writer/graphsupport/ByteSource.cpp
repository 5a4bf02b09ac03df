#include "ByteSource.h"

#include <algorithm>
#include <cstring>

namespace scrivet::test {

// {5C7A9E10-6B0D-4E57-9F1B-2A8C3D4E5F60}: only ever created in-process by the tests.
static const CLSID kByteSourceClsid = {0x5c7a9e10, 0x6b0d, 0x4e57, {0x9f, 0x1b, 0x2a, 0x8c, 0x3d, 0x4e, 0x5f, 0x60}};

ByteStream::ByteStream(ByteSource* filter, const GUID& majorType)
    : dshow::SourceStream(filter, L"Output"), source_(filter), majorType_(majorType)
{
}

HRESULT ByteStream::CheckMediaType(const dshow::MediaType& type)
{
    return type.majortype == majorType_ ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT ByteStream::GetMediaType(int position, dshow::MediaType* type)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *type = dshow::MediaType(majorType_, GUID_NULL);
    return S_OK;
}

HRESULT ByteStream::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    request->cBuffers = 4;
    request->cbBuffer = source_->bufferSize_;
    request->cbAlign = 1;
    ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(request, &actual);
}

HRESULT ByteStream::OnThreadStart()
{
    ByteSource& s = *source_;
    s.offset_ = 0;
    s.sizeIndex_ = 0;
    s.round_ = 0;
    s.delivered_ = 0;
    s.finished_ = false;
    s.lastFilled_ = 0;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    s.started_ = now.QuadPart;
    return S_OK;
}

HRESULT ByteStream::FillBuffer(IMediaSample* sample)
{
    ByteSource& s = *source_;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    // The time since the last sample was filled is the time its delivery (downstream
    // Receive) and the wait for this buffer took.
    if (s.lastFilled_ != 0)
        s.longestTicks_ = std::max(s.longestTicks_, now.QuadPart - s.lastFilled_);
    if (s.round_ >= s.repeat_) {
        s.finished_ = true;
        return S_FALSE;
    }
    if (s.bytesPerSecond_ > 0) {
        const double due = s.started_ + s.delivered_ / s.bytesPerSecond_ * s.frequency_;
        if (due > now.QuadPart)
            Sleep(static_cast<DWORD>((due - now.QuadPart) * 1000 / s.frequency_));
    }
    BYTE* buffer = nullptr;
    sample->GetPointer(&buffer);
    const long wanted = std::min(s.sizes_[s.sizeIndex_++ % s.sizes_.size()], s.bufferSize_);
    const long length = static_cast<long>(std::min<size_t>(wanted, s.data_->size() - s.offset_));
    std::memcpy(buffer, s.data_->data() + s.offset_, static_cast<size_t>(length));
    sample->SetActualDataLength(length);
    // Times as byte positions, which is how the system File Writer places samples.
    REFERENCE_TIME start = static_cast<REFERENCE_TIME>(s.delivered_.load());
    REFERENCE_TIME stop = start + length;
    sample->SetTime(&start, &stop);
    s.offset_ += static_cast<size_t>(length);
    if (s.offset_ == s.data_->size()) {
        s.offset_ = 0;
        ++s.round_;
    }
    s.delivered_ += static_cast<uint64_t>(length);
    QueryPerformanceCounter(&now);
    s.lastFilled_ = now.QuadPart;
    return S_OK;
}

ByteSource::ByteSource(const std::vector<BYTE>* data, std::vector<long> sizes, long bufferSize,
                       const GUID& majorType, int repeat, double bytesPerSecond)
    : dshow::SourceFilter(nullptr, kByteSourceClsid),
      data_(data),
      sizes_(std::move(sizes)),
      bufferSize_(bufferSize),
      repeat_(data->empty() ? 0 : repeat),
      bytesPerSecond_(bytesPerSecond)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    frequency_ = frequency.QuadPart;
    AddStream(std::make_unique<ByteStream>(this, majorType));
}

}  // namespace scrivet::test
