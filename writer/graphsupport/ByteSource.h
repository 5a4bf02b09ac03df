#pragma once
// A test source filter that pushes a given byte sequence downstream in samples whose sizes
// follow a repeating pattern, then ends the stream. It measures how long each delivery took,
// which is how long the downstream Receive blocked.
#include <dshowbase/PushSource.h>

#include <atomic>
#include <vector>

namespace scrivet::test {

class ByteSource;

class ByteStream final : public dshow::SourceStream {
public:
    ByteStream(ByteSource* filter, const GUID& majorType);


    HRESULT CheckMediaType(const dshow::MediaType& type) override;
    HRESULT GetMediaType(int position, dshow::MediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT FillBuffer(IMediaSample* sample) override;
    // Every run pushes the bytes from the start again.
    HRESULT OnThreadStart() override;

private:
    ByteSource* source_;
    GUID majorType_;
};

class ByteSource final : public dshow::SourceFilter {
public:
    // `data` is pushed `repeat` times; samples cycle through `sizes` (each at most the
    // buffer size). With `bytesPerSecond` the source keeps that pace, as a capture does.
    ByteSource(const std::vector<BYTE>* data, std::vector<long> sizes, long bufferSize,
               const GUID& majorType, int repeat = 1, double bytesPerSecond = 0);

    IPin* OutputPin() { return GetPin(0); }
    uint64_t BytesDelivered() const { return delivered_; }
    bool Finished() const { return finished_; }
    // Longest single delivery (downstream Receive and the wait for the next buffer, not the
    // pacing), in microseconds.
    double LongestDeliveryUs() const { return longestTicks_ * 1e6 / frequency_; }

private:
    friend class ByteStream;
    const std::vector<BYTE>* data_;
    std::vector<long> sizes_;
    long bufferSize_;
    int repeat_;
    size_t offset_ = 0;
    size_t sizeIndex_ = 0;
    int round_ = 0;
    std::atomic<uint64_t> delivered_{0};
    std::atomic<bool> finished_{false};
    LONGLONG lastFilled_ = 0;
    LONGLONG longestTicks_ = 0;
    LONGLONG frequency_ = 1;
    double bytesPerSecond_ = 0;
    LONGLONG started_ = 0;
};


}  // namespace scrivet::test
