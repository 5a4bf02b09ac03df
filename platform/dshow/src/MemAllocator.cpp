#include "dshowbase/MemAllocator.h"

#include <new>

namespace dshow {

MemAllocator::MemAllocator() : UnknownBase(nullptr), freeSignal_(CreateSemaphoreW(nullptr, 0, 0x7FFFFFFF, nullptr))
{
}

MemAllocator::~MemAllocator() { FreeMemoryLocked(); }

STDMETHODIMP MemAllocator::QueryInterface(REFIID iid, void** out)
{
    return NonDelegatingQueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE MemAllocator::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IMemAllocator || iid == IID_IUnknown)
        return GetInterface(static_cast<IMemAllocator*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
}

LONG MemAllocator::Outstanding()
{
    win::AutoLock lock(lock_);
    return static_cast<LONG>(all_.size() - free_.size());
}

STDMETHODIMP MemAllocator::SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual)
{
    if (!request || !actual)
        return E_POINTER;
    const long align = request->cbAlign;
    if (align <= 0 || (align & (align - 1)) != 0)
        return VFW_E_BADALIGN;
    if (request->cBuffers < 0 || request->cbBuffer <= 0 || request->cbPrefix < 0)
        return E_INVALIDARG;
    win::AutoLock lock(lock_);
    if (committed_)
        return VFW_E_ALREADY_COMMITTED;
    if (all_.size() != free_.size())
        return VFW_E_BUFFERS_OUTSTANDING;
    FreeMemoryLocked();
    props_ = *request;
    if (props_.cBuffers == 0)
        props_.cBuffers = 1;
    // Each buffer (with its prefix) starts on the alignment.
    const long block = (props_.cbPrefix + props_.cbBuffer + align - 1) & ~(align - 1);
    props_.cbBuffer = block - props_.cbPrefix;
    *actual = props_;
    return S_OK;
}

STDMETHODIMP MemAllocator::GetProperties(ALLOCATOR_PROPERTIES* props)
{
    if (!props)
        return E_POINTER;
    win::AutoLock lock(lock_);
    *props = props_;
    return S_OK;
}

STDMETHODIMP MemAllocator::Commit()
{
    win::AutoLock lock(lock_);
    if (committed_)
        return S_OK;
    if (props_.cBuffers <= 0 || props_.cbBuffer <= 0)
        return VFW_E_SIZENOTSET;
    if (!memory_) {
        const SIZE_T block = static_cast<SIZE_T>(props_.cbPrefix) + props_.cbBuffer;
        const SIZE_T total = block * static_cast<SIZE_T>(props_.cBuffers);
        // Page-aligned memory satisfies every alignment up to the page size.
        if (props_.cbAlign > 4096)
            return VFW_E_BADALIGN;
        memory_ = static_cast<BYTE*>(VirtualAlloc(nullptr, total, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!memory_)
            return E_OUTOFMEMORY;
        for (long i = 0; i < props_.cBuffers; ++i) {
            auto* sample = new (std::nothrow)
                MediaSample(this, memory_ + block * i + props_.cbPrefix, props_.cbBuffer);
            if (!sample) {
                FreeMemoryLocked();
                return E_OUTOFMEMORY;
            }
            all_.push_back(sample);
            free_.push_back(sample);
        }
    }
    committed_ = true;
    return S_OK;
}

STDMETHODIMP MemAllocator::Decommit()
{
    win::AutoLock lock(lock_);
    if (!committed_)
        return S_OK;
    committed_ = false;
    // Samples still out are freed when the last one comes back.
    if (all_.size() == free_.size())
        FreeMemoryLocked();
    if (waiting_ > 0) {
        ReleaseSemaphore(freeSignal_.Get(), waiting_, nullptr);
        waiting_ = 0;
    }
    return S_OK;
}

STDMETHODIMP MemAllocator::GetBuffer(IMediaSample** out, REFERENCE_TIME*, REFERENCE_TIME*, DWORD flags)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    MediaSample* sample = nullptr;
    for (;;) {
        {
            win::AutoLock lock(lock_);
            if (!committed_)
                return VFW_E_NOT_COMMITTED;
            if (!free_.empty()) {
                sample = free_.back();
                free_.pop_back();
                break;
            }
            if (flags & AM_GBF_NOWAIT)
                return VFW_E_TIMEOUT;
            ++waiting_;
        }
        WaitForSingleObject(freeSignal_.Get(), INFINITE);
    }
    sample->ResetProperties();
    sample->refs_ = 1;
    AddRef();  // an outstanding sample keeps its allocator alive
    *out = sample;
    return S_OK;
}

STDMETHODIMP MemAllocator::ReleaseBuffer(IMediaSample* returned)
{
    if (!returned)
        return E_POINTER;
    {
        win::AutoLock lock(lock_);
        free_.push_back(static_cast<MediaSample*>(returned));
        if (waiting_ > 0) {
            --waiting_;
            ReleaseSemaphore(freeSignal_.Get(), 1, nullptr);
        }
        if (!committed_ && all_.size() == free_.size())
            FreeMemoryLocked();
    }
    Release();
    return S_OK;
}

void MemAllocator::FreeMemoryLocked()
{
    for (MediaSample* sample : all_)
        delete sample;
    all_.clear();
    free_.clear();
    if (memory_)
        VirtualFree(memory_, 0, MEM_RELEASE);
    memory_ = nullptr;
}

}  // namespace dshow
