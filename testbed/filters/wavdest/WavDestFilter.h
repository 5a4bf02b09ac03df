#pragma once
// "Corvale Wav Dest": wraps PCM audio into a WAV file stream for a file writer. Its output is a
// byte stream whose samples carry their file positions as times, as a file writer places them:
// the sample data after the header, and after every sample the header again with the sizes so
// far, so that the file is complete whenever the graph stops (with or without end of stream).
#include <dshowbase/TransformFilter.h>

#include <cstdint>
#include <vector>

namespace testbed {

class WavDestFilter : public dshow::TransformFilter {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);

    HRESULT CheckInputType(const dshow::MediaType& input) override;
    HRESULT CheckTransform(const dshow::MediaType& input, const dshow::MediaType& output) override;
    HRESULT GetMediaType(int position, dshow::MediaType* output) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT Transform(IMediaSample* input, IMediaSample* output) override;
    HRESULT SetMediaType(PIN_DIRECTION direction, const dshow::MediaType& type) override;

    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;
    HRESULT StartStreaming() override;

    static constexpr long kOutputBufferBytes = 64 * 1024;

private:
    explicit WavDestFilter(IUnknown* outer);
    // Delivers `size` bytes to be written at file offset `position`, in as many samples as needed.
    HRESULT DeliverAt(uint64_t position, const uint8_t* data, size_t size);
    HRESULT DeliverHeader();

    std::vector<uint8_t> format_;  // the input's wave format
    size_t headerBytes_ = 0;
    uint64_t dataBytes_ = 0;       // written after the header so far
};

}  // namespace testbed
