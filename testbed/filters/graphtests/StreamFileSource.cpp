#include "StreamFileSource.h"

#include <uuids.h>

#include <algorithm>
#include <cstring>

#include "TestFiles.h"

namespace graphtest {
namespace {

// {6C3B5E1A-1D2F-4B7E-9A51-2F0C8D4E7B31}, never registered: made directly by the tests.
constexpr CLSID kClsidStreamFileSource = {0x6C3B5E1A, 0x1D2F, 0x4B7E, {0x9A, 0x51, 0x2F, 0x0C, 0x8D, 0x4E, 0x7B, 0x31}};

class FileStream : public dshow::SourceStream {
public:
    FileStream(dshow::SourceFilter* filter, std::vector<uint8_t> bytes, size_t chunk, double bytesPerSecond)
        : dshow::SourceStream(filter, L"MPEG Stream"), bytes_(std::move(bytes)), chunk_(chunk),
          bytesPerSecond_(bytesPerSecond)
    {
    }

    HRESULT CheckMediaType(const dshow::MediaType& type) override
    {
        return type.majortype == MEDIATYPE_Stream ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT GetMediaType(int position, dshow::MediaType* type) override
    {
        if (position < 0) return E_INVALIDARG;
        if (position > 0) return VFW_S_NO_MORE_ITEMS;
        *type = dshow::MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM);
        return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override
    {
        request->cBuffers = std::max<long>(request->cBuffers, 8);
        request->cbBuffer = std::max<long>(request->cbBuffer, long(chunk_));
        request->cbAlign = std::max<long>(request->cbAlign, 1);
        ALLOCATOR_PROPERTIES actual = {};
        return allocator->SetProperties(request, &actual);
    }
    HRESULT OnThreadStart() override
    {
        position_ = 0;
        started_ = false;
        return S_OK;
    }
    HRESULT FillBuffer(IMediaSample* sample) override
    {
        if (position_ >= bytes_.size()) return S_FALSE;
        if (bytesPerSecond_ > 0) {
            // Real time from the first chunk (delivered while paused, so Wine's graph, which
            // runs only once every renderer holds a sample, can start).
            if (!started_) {
                startTick_ = GetTickCount();
                started_ = true;
            }
            const DWORD due = startTick_ + DWORD(double(position_) * 1000.0 / bytesPerSecond_);
            const LONG wait = LONG(due - GetTickCount());
            if (wait > 0) Sleep(DWORD(wait));
        }
        BYTE* dst = nullptr;
        sample->GetPointer(&dst);
        const size_t n = std::min({chunk_, bytes_.size() - position_, size_t(sample->GetSize())});
        std::memcpy(dst, bytes_.data() + position_, n);
        sample->SetActualDataLength(long(n));
        // Byte positions as times, as a stream source gives them to a file writer.
        REFERENCE_TIME start = REFERENCE_TIME(position_), stop = REFERENCE_TIME(position_ + n);
        sample->SetTime(&start, &stop);
        position_ += n;
        return S_OK;
    }

private:
    std::vector<uint8_t> bytes_;
    size_t chunk_;
    double bytesPerSecond_;
    size_t position_ = 0;
    bool started_ = false;
    DWORD startTick_ = 0;
};

}  // namespace

StreamFileSource::StreamFileSource() : dshow::SourceFilter(nullptr, kClsidStreamFileSource) {}

IBaseFilter* StreamFileSource::Create(const std::string& path, size_t chunk, double bytesPerSecond)
{
    std::vector<uint8_t> bytes = filtertest::ReadWholeFile(path);
    if (bytes.empty()) return nullptr;
    auto* source = new StreamFileSource();
    source->AddStream(std::make_unique<FileStream>(source, std::move(bytes), chunk, bytesPerSecond));
    IBaseFilter* filter = nullptr;
    source->NonDelegatingQueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter));
    return filter;
}

}  // namespace graphtest
