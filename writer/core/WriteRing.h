#pragma once
// The ring between the streaming thread (producer) and the writer thread (consumer).
// Capacity is a whole number of sectors and the memory is page aligned, so every
// sector-aligned offset is a valid address for an unbuffered write.
#include "AutoResetSignal.h"
#include "RunTrace.h"

#include <win/Lock.h>

#include <windows.h>

#include <cstdint>

namespace scrivet {

// Ring memory for a connection whose allocator hands out `bufferSize`-byte samples: ten of
// them, and never less than about four seconds of the fastest stream a capture device makes
// (15 Mbit/s), so that a disk held up by another program's writes does not hold up the
// streaming thread: ten of a capture device's usual 16-64 KiB buffers last only tens of
// milliseconds at a fast rate.
constexpr uint32_t kRingBudget = 8u << 20;
uint64_t RingBytesFor(uint32_t bufferSize);
// The most the writer takes for one write, and so the bytes between two progress events at
// high rates: each event is a trip through the graph's event queue, which costs the graph and
// its reader about 80-100 us of processor time, as much as writing a megabyte. The system gets
// the write in smaller pieces (kLargestSystemWrite), and the ring gets its space back in steps
// of kConsumeStep while the write goes on, so a large write does not hold the streaming thread.
constexpr uint32_t kLargestWrite = 4u << 20;
constexpr uint32_t kConsumeStep = 1u << 20;

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

    // `bytes` rounded down to whole sectors. False (and nothing allocated) when that rounds
    // to 0, passes 4 GiB or the memory cannot be committed.
    bool AllocateBytes(uint64_t bytes, uint32_t sectorSize);
    // Ten buffers of `bufferSize`, as AllocateBytes.
    bool Allocate(uint32_t bufferSize, uint32_t sectorSize) { return AllocateBytes(uint64_t{bufferSize} * 10, sectorSize); }
    void Release();
    bool Allocated() const { return memory_ != nullptr; }
    uint32_t Capacity() const { return capacity_; }
    uint32_t SectorSize() const { return sectorSize_; }

    // Empties the ring and opens it to the producer for a new run; returns the run's
    // generation, which changes with every reset.
    uint32_t Reset();
    uint32_t Generation();

    // Producer: copies every byte in, waiting for space as needed. A sample goes in whole or,
    // when the ring was closed before it came or now serves a later run than `generation`
    // (a producer that stalled across a stop and a new start), not at all (false).
    // With `trace`, what the put met is recorded there.
    bool Put(const BYTE* data, size_t length, uint32_t generation, PutTrace* trace = nullptr);
    // The same for the run the ring serves now.
    bool Put(const BYTE* data, size_t length);

    // Consumer: the next contiguous block, in aligned mode only whole sectors and at most
    // kLargestWrite.
    Chunk Take(bool aligned);
    void Consume(uint32_t length);
    // Waits until `patienceMs` have passed (since the call, or since data came to a ring idle
    // that long) and a whole sector is there, or the ring is half full, or SignalData is
    // called; it returns at once when a batch is in (half the ring or kLargestWrite, whichever
    // is less, or all of the ring up to its end).
    // Fewer, larger writes keep the cost of each write and its progress event small at high
    // rates, and the patience keeps a slow stream's data from waiting long in memory.
    void WaitForData(DWORD patienceMs);
    void SignalData();

    // No sample is accepted any more. A sample being put goes in whole: Close returns false
    // while one is, and the consumer should drain, wait (WaitForProducer) and try again.
    bool Close();
    void WaitForProducer();
    bool Closed();
    // The consumer is given up on (its writes hang): a producer waiting for space returns at
    // once, and no more bytes go in, not even the rest of a sample under way.
    void Abandon();

    uint32_t Filled();

    // What the consumer is doing, for the trace of a producer that had to wait.
    WriterActivity& Activity() { return activity_; }

private:
    // Whole sectors that lie in one piece from the read index; the lock is held.
    uint32_t ContiguousSectorsLocked() const;
    uint32_t BatchLocked() const;

    BYTE* memory_ = nullptr;
    uint32_t capacity_ = 0;
    uint32_t sectorSize_ = 512;
    uint32_t writeIndex_ = 0;
    uint32_t readIndex_ = 0;
    uint32_t filled_ = 0;
    uint32_t batch_ = 0;
    bool closed_ = true;
    uint32_t generation_ = 0;
    bool abandoned_ = false;
    bool producerBusy_ = false;  // a Put is under way
    // Each side signals the other only when it waits, and only for what it waits for.
    bool producerWaiting_ = false;
    uint32_t producerWants_ = 0;  // the free bytes its piece needs
    bool consumerWaiting_ = false;
    uint32_t consumerWants_ = 0;  // contiguous whole-sector bytes that wake the consumer
    bool consumerPatient_ = false;  // it wakes by itself when its patience runs out
    bool wakeRequested_ = false;  // SignalData was called
    win::CritSec lock_;
    AutoResetSignal dataReady_;   // producer to writer, and the end of a run to the writer
    AutoResetSignal spaceReady_;  // writer to producer
    WriterActivity activity_;
};

}  // namespace scrivet
