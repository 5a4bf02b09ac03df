#include "FileWriterFilter.h"

#include "RunFile.h"
#include "SharedByteCount.h"

#include <new>

namespace scrivet {

namespace {

constexpr long kDefaultBufferSize = 0x10000;
// How long a stop, an end of stream or a teardown waits for the writer thread to finish the
// file; a thread still busy after that (a write hanging on a dead share) finishes alone.
constexpr DWORD kEndOfRunWaitMs = 5000;
// A Receive that the trace reports as blocked.
constexpr double kSlowReceiveMs = 2;

void Trace(const wchar_t* text, HRESULT hr)
{
    wchar_t line[200];
    swprintf(line, 200, L"Scrivet:  %ls (0x%08lX)\r\n", text, static_cast<unsigned long>(hr));
    OutputDebugStringW(line);
}

HRESULT LastError()
{
    const DWORD error = GetLastError();
    return error != 0 ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

// A run that could not start leaves no empty file behind to pass for a recording: not the
// one the name's trial creation made, nor one it created itself. A file that holds data, or
// that another run still has open, stays.
void DiscardEmptyFile(const std::wstring& name)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (name.empty() || !GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &attributes))
        return;
    if (attributes.nFileSizeHigh == 0 && attributes.nFileSizeLow == 0 &&
        !(attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileW(name.c_str());
}

}  // namespace

dshow::INonDelegatingUnknown* FileWriterFilter::Create(IUnknown* outer, HRESULT* hr)
{
    return CreateWith(outer, TheSystemStorage(), hr);
}

dshow::INonDelegatingUnknown* FileWriterFilter::CreateWith(IUnknown* outer, Storage& storage,
                                                           HRESULT* hr)
{
    FileWriterFilter* filter = nullptr;
    try {
        filter = new FileWriterFilter(outer, storage);
    } catch (const std::bad_alloc&) {
        filter = nullptr;
    }
    if (!filter || !filter->pin_) {
        delete filter;
        *hr = E_OUTOFMEMORY;
        return nullptr;
    }
    *hr = S_OK;
    return filter;
}

FileWriterFilter::FileWriterFilter(IUnknown* outer, Storage& storage)
    : dshow::BaseFilter(outer, &filterLock_, CLSID_ScrivetFileWriter),
      storage_(storage),
      runs_(*this),
      pin_(new (std::nothrow) WriterInputPin(this, &filterLock_, name_))
{
}

FileWriterFilter::~FileWriterFilter()
{
    // Runs get a bounded time to finish their files; one that is still busy owns what it
    // uses and no longer reports to this filter.
    if (!runs_.Detach(kEndOfRunWaitMs))
        Trace(L"writer thread still busy as the filter goes", S_FALSE);
    // The pin goes before the clock and the pass-through, which hold pointers into it.
    seeking_.reset();
    pin_.reset();
    sampleClock_ = nullptr;
    clock_.reset();
}

HRESULT STDMETHODCALLTYPE FileWriterFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    win::AutoLock hold(filterLock_);
    if (iid == IID_IFileSinkFilter)
        return GetInterface(static_cast<IFileSinkFilter*>(this), out);
    if (iid == __uuidof(IWriterSizeLimit))
        return GetInterface(static_cast<IWriterSizeLimit*>(this), out);
    if (iid == IID_IBaseFilter || iid == IID_IMediaFilter || iid == IID_IPersist)
        return dshow::BaseFilter::NonDelegatingQueryInterface(iid, out);
    if (iid == IID_IMediaPosition || iid == IID_IMediaSeeking) {
        if (!seeking_) {
            seeking_.reset(new (std::nothrow) dshow::SeekingPassThru(Owner(), pin_.get()));
            if (!seeking_) {
                *out = nullptr;
                return E_OUTOFMEMORY;
            }
        }
        return seeking_->NonDelegatingQueryInterface(iid, out);
    }
    if (iid == IID_IReferenceClock) {
        if (!clock_) {
            clock_.reset(new (std::nothrow) WriterClock(Owner()));
            if (!clock_) {
                *out = nullptr;
                return E_OUTOFMEMORY;
            }
            sampleClock_ = clock_.get();
        }
        return GetInterface(static_cast<IReferenceClock*>(clock_.get()), out);
    }
    return dshow::BaseFilter::NonDelegatingQueryInterface(iid, out);
}

STDMETHODIMP FileWriterFilter::SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*)
{
    // No state check: the caller names the file only while stopped.
    const HRESULT stored = name_.Set(name);
    if (stored != S_OK)
        return stored;
    // Create the file now, so that an unusable name or a locked file fails here.
    if (!OpenForWriting(name, CREATE_ALWAYS, FILE_FLAG_NO_BUFFERING))
        return LastError();
    // A stream upstream holds open moves to the new file.
    return pin_->Stream().Retarget();
}

STDMETHODIMP FileWriterFilter::GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* type)
{
    if (type)
        ZeroMemory(type, sizeof *type);
    return name ? name_.CopyTo(name) : S_OK;
}

STDMETHODIMP FileWriterFilter::SetSizeLimit(LONGLONG limit)
{
    sizeLimit_ = limit;
    return S_OK;
}

STDMETHODIMP FileWriterFilter::GetSizeLimit(LONGLONG* limit)
{
    if (!limit)
        return E_POINTER;
    *limit = sizeLimit_;
    return S_OK;
}

