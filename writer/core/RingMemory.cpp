#include "RingMemory.h"

#include <win/Lock.h>

namespace scrivet {

namespace {

// One block at most: a process records through one writer at a time, and rarely two.
class KeptBlock {
public:
    ~KeptBlock() { Free(memory_); }

    BYTE* Take(size_t bytes)
    {
        win::AutoLock hold(lock_);
        if (!memory_ || bytes_ != bytes)
            return nullptr;
        BYTE* memory = memory_;
        memory_ = nullptr;
        return memory;
    }

    // Returns the block it no longer keeps (the earlier one, or this one), for freeing.
    BYTE* Keep(BYTE* memory, size_t bytes)
    {
        win::AutoLock hold(lock_);
        BYTE* dropped = memory_;
        memory_ = memory;
        bytes_ = bytes;
        return dropped;
    }

    static void Free(BYTE* memory)
    {
        if (memory)
            VirtualFree(memory, 0, MEM_RELEASE);
    }

private:
    win::CritSec lock_;
    BYTE* memory_ = nullptr;
    size_t bytes_ = 0;
};

KeptBlock& Kept()
{
    static KeptBlock kept;
    return kept;
}

}  // namespace

BYTE* TakeRingMemory(size_t bytes)
{
    if (BYTE* memory = Kept().Take(bytes))
        return memory;
    return static_cast<BYTE*>(VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
}

void GiveBackRingMemory(BYTE* memory, size_t bytes)
{
    if (!memory)
        return;
    KeptBlock::Free(bytes <= kLargestKeptRing ? Kept().Keep(memory, bytes) : memory);
}

}  // namespace scrivet
