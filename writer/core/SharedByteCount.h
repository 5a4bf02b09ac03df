#pragma once
// The byte count that every writer instance in the process shares: reset when any instance
// opens a file for a run, increased by every instance's successful writes. The limit test and
// the progress event read it.
#include <atomic>
#include <cstdint>

namespace scrivet {

std::atomic<uint64_t>& SharedByteCount();

}  // namespace scrivet
