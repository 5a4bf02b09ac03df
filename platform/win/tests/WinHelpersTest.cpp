// The ownership helpers: who holds which reference, what is freed when, and what counts as
// empty.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include <win/Busy.h>
#include <win/ComPtr.h>
#include <win/Handle.h>
#include <win/Lock.h>
#include <win/Owned.h>

namespace {

// A COM object that counts its references; it is never deleted by Release.
class Counted : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid != IID_IUnknown) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    ULONG refs = 1;  // the creator's reference
};

using Ptr = win::ComPtr<IUnknown>;

struct OwnershipCase {
    const char* how;
    Ptr (*make)(Counted& object);
    ULONG refsWhileHeld;  // counting the creator's reference while it still has one
    ULONG refsAfter;      // once the pointer is gone
};

const OwnershipCase kOwnershipCases[] = {
    {"Adopt takes over the caller's reference", [](Counted& o) { return Ptr::Adopt(&o); }, 1, 0},
    {"Share adds a reference", [](Counted& o) { return Ptr::Share(&o); }, 2, 1},
    {"a copy adds another", [](Counted& o) { Ptr first = Ptr::Share(&o); Ptr copy(first); return copy; }, 2, 1},
    {"a move hands the reference on", [](Counted& o) { Ptr first = Ptr::Share(&o); return Ptr(std::move(first)); }, 2, 1},
    {"assignment adds one", [](Counted& o) { Ptr shared = Ptr::Share(&o); Ptr target; target = shared; return target; }, 2, 1},
    {"Share of null holds nothing", [](Counted&) { return Ptr::Share(nullptr); }, 1, 1},
};

TEST(ComPtr, EachWayOfTakingAPointerCountsItsReferenceOnce)
{
    for (const auto& c : kOwnershipCases) {
        Counted object;
        {
            Ptr held = c.make(object);
            EXPECT_EQ(object.refs, c.refsWhileHeld) << c.how;
        }
        EXPECT_EQ(object.refs, c.refsAfter) << c.how;
    }
}

TEST(ComPtr, PutReleasesWhatWasHeldBeforeHandingOutTheSlot)
{
    Counted first, second;
    Ptr p = Ptr::Share(&first);
    IUnknown** slot = p.Put();
    EXPECT_EQ(first.refs, 1u) << "the old object is released before the callee writes";
    EXPECT_EQ(*slot, nullptr);
    second.AddRef();  // what a callee does for its out-parameter
    *slot = &second;
    p.Reset();
    EXPECT_EQ(second.refs, 1u);
    EXPECT_FALSE(p);
}

TEST(ComPtr, DetachAndCopyToHandOverExactlyOneReference)
{
    Counted object;
    Ptr p = Ptr::Share(&object);
    IUnknown* copied = nullptr;
    ASSERT_EQ(p.CopyTo(&copied), S_OK);
    EXPECT_EQ(copied, &object);
    EXPECT_EQ(object.refs, 3u);
    EXPECT_EQ(p.CopyTo(nullptr), E_POINTER);
    IUnknown* detached = p.Detach();
    EXPECT_EQ(detached, &object);
    EXPECT_FALSE(p);
    EXPECT_EQ(object.refs, 3u) << "detaching releases nothing";
    detached->Release();
    copied->Release();
    EXPECT_EQ(object.refs, 1u);
}

TEST(ComPtr, AsQueriesIntoTheOtherPointerAndEmptiesItOnFailure)
{
    Counted object;
    Ptr p = Ptr::Share(&object);
    Ptr same;
    EXPECT_EQ(p.As(IID_IUnknown, same), S_OK);
    EXPECT_EQ(object.refs, 3u);
    win::ComPtr<IStream> stream;
    EXPECT_EQ(p.As(IID_IStream, stream), E_NOINTERFACE);
    EXPECT_FALSE(stream);
    Ptr empty;
    EXPECT_EQ(empty.As(IID_IUnknown, same), E_POINTER);
    EXPECT_FALSE(same) << "the pointer asked into lets go of what it held";
    EXPECT_EQ(object.refs, 2u);
}

// Frees are counted so that Owned's rules can be checked without a system resource.
struct CountingTraits {
    using Raw = int;
    static inline int freed = 0;
    static inline int lastFreed = 0;
    static Raw Empty() { return -1; }
    static bool IsValid(Raw r) { return r >= 0; }
    static void Free(Raw r)
    {
        ++freed;
        lastFreed = r;
    }
};
using Counting = win::Owned<CountingTraits>;

