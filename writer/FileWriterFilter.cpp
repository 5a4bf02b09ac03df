#include "FileWriterFilter.h"

#include "FileName.h"
#include "RunFile.h"
#include "SharedByteCount.h"

#include <new>

namespace scrivet {

namespace {

constexpr long kDefaultBufferSize = 0x10000;
constexpr DWORD kEndOfRunWaitMs = 5000;

void Trace(const wchar_t* text, HRESULT hr)
{
    wchar_t line[200];
    swprintf(line, 200, L"Scrivet:  %ls (0x%08lX)\r\n", text, static_cast<unsigned long>(hr));
    OutputDebugStringW(line);
}

}  // namespace

dshow::INonDelegatingUnknown* FileWriterFilter::Create(IUnknown* outer, HRESULT* hr)
{
    auto* filter = new (std::nothrow) FileWriterFilter(outer);
    if (!filter || !filter->pin_) {
        delete filter;
        *hr = E_OUTOFMEMORY;
        return nullptr;
    }
    *hr = S_OK;
    return filter;
}

FileWriterFilter::FileWriterFilter(IUnknown* outer)
    : dshow::BaseFilter(outer, &filterLock_, CLSID_ScrivetFileWriter),
      pin_(new (std::nothrow) WriterInputPin(this, &filterLock_))
{
}

FileWriterFilter::~FileWriterFilter()
{
    // Every run, a slow one too, finishes its file before the filter goes.
    runs_.WaitForAll();
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
    dshow::AutoLock hold(&filterLock_);
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
    // No lock and no state check: the caller names the file only while stopped.
    const HRESULT check = CheckFileName(name);
    if (check != S_OK)
        return check;
    try {
        fileName_ = name;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    // Create the file now, so that an unusable name or a locked file fails here.
    HANDLE trial = OpenForWriting(fileName_, CREATE_ALWAYS, FILE_FLAG_NO_BUFFERING);
    if (trial == INVALID_HANDLE_VALUE)
        return HRESULT_FROM_WIN32(GetLastError());
    CloseHandle(trial);
    pin_->Stream().SetFileName(name);
    return S_OK;
}

STDMETHODIMP FileWriterFilter::GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* type)
{
    if (name) {
        *name = nullptr;
        if (!fileName_.empty()) {
            const size_t bytes = (fileName_.size() + 1) * sizeof(wchar_t);
            *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
            if (*name)
                memcpy(*name, fileName_.c_str(), bytes);
        }
    }
    if (type)
        ZeroMemory(type, sizeof *type);
    return S_OK;
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
    dshow::AutoLock hold(&filterLock_);
    if (IsStopped()) {
        // A file that cannot be opened is not the graph's failure: the run writes nothing.
        const HRESULT opened = OpenRun();
        if (opened != S_OK)
            Trace(L"no file for this run", opened);
    }
    return dshow::BaseFilter::Pause();
}

STDMETHODIMP FileWriterFilter::Stop()
{
    dshow::AutoLock hold(&filterLock_);
    EndRun();
    return dshow::BaseFilter::Stop();
}

STDMETHODIMP FileWriterFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    if (!graph) {
        dshow::AutoLock hold(&filterLock_);
        runs_.WaitForAll();
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
    if (CheckFileName(fileName_.c_str()) != S_OK || fileName_.empty())
        return kNameNotConvertible;

    // Ring and limit first: a run that cannot write must not empty an existing file.
    SystemVolumeFacts volume;
    const DWORD sectorSize = SectorSizeForFile(fileName_, volume);
    long bufferSize = pin_->AllocatorBufferSize();
    if (bufferSize <= 0)
        bufferSize = kDefaultBufferSize;
    if (!runs_.PrepareRing(static_cast<uint32_t>(bufferSize), sectorSize))
        return E_OUTOFMEMORY;
    const std::optional<WriteLimit> limit = LimitForFile(fileName_, sizeLimit_, volume);
    if (!limit)
        return HRESULT_FROM_WIN32(GetLastError());

    auto file = std::make_unique<UnbufferedRunFile>();
    const DWORD error = file->Create(fileName_, sectorSize);
    if (error != 0)
        return HRESULT_FROM_WIN32(error);
    SharedByteCount() = 0;
    if (!runs_.Start(std::move(file), *limit, !pin_->CarriesAudio(), *this, SharedByteCount()))
        return HRESULT_FROM_WIN32(GetLastError());
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
    dshow::AutoLock hold(&receiveLock_);
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

void FileWriterFilter::EndOfStreamDrain()
{
    dshow::AutoLock receive(&receiveLock_);
    dshow::AutoLock state(&filterLock_);
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
