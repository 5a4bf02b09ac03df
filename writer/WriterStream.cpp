#include "WriterStream.h"

#include "FileName.h"
#include "RunFile.h"
#include "WriterInputPin.h"

namespace scrivet {

namespace {

HANDLE OpenBuffered(const std::wstring& name)
{
    return OpenForWriting(name, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

WriterStream::WriterStream(WriterInputPin* pin) : pin_(pin) {}

WriterStream::~WriterStream()
{
    CloseFile();
}

void WriterStream::CloseFile()
{
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

HRESULT WriterStream::SetFileName(const wchar_t* name)
{
    dshow::AutoLock hold(&lock_);
    const HRESULT check = CheckFileName(name);
    if (check != S_OK)
        return check;
    name_ = name;
    HANDLE opened = OpenBuffered(name_);
    if (opened == INVALID_HANDLE_VALUE)
        return HRESULT_FROM_WIN32(GetLastError());
    if (file_ == INVALID_HANDLE_VALUE) {
        CloseHandle(opened);  // only a test: nobody uses the stream now
    } else {
        CloseHandle(file_);
        file_ = opened;
    }
    return S_OK;
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
        dshow::AutoLock hold(&lock_);
        if (!name_.empty() && file_ == INVALID_HANDLE_VALUE)
            file_ = OpenBuffered(name_);
    }
    return count;
}

STDMETHODIMP_(ULONG) WriterStream::Release()
{
    const ULONG count = --refs_;
    if (count == 0) {
        dshow::AutoLock hold(&lock_);
        CloseFile();
    }
    pin_->Release();
    return count;
}

HRESULT WriterStream::Usable() const
{
    if (!pin_->FilterStopped())
        return VFW_E_WRONG_STATE;
    if (file_ == INVALID_HANDLE_VALUE)
        return E_INVALIDARG;
    return S_OK;
}

STDMETHODIMP WriterStream::Write(const void* data, ULONG count, ULONG* written)
{
    dshow::AutoLock hold(&lock_);
    const HRESULT usable = Usable();
    if (usable != S_OK)
        return usable;
    DWORD done = 0;
    const BOOL ok = WriteFile(file_, data, count, &done, nullptr);
    if (written)
        *written = done;
    return ok ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

STDMETHODIMP WriterStream::Seek(LARGE_INTEGER distance, DWORD origin, ULARGE_INTEGER* position)
{
    dshow::AutoLock hold(&lock_);
    const HRESULT usable = Usable();
    if (usable != S_OK)
        return usable;
    if (origin != FILE_BEGIN && origin != FILE_CURRENT && origin != FILE_END)
        return E_INVALIDARG;
    LARGE_INTEGER moved{};
    if (!SetFilePointerEx(file_, distance, &moved, origin))
        return HRESULT_FROM_WIN32(GetLastError());
    if (position)
        position->QuadPart = static_cast<ULONGLONG>(moved.QuadPart);
    return S_OK;
}

STDMETHODIMP WriterStream::SetSize(ULARGE_INTEGER size)
{
    dshow::AutoLock hold(&lock_);
    const HRESULT usable = Usable();
    if (usable != S_OK)
        return usable;
    LARGE_INTEGER here{}, zero{}, to{};
    to.QuadPart = static_cast<LONGLONG>(size.QuadPart);
    if (!SetFilePointerEx(file_, zero, &here, FILE_CURRENT) ||
        !SetFilePointerEx(file_, to, nullptr, FILE_BEGIN) || !SetEndOfFile(file_)) {
        const DWORD error = GetLastError();
        SetFilePointerEx(file_, here, nullptr, FILE_BEGIN);
        return HRESULT_FROM_WIN32(error);
    }
    SetFilePointerEx(file_, here, nullptr, FILE_BEGIN);
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
