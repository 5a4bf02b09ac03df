#include "WriterRuns.h"

#include <algorithm>

namespace scrivet {

WriterRuns::WriterRuns()
{
    InitializeCriticalSection(&targetLock_);
}

WriterRuns::~WriterRuns()
{
    WaitForAll();
    DeleteCriticalSection(&targetLock_);
}

void WriterRuns::WaitForAll()
{
    End(INFINITE);
    lingering_.clear();
}

void WriterRuns::DropFinished()
{
    lingering_.erase(std::remove_if(lingering_.begin(), lingering_.end(),
                                    [](const Run& r) { return r.run->Finished(); }),
                     lingering_.end());
}

bool WriterRuns::PrepareRing(uint32_t bufferSize, uint32_t sectorSize)
{
    DropFinished();
    if (current_)
        return false;
    if (ring_ && ring_->Allocated() && ring_->SectorSize() == sectorSize)
        return true;
    auto ring = std::make_shared<WriteRing>();
    if (!ring->Allocate(bufferSize, sectorSize))
        return false;
    ring_ = std::move(ring);
    return true;
}

bool WriterRuns::Start(std::unique_ptr<RunFile> file, WriteLimit limit, bool repairTail,
                       WriterEventSink& events, std::atomic<uint64_t>& sharedBytes)
{
    if (current_ || !ring_ || !ring_->Allocated())
        return false;
    auto run = std::make_unique<WriterRun>(*ring_, std::move(file), limit, repairTail, events,
                                           sharedBytes);
    if (!run->Start())
        return false;
    current_ = std::move(run);
    EnterCriticalSection(&targetLock_);
    target_ = ring_;
    LeaveCriticalSection(&targetLock_);
    accepting_ = true;
    return true;
}

void WriterRuns::Put(const BYTE* data, size_t length)
{
    if (!accepting_)
        return;
    EnterCriticalSection(&targetLock_);
    std::shared_ptr<WriteRing> ring = target_;
    LeaveCriticalSection(&targetLock_);
    // A ring that its run has closed refuses the sample whole.
    if (ring)
        ring->Put(data, length);
}

bool WriterRuns::End(DWORD timeoutMs)
{
    if (!current_)
        return true;
    accepting_ = false;
    EnterCriticalSection(&targetLock_);
    target_.reset();
    LeaveCriticalSection(&targetLock_);
    if (current_->End(timeoutMs)) {
        current_.reset();
        return true;
    }
    // The run keeps its ring; the next one gets another.
    lingering_.push_back(Run{std::move(ring_), std::move(current_)});
    return false;
}

size_t WriterRuns::Lingering()
{
    DropFinished();
    return lingering_.size();
}

void WriterRuns::ReleaseRing()
{
    if (!current_)
        ring_.reset();
}

}  // namespace scrivet
