#pragma once
// The one owning COM pointer. A raw pointer never enters through a constructor: say whether
// the caller's reference is taken over (Adopt) or a new one is added (Share).
#include <unknwn.h>

#include <utility>

namespace win {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : p_(other.p_)
    {
        if (p_)
            p_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(p_, other.p_);
        return *this;
    }

    // Takes over a reference the caller already owns.
    static ComPtr Adopt(T* p)
    {
        ComPtr result;
        result.p_ = p;
        return result;
    }
    // Adds a reference to a pointer owned elsewhere.
    static ComPtr Share(T* p)
    {
        if (p)
            p->AddRef();
        return Adopt(p);
    }

    void Reset()
    {
        if (T* old = std::exchange(p_, nullptr))
            old->Release();
    }
    T* Detach() { return std::exchange(p_, nullptr); }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // For out-parameters: releases what is held and hands out the slot.
    T** Put()
    {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    // Hands a new reference to a caller's out-parameter.
    HRESULT CopyTo(T** out) const
    {
        if (!out)
            return E_POINTER;
        *out = p_;
        if (p_)
            p_->AddRef();
        return S_OK;
    }

    template <class U>
    HRESULT As(ComPtr<U>& out) const
    {
        return As(__uuidof(U), out);
    }
    // For interfaces whose headers declare no uuid for __uuidof.
    template <class U>
    HRESULT As(REFIID iid, ComPtr<U>& out) const
    {
        if (!p_) {
            out.Reset();
            return E_POINTER;
        }
        return p_->QueryInterface(iid, out.PutVoid());
    }

private:
    T* p_ = nullptr;
};

}  // namespace win
