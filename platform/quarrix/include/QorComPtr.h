#pragma once
// A small owning COM pointer: releases what it holds on every path.
#include <unknwn.h>

#include <utility>

template <class T>
class QorComPtr {
public:
    QorComPtr() = default;
    explicit QorComPtr(T* adopted) : p_(adopted) {}
    QorComPtr(const QorComPtr& other) : p_(other.p_) { if (p_) p_->AddRef(); }
    QorComPtr(QorComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~QorComPtr() { Reset(); }

    QorComPtr& operator=(QorComPtr other) noexcept
    {
        std::swap(p_, other.p_);
        return *this;
    }

    // Takes an extra reference on a pointer owned elsewhere.
    static QorComPtr Share(T* borrowed)
    {
        if (borrowed)
            borrowed->AddRef();
        return QorComPtr(borrowed);
    }

    void Reset()
    {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters: releases the current object first.
    T** Out()
    {
        Reset();
        return &p_;
    }
    T* Detach() { return std::exchange(p_, nullptr); }

    template <class U>
    QorComPtr<U> As(REFIID iid) const
    {
        QorComPtr<U> other;
        if (p_)
            p_->QueryInterface(iid, reinterpret_cast<void**>(other.Out()));
        return other;
    }

private:
    T* p_ = nullptr;
};
