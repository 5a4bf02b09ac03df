#include "WriterStream.h"

#include "FileName.h"
#include "RunFile.h"
#include "WriterInputPin.h"

namespace scrivet {

WriterStream::WriterStream(WriterInputPin* pin, const RecordingName& name) : pin_(pin), name_(name) {}

HRESULT WriterStream::OpenLocked()
{
    file_.Reset();
    const std::wstring name = name_.Get();
    if (name.empty())
        return E_INVALIDARG;
    file_ = OpenForWriting(name.c_str(), OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    return file_ ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

HRESULT WriterStream::Retarget()
{
    win::AutoLock hold(lock_);
    // Nobody uses the stream now: it opens the file when it is next taken.
    if (!file_)
        return S_OK;
    return OpenLocked();
}

STDMETHODIMP WriterStream::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == __uuidof(IWriterStream)) {
        *out = static_cast<IWriterStream*>(this);
        AddRef();
        return S_OK;
    }
    return pin_->QueryInterface(iid, out);
}

STDMETHODIMP_(ULONG) WriterStream::AddRef()
{
    pin_->AddRef();
    const ULONG count = ++refs_;
    if (count == 1) {
        win::AutoLock hold(lock_);
        // Without a name or a file that opens, the stream's calls say it has no file.
        if (!file_)
            OpenLocked();
    }
    return count;
}

STDMETHODIMP_(ULONG) WriterStream::Release()
{
    const ULONG count = --refs_;
    if (count == 0) {
        win::AutoLock hold(lock_);
        file_.Reset();
    }
    pin_->Release();
    return count;
}

HRESULT WriterStream::Usable() const
{
    if (!pin_->FilterStopped())
        return VFW_E_WRONG_STATE;
    if (!file_)
        return E_INVALIDARG;
    return S_OK;
}

STDMETHODIMP WriterStream::Write(const void* data, ULONG count, ULONG* written)
{
    win::AutoLock hold(lock_);
    const HRESULT usable = Usable();
    if (usable != S_OK)
        return usable;
    DWORD done = 0;
    const BOOL ok = WriteFile(file_.Get(), data, count, &done, nullptr);
    if (written)
        *written = done;
    return ok ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

STDMETHODIMP WriterStream::Seek(LARGE_INTEGER distance, DWORD origin, ULARGE_INTEGER* position)
{
    win::AutoLock hold(lock_);
    const HRESULT usable = Usable();
    if (usable != S_OK)
        return usable;
    if (origin != FILE_BEGIN && origin != FILE_CURRENT && origin != FILE_END)
        return E_INVALIDARG;
    LARGE_INTEGER moved{};
    if (!SetFilePointerEx(file_.Get(), distance, &moved, origin))
        return HRESULT_FROM_WIN32(GetLastError());
    if (position)
        position->QuadPart = static_cast<ULONGLONG>(moved.QuadPart);
    return S_OK;
}

STDMETHODIMP WriterStream::SetSize(ULARGE_INTEGER size)
{
    win::AutoLock hold(lock_);
    const HRESULT usable = Usable();
    if (usable != S_OK)
        return usable;
    LARGE_INTEGER here{}, zero{}, to{};
    to.QuadPart = static_cast<LONGLONG>(size.QuadPart);
    if (!SetFilePointerEx(file_.Get(), zero, &here, FILE_CURRENT) ||
        !SetFilePointerEx(file_.Get(), to, nullptr, FILE_BEGIN) || !SetEndOfFile(file_.Get())) {
        const DWORD error = GetLastError();
        SetFilePointerEx(file_.Get(), here, nullptr, FILE_BEGIN);
        return HRESULT_FROM_WIN32(error);
    }
    SetFilePointerEx(file_.Get(), here, nullptr, FILE_BEGIN);
    return S_OK;
}

STDMETHODIMP WriterStream::Read(void*, ULONG, ULONG*) { return E_NOTIMPL; }
STDMETHODIMP WriterStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*)
{
    return E_NOTIMPL;
}
STDMETHODIMP WriterStream::Commit(DWORD) { return E_NOTIMPL; }
STDMETHODIMP WriterStream::Revert() { return E_NOTIMPL; }
STDMETHODIMP WriterStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }
STDMETHODIMP WriterStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }
STDMETHODIMP WriterStream::Stat(STATSTG*, DWORD) { return E_NOTIMPL; }
STDMETHODIMP WriterStream::Clone(IStream**) { return E_NOTIMPL; }

}  // namespace scrivet
