#pragma once
// Move-only owner of a Win32 resource; Traits say what "empty" is and how to free it.
#include <utility>

namespace win {

template <class Traits>
class Owned {
public:
    using Raw = typename Traits::Raw;

    Owned() = default;
    explicit Owned(Raw raw) : raw_(raw) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : raw_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    void Reset(Raw raw = Traits::Empty())
    {
        Raw old = std::exchange(raw_, raw);
        if (Traits::IsValid(old))
            Traits::Free(old);
    }
    // Gives up ownership without freeing.
    Raw Release() { return std::exchange(raw_, Traits::Empty()); }
    Raw Get() const { return raw_; }
    bool Valid() const { return Traits::IsValid(raw_); }
    explicit operator bool() const { return Valid(); }
    // For out-parameters: frees what is held and hands out the slot.
    Raw* Put()
    {
        Reset();
        return &raw_;
    }

private:
    Raw raw_ = Traits::Empty();
};

}  // namespace win
