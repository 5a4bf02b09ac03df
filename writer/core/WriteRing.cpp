#include "WriteRing.h"

#include "RingMemory.h"

#include <algorithm>
#include <cstring>

namespace scrivet {

WriteRing::WriteRing() = default;

WriteRing::~WriteRing()
{
    Release();
}

uint64_t RingBytesFor(uint32_t bufferSize)
{
    return std::max<uint64_t>(uint64_t{bufferSize} * 10, kRingBudget);
}

bool WriteRing::AllocateBytes(uint64_t bytes, uint32_t sectorSize)
{
    Release();
    if (sectorSize == 0)
        return false;
    const uint64_t rounded = bytes - bytes % sectorSize;
    if (rounded == 0 || rounded > 0xFFFFFFFFull)
        return false;
    BYTE* memory = TakeRingMemory(static_cast<size_t>(rounded));
    if (!memory)
        return false;
    // Every page is touched here, at the start of the run, so that the streaming thread's first
    // copies never wait for the system to supply the pages: the first sample into an untouched
    // ring was seen to take 44 ms.
    std::memset(memory, 0, static_cast<size_t>(rounded));
    win::AutoLock hold(lock_);
    memory_ = memory;
    capacity_ = static_cast<uint32_t>(rounded);
    sectorSize_ = sectorSize;
    const uint32_t batch = std::min(capacity_ / 2, kLargestWrite);
    batch_ = std::max(sectorSize_, batch - batch % sectorSize_);
    writeIndex_ = readIndex_ = filled_ = 0;
    closed_ = true;
    return true;
}

void WriteRing::Release()
{
    win::AutoLock hold(lock_);
    GiveBackRingMemory(memory_, capacity_);
    memory_ = nullptr;
    capacity_ = 0;
    writeIndex_ = readIndex_ = filled_ = 0;
    closed_ = true;
}

uint32_t WriteRing::Reset()
{
    win::AutoLock hold(lock_);
    writeIndex_ = readIndex_ = filled_ = 0;
    producerWaiting_ = consumerWaiting_ = wakeRequested_ = producerBusy_ = abandoned_ = false;
    closed_ = memory_ == nullptr;
    dataReady_.Reset();
    spaceReady_.Reset();
    return ++generation_;
}

uint32_t WriteRing::Generation()
{
    win::AutoLock hold(lock_);
    return generation_;
}

bool WriteRing::Put(const BYTE* data, size_t length)
{
    return Put(data, length, Generation());
}

uint32_t WriteRing::ContiguousSectorsLocked() const
{
    const uint32_t length = std::min(filled_, capacity_ - readIndex_);
    return length - length % sectorSize_;
}

uint32_t WriteRing::BatchLocked() const
{
    return std::min(batch_, capacity_ - readIndex_);
}

bool WriteRing::Put(const BYTE* data, size_t length, uint32_t generation, PutTrace* trace)
{
    bool started = false;
    while (length > 0 || !started) {
        size_t piece = 0;
        uint32_t at = 0;
        bool fits = false;
        {
            win::AutoLock hold(lock_);
            producerWaiting_ = false;
            if (abandoned_) {
                producerBusy_ = false;
                return false;
            }
            if (!started) {
                // The whole sample or none of it: a close that came first refuses it, a
                // close that comes later waits for the rest of it.
                if (closed_ || generation != generation_)
                    return false;
                producerBusy_ = true;
                started = true;
                if (trace)
                    trace->filledAtEntry = filled_;
            }
            piece = std::min<size_t>(length, capacity_ - writeIndex_);
            fits = filled_ + piece <= capacity_;
            if (fits)
                at = writeIndex_;
            else {
                producerWaiting_ = true;
                producerWants_ = static_cast<uint32_t>(piece);
            }
        }
        if (!fits) {
            if (!trace) {
                spaceReady_.Wait(INFINITE);
                continue;
            }
            if (trace->spaceWaits++ == 0) {
                trace->writerPhase = activity_.Phase();
                trace->writerPhaseMs = activity_.MsInPhase();
            }
            const int64_t before = TraceTicks();
            spaceReady_.Wait(INFINITE);
            trace->spaceWaitTicks += TraceTicks() - before;
            continue;
        }
        // The free part of the ring is the producer's alone: the copy needs no lock, so the
        // writer never waits for it to take or consume its chunk.
        const int64_t copying = trace ? TraceTicks() : 0;
        std::memcpy(memory_ + at, data, piece);
        if (trace)
            trace->copyTicks += TraceTicks() - copying;
        bool wakeWriter = false;
        {
            win::AutoLock hold(lock_);
            writeIndex_ = at + static_cast<uint32_t>(piece);
            if (writeIndex_ == capacity_)
                writeIndex_ = 0;
            filled_ += static_cast<uint32_t>(piece);
            if (piece == length)
                producerBusy_ = false;
            // Signalling costs a thread switch: only a consumer that waits, and only once there
            // is what it waits for (or a closing ring waits for this sample).
            // A writer that waits with patience is woken only when the ring is half full: it
            // comes by itself when its patience runs out, and the wake of another thread can
            // cost the streaming thread its processor (seen at 4-12 ms on a busy machine).
            const bool wanted = consumerPatient_ ? filled_ >= capacity_ / 2
                                                 : ContiguousSectorsLocked() >= consumerWants_;
            wakeWriter = consumerWaiting_ && (wanted || (closed_ && !producerBusy_));
            if (wakeWriter)
                consumerWaiting_ = false;
        }
        data += piece;
        length -= piece;
        if (wakeWriter) {
            const int64_t waking = trace ? TraceTicks() : 0;
            dataReady_.Set();
            if (trace)
                trace->wakeTicks += TraceTicks() - waking;
        }
    }
    return true;
}

WriteRing::Chunk WriteRing::Take(bool aligned)
{
    win::AutoLock hold(lock_);
    Chunk chunk;
    if (filled_ == 0)
        return chunk;
    uint32_t length = std::min(filled_, capacity_ - readIndex_);
    if (aligned)
        length = std::min(length, kLargestWrite) - std::min(length, kLargestWrite) % sectorSize_;
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
        win::AutoLock hold(lock_);
        readIndex_ += length;
        if (readIndex_ >= capacity_)
            readIndex_ -= capacity_;
        filled_ -= length;
        // A producer that waits on a full ring is woken once a batch is free, not for every
        // step the writer hands back: each wake is a thread switch for both sides, and the
        // writer still has the other half of the ring to write meanwhile.
        wakeProducer = producerWaiting_ && capacity_ - filled_ >= std::max(producerWants_, batch_);
        if (wakeProducer)
            producerWaiting_ = false;
    }
    if (wakeProducer)
        spaceReady_.Set();
}

