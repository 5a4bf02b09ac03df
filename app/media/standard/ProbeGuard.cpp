#include "ProbeGuard.h"

namespace media {

ProbeGuard::ProbeGuard() : slot_(CreateSemaphoreW(nullptr, 1, 1, nullptr)) {}

bool ProbeGuard::Enter(DWORD timeoutMs)
{
    return slot_ && WaitForSingleObject(slot_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

void ProbeGuard::Leave()
{
    if (slot_)
        ReleaseSemaphore(slot_.Get(), 1, nullptr);
}

bool ProbeGuard::StopProbers(DWORD timeoutMs)
{
    ++generation_;
    return Enter(timeoutMs);
}

}  // namespace media
