#include "WriteRing.h"

#include <algorithm>
#include <cstring>

namespace scrivet {

namespace {

// Scoped hold of a critical section.
class Hold {
public:
    explicit Hold(CRITICAL_SECTION& section) : section_(section) { EnterCriticalSection(&section_); }
    ~Hold() { LeaveCriticalSection(&section_); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    CRITICAL_SECTION& section_;
};

}  // namespace

WriteRing::WriteRing()
    : dataReady_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      spaceReady_(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
    InitializeCriticalSection(&lock_);
}

WriteRing::~WriteRing()
{
    Release();
    if (dataReady_)
        CloseHandle(dataReady_);
    if (spaceReady_)
        CloseHandle(spaceReady_);
    DeleteCriticalSection(&lock_);
}

bool WriteRing::Allocate(uint32_t bufferSize, uint32_t sectorSize)
{
    Release();
    if (sectorSize == 0 || !dataReady_ || !spaceReady_)
        return false;
    const uint64_t wanted = uint64_t{bufferSize} * 10;
    const uint64_t rounded = wanted - wanted % sectorSize;
    if (rounded == 0 || rounded > 0xFFFFFFFFull)
        return false;
    void* memory = VirtualAlloc(nullptr, static_cast<SIZE_T>(rounded), MEM_RESERVE | MEM_COMMIT,
                                PAGE_READWRITE);
    if (!memory)
        return false;
    Hold hold(lock_);
    memory_ = static_cast<BYTE*>(memory);
    capacity_ = static_cast<uint32_t>(rounded);
    sectorSize_ = sectorSize;
    writeIndex_ = readIndex_ = filled_ = 0;
    closed_ = true;
    return true;
}

void WriteRing::Release()
{
    Hold hold(lock_);
    if (memory_)
        VirtualFree(memory_, 0, MEM_RELEASE);
    memory_ = nullptr;
    capacity_ = 0;
    writeIndex_ = readIndex_ = filled_ = 0;
    closed_ = true;
}

void WriteRing::Reset()
{
    Hold hold(lock_);
    writeIndex_ = readIndex_ = filled_ = 0;
    producerWaiting_ = consumerWaiting_ = false;
    closed_ = memory_ == nullptr;
    ResetEvent(dataReady_);
    ResetEvent(spaceReady_);
}

bool WriteRing::Put(const BYTE* data, size_t length)
{
    while (length > 0) {
        bool copied = false;
        bool wakeWriter = false;
        size_t piece = 0;
        {
            Hold hold(lock_);
            producerWaiting_ = false;
            if (closed_)
                return false;
            piece = std::min<size_t>(length, capacity_ - writeIndex_);
            if (filled_ + piece <= capacity_) {
                std::memcpy(memory_ + writeIndex_, data, piece);
                writeIndex_ += static_cast<uint32_t>(piece);
                if (writeIndex_ == capacity_)
                    writeIndex_ = 0;
                filled_ += static_cast<uint32_t>(piece);
                copied = true;
                wakeWriter = consumerWaiting_;
            } else {
                producerWaiting_ = true;
            }
        }
        if (copied) {
            data += piece;
            length -= piece;
            // Signalling costs a trip to the system; a writer that is busy will look anyway.
            if (wakeWriter)
                SetEvent(dataReady_);
        } else {
            WaitForSingleObject(spaceReady_, INFINITE);
        }
    }
    return true;
}

WriteRing::Chunk WriteRing::Take(bool aligned)
{
    Hold hold(lock_);
    Chunk chunk;
    if (filled_ == 0)
        return chunk;
    uint32_t length = std::min(filled_, capacity_ - readIndex_);
    if (aligned)
        length -= length % sectorSize_;
    if (length == 0)
        return chunk;
    chunk.data = memory_ + readIndex_;
    chunk.length = length;
    return chunk;
}

void WriteRing::Consume(uint32_t length)
{
    bool wakeProducer = false;
    {
        Hold hold(lock_);
        readIndex_ += length;
        if (readIndex_ >= capacity_)
            readIndex_ -= capacity_;
        filled_ -= length;
        wakeProducer = producerWaiting_;
    }
    if (wakeProducer)
        SetEvent(spaceReady_);
}

void WriteRing::WaitForData()
{
    {
        Hold hold(lock_);
        if (std::min(filled_, capacity_ - readIndex_) >= sectorSize_)
            return;
        consumerWaiting_ = true;
    }
    WaitForSingleObject(dataReady_, INFINITE);
    Hold hold(lock_);
    consumerWaiting_ = false;
}

void WriteRing::SignalData()
{
    SetEvent(dataReady_);
}

void WriteRing::Close()
{
    {
        Hold hold(lock_);
        closed_ = true;
    }
    SetEvent(spaceReady_);
}

bool WriteRing::Closed()
{
    Hold hold(lock_);
    return closed_;
}

uint32_t WriteRing::Filled()
{
    Hold hold(lock_);
    return filled_;
}

}  // namespace scrivet