STDMETHODIMP FileWriterFilter::Pause()
{
    win::AutoLock hold(filterLock_);
    if (IsStopped()) {
        // A run that cannot start is reported at once, as a write error: the graph (and the
        // preview in it) runs on, and the application stops the recording it believes in,
        // with the message it shows for any failed write.
        const HRESULT opened = OpenRun();
        if (opened != S_OK) {
            Trace(L"no file for this run", opened);
            NotifyEvent(EC_WRITER_WRITE_ERROR, 0, 0);
        }
    }
    return dshow::BaseFilter::Pause();
}

STDMETHODIMP FileWriterFilter::Stop()
{
    win::AutoLock hold(filterLock_);
    EndRun();
    return dshow::BaseFilter::Stop();
}

STDMETHODIMP FileWriterFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    if (!graph) {
        win::AutoLock hold(filterLock_);
        if (!runs_.Detach(kEndOfRunWaitMs))
            Trace(L"writer thread still busy as the filter leaves its graph", S_FALSE);
    }
    return dshow::BaseFilter::JoinFilterGraph(graph, name);
}

int FileWriterFilter::GetPinCount()
{
    return 1;
}

dshow::BasePin* FileWriterFilter::GetPin(int index)
{
    return index == 0 ? pin_.get() : nullptr;
}

HRESULT FileWriterFilter::OpenRun()
{
    if (runs_.Active())
        return S_OK;
    std::wstring fileName;
    HRESULT hr = E_OUTOFMEMORY;
    try {
        fileName = name_.Get();
        hr = fileName.empty() ? kNameNotConvertible : OpenRunFor(fileName);
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    }
    if (hr != S_OK) {
        try {
            DiscardEmptyFile(fileName);
        } catch (const std::bad_alloc&) {
        }
    }
    return hr;
}

HRESULT FileWriterFilter::OpenRunFor(const std::wstring& fileName)
{
    // The ring first: a run that cannot write must not empty an existing file. Then the file,
    // and only then the free space, which an old file of the same name no longer takes up.
    const VolumeInfo volume = DescribeVolume(fileName, storage_.Volumes());
    long bufferSize = pin_->AllocatorBufferSize();
    if (bufferSize <= 0)
        bufferSize = kDefaultBufferSize;
    if (!runs_.PrepareRing(static_cast<uint32_t>(bufferSize), volume.sectorSize))
        return E_OUTOFMEMORY;

    std::unique_ptr<RunFile> file;
    const DWORD error = storage_.CreateRunFile(fileName, volume.sectorSize, &file);
    if (error != 0)
        return HRESULT_FROM_WIN32(error);
    const std::optional<WriteLimit> limit = LimitForVolume(volume, sizeLimit_, storage_.Volumes());
    if (!limit)
        return LastError();
    SharedByteCount() = 0;
    if (!runs_.Start(std::move(file), *limit, !pin_->CarriesAudio(), SharedByteCount()))
        return LastError();
    return S_OK;
}

void FileWriterFilter::EndRun()
{
    // A thread still busy after the wait goes on by itself and finishes its file; the next
    // run does not wait for it.
    if (!runs_.End(kEndOfRunWaitMs))
        Trace(L"writer thread still busy after the stop", S_FALSE);
}

HRESULT FileWriterFilter::Write(IMediaSample* sample)
{
    if (trace_)
        return TracedWrite(sample);
    win::AutoLock hold(receiveLock_);
    if (WriterClock* clock = sampleClock_.load())
        clock->Advance();
    if (!runs_.Accepting())
        return S_OK;
    BYTE* data = nullptr;
    const HRESULT hr = sample->GetPointer(&data);
    if (FAILED(hr))
        return hr;
    const long length = sample->GetActualDataLength();
    if (length > 0)
        runs_.Put(data, static_cast<size_t>(length));
    return S_OK;
}

HRESULT FileWriterFilter::TracedWrite(IMediaSample* sample)
{
    const int64_t entered = TraceTicks();
    win::AutoLock hold(receiveLock_);
    const int64_t locked = TraceTicks();
    if (WriterClock* clock = sampleClock_.load())
        clock->Advance();
    if (!runs_.Accepting())
        return S_OK;
    BYTE* data = nullptr;
    const HRESULT hr = sample->GetPointer(&data);
    if (FAILED(hr))
        return hr;
    const long length = sample->GetActualDataLength();
    PutTrace put;
    const int64_t putting = TraceTicks();
    if (length > 0)
        runs_.Put(runs_.CurrentTarget(), data, static_cast<size_t>(length), &put);
    const int64_t left = TraceTicks();
    if (TraceMs(left - entered) >= kSlowReceiveMs)
        TraceLine("Receive of %ld bytes blocked %.1f ms: receive lock %.1f, clock %.1f, put %.1f "
                  "(copy %.1f, waking the writer %.1f, %u waits for room %.1f; ring %u bytes filled "
                  "at entry; writer %s for %.1f ms when the wait began)",
                  length, TraceMs(left - entered), TraceMs(locked - entered), TraceMs(putting - locked),
                  TraceMs(left - putting), TraceMs(put.copyTicks), TraceMs(put.wakeTicks), put.spaceWaits,
                  TraceMs(put.spaceWaitTicks), put.filledAtEntry, PhaseName(put.writerPhase),
                  put.writerPhaseMs);
    return S_OK;
}

void FileWriterFilter::EndOfStreamDrain()
{
    win::AutoLock receive(receiveLock_);
    win::AutoLock state(filterLock_);
    EndRun();
}

void FileWriterFilter::ReleaseRing()
{
    runs_.ReleaseRing();
}

void FileWriterFilter::Notify(long code, LONG_PTR param1, LONG_PTR param2)
{
    NotifyEvent(code, param1, param2);
}

}  // namespace scrivet
