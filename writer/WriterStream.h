#pragma once
// The input pin's IWriterStream: lets an upstream multiplexer seek and write in the output
// file (buffered) while the graph is stopped, for example to patch headers after a run.
#include "ScrivetInterfaces.h"

#include <dshowbase/Lock.h>

#include <atomic>
#include <string>

namespace scrivet {

class WriterInputPin;

class WriterStream final : public IWriterStream {
public:
    explicit WriterStream(WriterInputPin* pin);
    ~WriterStream();
    WriterStream(const WriterStream&) = delete;
    WriterStream& operator=(const WriterStream&) = delete;

    // Takes the file name (the rules of IFileSinkFilter) and opens the file as a test, or
    // for good while the stream is in use.
    HRESULT SetFileName(const wchar_t* name);

    // IUnknown: only IWriterStream here; counts on the stream and on the pin.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // ISequentialStream / IStream
    STDMETHODIMP Read(void* data, ULONG count, ULONG* read) override;
    STDMETHODIMP Write(const void* data, ULONG count, ULONG* written) override;
    STDMETHODIMP Seek(LARGE_INTEGER distance, DWORD origin, ULARGE_INTEGER* position) override;
    STDMETHODIMP SetSize(ULARGE_INTEGER size) override;
    STDMETHODIMP CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                        ULARGE_INTEGER* written) override;
    STDMETHODIMP Commit(DWORD flags) override;
    STDMETHODIMP Revert() override;
    STDMETHODIMP LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
    STDMETHODIMP Stat(STATSTG* stat, DWORD flags) override;
    STDMETHODIMP Clone(IStream** clone) override;

private:
    // VFW_E_WRONG_STATE unless the filter is stopped, E_INVALIDARG without a file, else S_OK.
    HRESULT Usable() const;
    void CloseFile();

    WriterInputPin* pin_;
    std::atomic<ULONG> refs_{0};
    dshow::CritSec lock_;
    std::wstring name_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace scrivet
