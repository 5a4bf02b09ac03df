#pragma once
// The ring between the streaming thread (producer) and the writer thread (consumer).
// Capacity is a whole number of sectors and the memory is page aligned, so every
// sector-aligned offset is a valid address for an unbuffered write.
#include <windows.h>

#include <cstdint>

namespace scrivet {

class WriteRing {
public:
    struct Chunk {
        BYTE* data = nullptr;
        uint32_t length = 0;
    };

    WriteRing();
    ~WriteRing();
    WriteRing(const WriteRing&) = delete;
    WriteRing& operator=(const WriteRing&) = delete;

    // Ten buffers of `bufferSize`, rounded down to whole sectors. False (and nothing
    // allocated) when that rounds to 0 or the memory cannot be committed.
    bool Allocate(uint32_t bufferSize, uint32_t sectorSize);
    void Release();
    bool Allocated() const { return memory_ != nullptr; }
    uint32_t Capacity() const { return capacity_; }
    uint32_t SectorSize() const { return sectorSize_; }

    // Empties the ring and opens it to the producer for a new run.
    void Reset();

    // Producer: copies every byte in, waiting for space as needed. Returns false, with the
    // rest dropped, once the ring has been closed (the writer thread is gone or going).
    bool Put(const BYTE* data, size_t length);

    // Consumer: the next contiguous block, in aligned mode only whole sectors.
    Chunk Take(bool aligned);
    void Consume(uint32_t length);
    // Waits until a whole sector is in or SignalData is called.
    void WaitForData();
    void SignalData();

    // No more bytes are accepted; a producer waiting for space returns at once.
    void Close();
    bool Closed();

    uint32_t Filled();

private:
    BYTE* memory_ = nullptr;
    uint32_t capacity_ = 0;
    uint32_t sectorSize_ = 512;
    uint32_t writeIndex_ = 0;
    uint32_t readIndex_ = 0;
    uint32_t filled_ = 0;
    bool closed_ = true;
    // Each side signals the other only when it waits.
    bool producerWaiting_ = false;
    bool consumerWaiting_ = false;
    CRITICAL_SECTION lock_;
    HANDLE dataReady_;
    HANDLE spaceReady_;
};

}  // namespace scrivet
