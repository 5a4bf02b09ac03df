#include "SourceDetection.h"

#include <objbase.h>

#include "Trace.h"

namespace media {

struct SourceDetection::Job {
    SourceDetection* owner;
    unsigned id;
    std::vector<int> candidates;
    std::shared_ptr<VideoStandardEngine> engine;
    bool keepFound;
};

SourceDetection& SourceDetection::Instance()
{
    static SourceDetection detection;
    return detection;
}

unsigned SourceDetection::Begin(std::vector<int> candidates)
{
    win::AutoLock lock(lock_);
    result_ = kSearching;
    index_ = 0;
    candidates_ = std::move(candidates);
    return ++searchId_;
}

bool SourceDetection::StartWorker(unsigned id, std::shared_ptr<VideoStandardEngine> engine, bool keepFound)
{
    auto job = std::make_unique<Job>();
    job->owner = this;
    job->id = id;
    job->candidates = Candidates();
    job->engine = std::move(engine);
    job->keepFound = keepFound;
    ReleaseFinishedWorkers();
    win::Handle thread(CreateThread(nullptr, 0, WorkerMain, job.get(), 0, nullptr));
    if (!thread) {
        Publish(id, kNothingFound);
        return false;
    }
    job.release();  // the worker owns it now
    win::AutoLock lock(lock_);
    workers_.push_back(std::move(thread));
    return true;
}

DWORD WINAPI SourceDetection::WorkerMain(void* param)
{
    std::unique_ptr<Job> job(static_cast<Job*>(param));
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    job->owner->Run(*job);
    DebugLine("Ending DetectVideoSourceThread");
    job.reset();  // the engine may go with the last reference, before COM does
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}

void SourceDetection::Run(Job& job)
{
    DebugLine("About to start DetectVideoSourceThread");
    if (!Current(job.id) || !job.engine)
        return;
    VideoStandardEngine& engine = *job.engine;
    const unsigned generation = engine.Guard().Generation();
    const SourceSnapshot before = engine.Snapshot();
    int found = kNothingFound;
    for (size_t i = 0; i < job.candidates.size(); ++i) {
        // A closed dialog or a graph being torn down ends the search between probes.
        if (!Current(job.id) || engine.Guard().Generation() != generation)
            break;
        DebugLine("Inside DetectVideoSourceThread");
        SetIndex(job.id, static_cast<int>(i));
        const int source = job.candidates[i];
        if (source == kTunerSource || source == before.source)
            continue;
        if (engine.CheckVidPresent(nullptr, source)) {
            found = source;
            break;
        }
    }
    // A probe that found nothing has already put the device back; a find is undone unless the
    // caller is going to switch to it.
    const bool switching = job.keepFound && Current(job.id);
    if (found >= 0 && !switching)
        engine.Restore(before);
    Publish(job.id, found);
}

bool SourceDetection::Current(unsigned id) const
{
    win::AutoLock lock(lock_);
    return id == searchId_;
}

void SourceDetection::SetIndex(unsigned id, int index)
{
    win::AutoLock lock(lock_);
    if (id == searchId_)
        index_ = index;
}

void SourceDetection::Publish(unsigned id, int result)
{
    win::AutoLock lock(lock_);
    if (id == searchId_)
        result_ = result;
}

int SourceDetection::Result() const
{
    win::AutoLock lock(lock_);
    return result_;
}

int SourceDetection::Index() const
{
    win::AutoLock lock(lock_);
    return index_;
}

std::vector<int> SourceDetection::Candidates() const
{
    win::AutoLock lock(lock_);
    return candidates_;
}

void SourceDetection::Cancel()
{
    win::AutoLock lock(lock_);
    ++searchId_;
    result_ = kSearching;
    index_ = 0;
}

void SourceDetection::ReleaseFinishedWorkers()
{
    win::AutoLock lock(lock_);
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (WaitForSingleObject(it->Get(), 0) == WAIT_OBJECT_0)
            it = workers_.erase(it);
        else
            ++it;
    }
}

bool SourceDetection::WaitForWorkers(DWORD timeoutMs)
{
    std::vector<HANDLE> handles;
    {
        win::AutoLock lock(lock_);
        for (const win::Handle& h : workers_)
            handles.push_back(h.Get());
    }
    const bool ended =
        handles.empty() || WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE, timeoutMs) == WAIT_OBJECT_0;
    ReleaseFinishedWorkers();
    return ended;
}

int SourceDetection::RunningWorkers()
{
    ReleaseFinishedWorkers();
    win::AutoLock lock(lock_);
    return static_cast<int>(workers_.size());
}

}  // namespace media
