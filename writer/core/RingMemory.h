#pragma once
// Page-aligned memory for write rings, kept for the next ring when one is released. Every
// recording gets a new writer, and so a new ring; the first touch of each page of newly
// committed memory costs far more than a copy into it (on a virtual machine, tens of
// microseconds a page: some 30 ms of processor time for a ring of 8 MiB), and a writer
// that starts on fresh memory pays it on the streaming thread.
#include <windows.h>

#include <cstddef>

namespace scrivet {

// The largest block kept for reuse; larger rings are released at once.
constexpr size_t kLargestKeptRing = 32u << 20;

// Committed, page-aligned memory of exactly `bytes`: the block last given back when it has
// that size, else new memory. Null when it cannot be committed.
BYTE* TakeRingMemory(size_t bytes);
// Ends the caller's use of a block from TakeRingMemory: it is kept for the next ring (in
// place of any block kept before) unless it is larger than kLargestKeptRing.
void GiveBackRingMemory(BYTE* memory, size_t bytes);

}  // namespace scrivet
