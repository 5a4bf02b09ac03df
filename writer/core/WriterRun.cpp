#include "WriterRun.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace scrivet {

namespace {

// How long a slow stream's first whole sector may wait for more before it is written.
constexpr DWORD kWritePatienceMs = 100;
// What the trace reports as a slow event post and a slow write.
constexpr double kSlowPostMs = 2;
constexpr double kSlowWriteMs = 100;

bool MeansDiskFull(DWORD error)
{
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}

// What the thread holds: its run, and a reference on the module whose code it runs, so that
// the plug-in is not unloaded under a thread that outlives every filter.
struct ThreadStart {
    std::shared_ptr<WriterRun> run;
    HMODULE module = nullptr;
};

}  // namespace

WriterRun::WriterRun(std::shared_ptr<WriteRing> ring, std::unique_ptr<RunFile> file,
                     WriteLimit limit, bool repairTail, std::shared_ptr<WriterEventSink> events,
                     std::atomic<uint64_t>& sharedBytes)
    : ring_(std::move(ring)),
      file_(std::move(file)),
      limit_(limit),
      repairTail_(repairTail),
      events_(std::move(events)),
      sharedBytes_(sharedBytes)
{
}

bool WriterRun::Start()
{
    auto* start = new (std::nothrow) ThreadStart;
    if (!start)
        return false;
    try {
        start->run = shared_from_this();
    } catch (const std::bad_weak_ptr&) {
        delete start;
        return false;
    }
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&WriterRun::ThreadMain), &start->module);
    generation_ = ring_->Reset();
    running_ = true;
    thread_.Reset(CreateThread(nullptr, 0, &WriterRun::ThreadMain, start, 0, nullptr));
    if (!thread_) {
        running_ = false;
        ring_->Close();
        if (start->module)
            FreeLibrary(start->module);
        delete start;
        return false;
    }
    return true;
}

bool WriterRun::End(DWORD timeoutMs)
{
    running_ = false;
    ring_->SignalData();
    return Wait(timeoutMs);
}

