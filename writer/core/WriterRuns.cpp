#include "WriterRuns.h"

#include <algorithm>
#include <new>

namespace scrivet {

WriterRuns::WriterRuns(WriterEventSink& events)
    : sink_(events), relay_(std::make_shared<EventRelay>(events))
{
}

WriterRuns::~WriterRuns()
{
    Detach(0);
}

void WriterRuns::DropFinished()
{
    lingering_.erase(std::remove_if(lingering_.begin(), lingering_.end(),
                                    [](const std::shared_ptr<WriterRun>& r) { return r->Finished(); }),
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
    if (!ring->AllocateBytes(RingBytesFor(bufferSize), sectorSize))
        return false;
    ring_ = std::move(ring);
    return true;
}

bool WriterRuns::Start(std::unique_ptr<RunFile> file, WriteLimit limit, bool repairTail,
                       std::atomic<uint64_t>& sharedBytes)
{
    if (current_ || !ring_ || !ring_->Allocated())
        return false;
    if (!relay_)
        relay_ = std::make_shared<EventRelay>(sink_);
    relay_->Start();
    auto run = std::make_shared<WriterRun>(ring_, std::move(file), limit, repairTail, relay_,
                                           sharedBytes);
    if (!run->Start())
        return false;
    current_ = std::move(run);
    {
        win::AutoLock hold(targetLock_);
        target_ = Target{ring_, current_->Generation()};
    }
    accepting_ = true;
    return true;
}

WriterRuns::Target WriterRuns::CurrentTarget()
{
    win::AutoLock hold(targetLock_);
    return target_;
}

void WriterRuns::Put(const Target& target, const BYTE* data, size_t length, PutTrace* trace)
{
    // A ring that its run has closed, or that a later run has opened again, refuses the
    // sample whole.
    if (target.ring)
        target.ring->Put(data, length, target.generation, trace);
}

bool WriterRuns::End(DWORD timeoutMs)
{
    if (!current_)
        return true;
    accepting_ = false;
    {
        win::AutoLock hold(targetLock_);
        target_ = Target{};
    }
    std::shared_ptr<WriterRun> run = std::move(current_);
    const DWORD start = GetTickCount();
    if (run->End(timeoutMs)) {
        // The run's last events reach the graph before the stop (or the end of the stream,
        // whose completion event comes after them) returns.
        const DWORD waited = GetTickCount() - start;
        if (relay_)
            relay_->Flush(waited < timeoutMs ? timeoutMs - waited : 0);
        return true;
    }
    // The run keeps its ring; the next one gets another. A producer still waiting for room
    // in it is let go. A run that cannot even be listed still finishes by itself: it only
    // goes unwaited for at teardown.
    ring_->Abandon();
    ring_.reset();
    try {
        lingering_.push_back(std::move(run));
    } catch (const std::bad_alloc&) {
    }
    return false;
}

bool WriterRuns::Detach(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    bool finished = End(timeoutMs);
    for (const std::shared_ptr<WriterRun>& run : lingering_) {
        const DWORD waited = GetTickCount() - start;
        const DWORD left = waited < timeoutMs ? timeoutMs - waited : 0;
        finished = run->Wait(left) && finished;
    }
    lingering_.clear();
    if (relay_) {
        const DWORD waited = GetTickCount() - start;
        relay_->Flush(waited < timeoutMs ? timeoutMs - waited : 0);
        relay_->Detach();
        relay_.reset();
    }
    return finished;
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
