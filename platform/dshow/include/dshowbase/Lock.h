#pragma once
// The names the writer used before the tree moved to win/Lock.h; the DirectShow base classes
// take win::CritSec. Kept only until writer/ says win::CritSec and win::AutoLock itself.
#include <win/Lock.h>

namespace dshow {

using CritSec = win::CritSec;

// The old guard took the lock by pointer.
class AutoLock : public win::AutoLock {
public:
    explicit AutoLock(win::CritSec* lock) : win::AutoLock(*lock) {}
};

}  // namespace dshow