bool WriterRun::Wait(DWORD timeoutMs) const
{
    return !thread_ || WaitForSingleObject(thread_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD WINAPI WriterRun::ThreadMain(void* start)
{
    HMODULE module = nullptr;
    {
        std::unique_ptr<ThreadStart> held(static_cast<ThreadStart*>(start));
        module = held->module;
        held->run->Loop();
        // The last reference may go here, and with it the ring, the file and the sink.
    }
    if (module)
        FreeLibraryAndExitThread(module, 0);
    return 0;
}

void WriterRun::Loop()
{
    for (;;) {
        if (running_) {
            ring_->Activity().Enter(WriterPhase::Waiting);
            ring_->WaitForData(kWritePatienceMs);
        }
        const WriteRing::Chunk chunk = ring_->Take(true);
        if (chunk.length > 0) {
            Process(chunk);
            continue;
        }
        if (running_)
            continue;
        // Close the ring before the last look, so that no byte can slip in after it; a
        // sample that is still being put goes in whole first.
        if (ring_->Close() && ring_->Take(true).length == 0)
            break;
        ring_->WaitForProducer();
    }
    ring_->Activity().Enter(WriterPhase::Finishing);
    FinishFile();
    ring_->Activity().Enter(WriterPhase::Idle);
}

void WriterRun::Process(const WriteRing::Chunk& chunk)
{
    if (stopEvent_ != 0) {
        // Keep draining so that the streaming thread never waits for good.
        ring_->Consume(chunk.length);
        return;
    }
    // A chunk that would pass the limit is written up to the last whole sector before it, so
    // the file ends at the limit however large the ring's chunks are.
    const uint64_t room = Room();
    const bool reachesLimit = chunk.length > room;
    const uint32_t length =
        reachesLimit ? static_cast<uint32_t>(room - room % ring_->SectorSize()) : chunk.length;
    uint32_t consumed = 0;
    if (length > 0) {
        const uint64_t total = sharedBytes_.load() + length;
        const int64_t posting = trace_ ? TraceTicks() : 0;
        ring_->Activity().Enter(WriterPhase::Queuing);
        events_->Notify(EC_WRITER_PROGRESS, static_cast<LONG_PTR>(total >> 32),
                        static_cast<LONG_PTR>(total & 0xFFFFFFFF));
        const int64_t writing = trace_ ? TraceTicks() : 0;
        ring_->Activity().Enter(WriterPhase::Writing);
        // Written in steps, each given back to the ring once it is on disk: the streaming
        // thread need not wait for the whole write when the ring is full.
        DWORD error = 0;
        while (consumed < length && error == 0) {
            const uint32_t step = std::min(length - consumed, kConsumeStep);
            DWORD written = 0;
            error = file_->WriteSectors(chunk.data + consumed, step, &written);
            if (error == 0) {
                fileBytes_ += written;
                sharedBytes_ += written;
                ring_->Consume(step);
                consumed += step;
            }
        }
        if (trace_)
            TraceSlowWrite(posting, writing, length);
        if (error != 0)
            Stop(MeansDiskFull(error) ? EC_WRITER_DISK_FULL : EC_WRITER_WRITE_ERROR);
    }
    if (reachesLimit && stopEvent_ == 0)
        Stop(LimitEvent(limit_.reason));
    ring_->Consume(chunk.length - consumed);
}

void WriterRun::TraceSlowWrite(int64_t posting, int64_t writing, uint32_t length)
{
    const double postMs = TraceMs(writing - posting);
    const double writeMs = TraceMs(TraceTicks() - writing);
    if (postMs >= kSlowPostMs || writeMs >= kSlowWriteMs)
        TraceLine("write of %u bytes took %.1f ms, queuing its progress event %.1f ms; ring %u bytes filled",
                  length, writeMs, postMs, ring_->Filled());
}

uint64_t WriterRun::Room() const
{
    const uint64_t limit = limit_.bytes > 0 ? static_cast<uint64_t>(limit_.bytes) : 0;
    const uint64_t shared = sharedBytes_.load();
    return limit > shared ? limit - shared : 0;
}

void WriterRun::Stop(long event)
{
    events_->Notify(event, 0, 0);
    stopEvent_ = event;
}

void WriterRun::FinishFile()
{
    const WriteRing::Chunk rest = ring_->Take(false);
    if (stopEvent_ == 0 && rest.length > 0) {
        // A whole sector from the chunk's start; the cut below drops the bytes past the data.
        if (rest.length > Room()) {
            Stop(LimitEvent(limit_.reason));
        } else {
            const uint64_t total = sharedBytes_.load() + rest.length;
            events_->Notify(EC_WRITER_PROGRESS, static_cast<LONG_PTR>(total >> 32),
                            static_cast<LONG_PTR>(total & 0xFFFFFFFF));
            // The rest of the sector is cut off below; until then it holds zeros, not bytes
            // of an earlier recording that used the same ring memory.
            std::memset(rest.data + rest.length, 0, ring_->SectorSize() - rest.length);
            DWORD written = 0;
            const DWORD error = file_->WriteSectors(rest.data, ring_->SectorSize(), &written);
            if (error == 0) {
                fileBytes_ += rest.length;
                sharedBytes_ += rest.length;
            } else {
                Stop(MeansDiskFull(error) ? EC_WRITER_DISK_FULL : EC_WRITER_WRITE_ERROR);
            }
        }
    }
    if (rest.length > 0)
        ring_->Consume(rest.length);
    // Even after a failed write the file is cut to the bytes that hold data and repaired, so
    // that it never ends in stale sector bytes. A stream the writer stopped itself was cut
    // wherever the limit or the failure fell, not where its source chose to end it.
    FinishRule rule;
    rule.repairTail = repairTail_;
    rule.wholePicture = stopEvent_ != 0;
    uint64_t length = fileBytes_.load();
    rule.maxLength = length + Room();
    const DWORD error = file_->Finish(length, rule);
    fileBytes_ = length;
    // A file that could not be finished is damaged: the user hears of it, unless a failed
    // write has already told them the recording went wrong.
    if (error != 0 && stopEvent_ != EC_WRITER_WRITE_ERROR && stopEvent_ != EC_WRITER_DISK_FULL)
        Stop(EC_WRITER_WRITE_ERROR);
}

}  // namespace scrivet