void WriteRing::WaitForData(DWORD patienceMs)
{
    // Patience runs from the writer's last write, not from the first new sector: a stream
    // too slow to fill a batch within the patience is written when the patience runs out,
    // and its producer never wakes the writer for it (waking another thread can cost the
    // streaming thread its processor on a busy machine). Only a ring left empty for a whole
    // patience waits for a sector, and the data that then comes gets its patience anew.
    DWORD since = GetTickCount();
    for (;;) {
        DWORD timeout = INFINITE;
        bool idle = false;
        {
            win::AutoLock hold(lock_);
            if (wakeRequested_) {
                wakeRequested_ = false;
                return;
            }
            const uint32_t ready = ContiguousSectorsLocked();
            if (capacity_ == 0 || ready >= BatchLocked())
                return;
            const DWORD waited = GetTickCount() - since;
            if (waited < patienceMs) {
                timeout = patienceMs - waited;
                consumerWants_ = BatchLocked();
                consumerPatient_ = true;
            } else if (ready > 0) {
                return;
            } else {
                idle = true;
                consumerWants_ = sectorSize_;
                consumerPatient_ = false;
            }
            consumerWaiting_ = true;
        }
        dataReady_.Wait(timeout);
        {
            win::AutoLock hold(lock_);
            consumerWaiting_ = false;
        }
        if (idle)
            since = GetTickCount();
    }
}

void WriteRing::SignalData()
{
    {
        win::AutoLock hold(lock_);
        wakeRequested_ = true;
    }
    dataReady_.Set();
}

bool WriteRing::Close()
{
    win::AutoLock hold(lock_);
    closed_ = true;
    return !producerBusy_;
}

void WriteRing::WaitForProducer()
{
    {
        win::AutoLock hold(lock_);
        if (!producerBusy_ || ContiguousSectorsLocked() > 0)
            return;
        consumerWants_ = sectorSize_;
        consumerPatient_ = false;
        consumerWaiting_ = true;
    }
    dataReady_.Wait(INFINITE);
    win::AutoLock hold(lock_);
    consumerWaiting_ = false;
}

void WriteRing::Abandon()
{
    bool wakeProducer = false;
    {
        win::AutoLock hold(lock_);
        abandoned_ = closed_ = true;
        wakeProducer = producerWaiting_;
    }
    if (wakeProducer)
        spaceReady_.Set();
}

bool WriteRing::Closed()
{
    win::AutoLock hold(lock_);
    return closed_;
}

uint32_t WriteRing::Filled()
{
    win::AutoLock hold(lock_);
    return filled_;
}

}  // namespace scrivet