TEST(Owned, FreesOnceWhateverWayOwnershipMoves)
{
    CountingTraits::freed = 0;
    {
        Counting a(7);
        Counting b(std::move(a));
        EXPECT_FALSE(a.Valid());
        EXPECT_EQ(b.Get(), 7);
        Counting c(8);
        c = std::move(b);  // 8 is freed, 7 moves on
        EXPECT_EQ(CountingTraits::freed, 1);
        EXPECT_EQ(CountingTraits::lastFreed, 8);
        c.Reset(9);  // frees 7
        EXPECT_EQ(CountingTraits::lastFreed, 7);
        const int released = c.Release();
        EXPECT_EQ(released, 9);
        EXPECT_EQ(c.Get(), -1);
        *c.Put() = 10;
    }
    EXPECT_EQ(CountingTraits::freed, 3) << "8, 7 and 10; the released 9 is the caller's";
    EXPECT_EQ(CountingTraits::lastFreed, 10);
}

TEST(Owned, PutFreesWhatWasHeld)
{
    CountingTraits::freed = 0;
    Counting owner(3);
    int* slot = owner.Put();
    EXPECT_EQ(CountingTraits::freed, 1);
    EXPECT_EQ(*slot, -1);
}

TEST(Handle, NullAndInvalidHandleValueAreBothEmptyAndNeverClosed)
{
    struct Case {
        HANDLE raw;
        bool valid;
    } const cases[] = {{nullptr, false}, {INVALID_HANDLE_VALUE, false}};
    for (const auto& c : cases) {
        win::Handle handle(c.raw);
        EXPECT_EQ(handle.Valid(), c.valid);
        EXPECT_EQ(static_cast<bool>(handle), c.valid);
        handle.Reset();  // closing either would fail or close the process's own handle
    }
    EXPECT_EQ(win::Handle().Get(), nullptr);
}

TEST(Handle, ClosesTheHandleItOwns)
{
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    DWORD flags = 0;
    {
        win::Handle owner(event);
        EXPECT_TRUE(GetHandleInformation(event, &flags));
    }
    SetLastError(0);
    EXPECT_FALSE(GetHandleInformation(event, &flags)) << "the handle was closed with its owner";
}

TEST(RegKey, OpensThroughPutAndClosesWithItsOwner)
{
    HKEY raw = nullptr;
    {
        win::RegKey key;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.Put()), ERROR_SUCCESS);
        raw = key.Get();
        DWORD subKeys = 0;
        EXPECT_EQ(RegQueryInfoKeyA(raw, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
    }
    EXPECT_NE(RegQueryInfoKeyA(raw, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
}

TEST(AutoLock, HoldsTheSectionUntilItGoesOutOfScope)
{
    win::CritSec section;
    volatile bool entered = false;
    std::thread other;
    {
        win::AutoLock hold(section);
        other = std::thread([&] {
            win::AutoLock wait(section);
            entered = true;
        });
        Sleep(100);
        EXPECT_FALSE(entered) << "another thread entered while the guard held the section";
    }
    other.join();
    EXPECT_TRUE(entered);
    // The same thread may enter again, as a critical section allows.
    win::AutoLock outer(section);
    win::AutoLock inner(section);
}

bool Topmost(HWND window)
{
    return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST(TopmostWhile, GivesBackTheStateItFound)
{
    const struct {
        bool topmostBefore;
        bool destroyInside;
    } cases[] = {{false, false}, {true, false}, {false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "topmost before " << c.topmostBefore << ", destroyed inside " << c.destroyInside);
        HWND window = CreateWindowExA(c.topmostBefore ? WS_EX_TOPMOST : 0, "STATIC", "busy", WS_POPUP | WS_VISIBLE, 0, 0,
                                      40, 40, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        {
            win::TopmostWhile busy(window);
            EXPECT_TRUE(Topmost(window));
            if (c.destroyInside)
                DestroyWindow(window);
        }
        if (!c.destroyInside) {
            EXPECT_EQ(Topmost(window), c.topmostBefore);
            DestroyWindow(window);
        }
    }
    win::TopmostWhile none(nullptr);
}

TEST(WaitCursor, ShowsTheWaitCursorAndPutsTheOldOneBack)
{
    const HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    SetCursor(arrow);
    {
        win::WaitCursor wait;
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    }
    EXPECT_EQ(GetCursor(), arrow);
}

}  // namespace
