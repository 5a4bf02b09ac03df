#include "SharedByteCount.h"

namespace scrivet {

std::atomic<uint64_t>& SharedByteCount()
{
    static std::atomic<uint64_t> count{0};
    return count;
}

}  // namespace scrivet
