#pragma once
// The input pin's IWriterStream: lets an upstream multiplexer seek and write in the output
// file (buffered) while the graph is stopped, for example to patch headers after a run.
#include "FileName.h"
#include "ScrivetInterfaces.h"

#include <win/Handle.h>
#include <win/Lock.h>

#include <atomic>

namespace scrivet {

class WriterInputPin;

class WriterStream final : public IWriterStream {
public:
    // The stream writes to the file `name` holds; it keeps no name of its own.
    WriterStream(WriterInputPin* pin, const RecordingName& name);
    WriterStream(const WriterStream&) = delete;
    WriterStream& operator=(const WriterStream&) = delete;

    // The writer was given a new name: a stream in use moves to that file (the old one is
    // closed). S_OK, or the Win32 error in HRESULT form when the new file cannot be opened;
    // the stream then has no file.
    HRESULT Retarget();

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
    // Opens the named file for the stream (write, no sharing, open-always, buffered); the
    // lock is held. S_OK or the failure.
    HRESULT OpenLocked();

    WriterInputPin* pin_;
    const RecordingName& name_;
    std::atomic<ULONG> refs_{0};
    win::CritSec lock_;
    win::Handle file_;
};

}  // namespace scrivet
