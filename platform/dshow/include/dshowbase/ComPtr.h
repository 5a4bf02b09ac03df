#pragma once
// A small owning COM pointer: releases on destruction, copies AddRef.
#include <unknwn.h>

#include <utility>

namespace dshow {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other)
    {
        ComPtr copy(other);
        std::swap(p_, copy.p_);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }

    // Takes over a reference the caller already owns.
    static ComPtr Adopt(T* p)
    {
        ComPtr result;
        result.p_ = p;
        return result;
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

    template <class U>
    HRESULT As(ComPtr<U>& out) const
    {
        return As(__uuidof(U), out);
    }
    // For interfaces whose headers declare no uuid for __uuidof.
    template <class U>
    HRESULT As(REFIID iid, ComPtr<U>& out) const
    {
        if (!p_)
            return E_POINTER;
        return p_->QueryInterface(iid, out.PutVoid());
    }

private:
    T* p_ = nullptr;
};

}  // namespace dshow
