// The reference clock's scheduler against a private time the test moves by hand (including
// backwards), and against the default multimedia-timer time.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

#include <win/ComPtr.h>
#include "dshowbase/ReferenceClock.h"

namespace {

class ManualClock final : public dshow::ReferenceClock {
public:
    ManualClock() : ReferenceClock(nullptr) {}
    ~ManualClock() override { StopScheduler(); }

    void Set(REFERENCE_TIME time)
    {
        now_ = time;
        TriggerThread();
    }

protected:
    REFERENCE_TIME GetPrivateTime() override { return now_.load(); }

private:
    std::atomic<REFERENCE_TIME> now_{1000};
};

struct Event {
    Event() : handle(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~Event() { CloseHandle(handle); }
    bool Fired(DWORD wait_ms) const { return WaitForSingleObject(handle, wait_ms) == WAIT_OBJECT_0; }
    HANDLE handle;
};

struct Semaphore {
    Semaphore() : handle(CreateSemaphoreW(nullptr, 0, 1000, nullptr)) {}
    ~Semaphore() { CloseHandle(handle); }
    // Takes every pending release without waiting.
    int Drain() const
    {
        int count = 0;
        while (WaitForSingleObject(handle, 0) == WAIT_OBJECT_0)
            ++count;
        return count;
    }
    HANDLE handle;
};

// Enough for the scheduler thread to notice a change even on a loaded machine; a check that
// something did NOT happen waits this long.
constexpr DWORD kSettleMs = 150;
constexpr DWORD kFireMs = 5000;

win::ComPtr<ManualClock> MakeClock()
{
    return win::ComPtr<ManualClock>::Share(new ManualClock);
}

TEST(ReferenceClock, TimeNeverRunsBackwards)
{
    auto clock = MakeClock();
    REFERENCE_TIME time = 0;
    EXPECT_EQ(clock->GetTime(&time), S_OK);
    EXPECT_EQ(time, 1000);
    EXPECT_EQ(clock->GetTime(&time), S_FALSE) << "unchanged time answers S_FALSE";

    clock->Set(5000);
    EXPECT_EQ(clock->GetTime(&time), S_OK);
    EXPECT_EQ(time, 5000);
    clock->Set(2000);  // jumps back: the clock holds
    EXPECT_EQ(clock->GetTime(&time), S_FALSE);
    EXPECT_EQ(time, 5000);
    clock->Set(4999);
    clock->GetTime(&time);
    EXPECT_EQ(time, 5000);
    clock->Set(6000);  // moves on once the private time passes it
    EXPECT_EQ(clock->GetTime(&time), S_OK);
    EXPECT_EQ(time, 6000);
    EXPECT_EQ(clock->GetTime(nullptr), E_POINTER);
}

TEST(ReferenceClock, OneShotAdviseFiresWhenTheTimeIsReached)
{
    auto clock = MakeClock();
    Event event;
    DWORD_PTR cookie = 0;
    ASSERT_EQ(clock->AdviseTime(4000, 1000, reinterpret_cast<HEVENT>(event.handle), &cookie), S_OK);
    EXPECT_NE(cookie, 0u);
    EXPECT_FALSE(event.Fired(kSettleMs));
    clock->Set(4999);
    EXPECT_FALSE(event.Fired(kSettleMs));
    clock->Set(5000);
    EXPECT_TRUE(event.Fired(kFireMs));
    EXPECT_EQ(clock->PendingAdvises(), 0u);
    EXPECT_EQ(clock->Unadvise(cookie), S_FALSE) << "a fired one-shot is gone";
}

TEST(ReferenceClock, AdviseInThePastFiresAtOnce)
{
    auto clock = MakeClock();
    clock->Set(9000);
    Event event;
    DWORD_PTR cookie = 0;
    ASSERT_EQ(clock->AdviseTime(100, 0, reinterpret_cast<HEVENT>(event.handle), &cookie), S_OK);
    EXPECT_TRUE(event.Fired(kFireMs));
}

TEST(ReferenceClock, BackwardJumpDoesNotFireOrRefireAdvises)
{
    auto clock = MakeClock();
    clock->Set(10000);
    Event event;
    DWORD_PTR cookie = 0;
    ASSERT_EQ(clock->AdviseTime(12000, 0, reinterpret_cast<HEVENT>(event.handle), &cookie), S_OK);
    clock->Set(3000);
    EXPECT_FALSE(event.Fired(kSettleMs));
    clock->Set(11999);  // past the held time, short of the advise
    EXPECT_FALSE(event.Fired(kSettleMs));
    clock->Set(12000);
    EXPECT_TRUE(event.Fired(kFireMs));
}

TEST(ReferenceClock, PeriodicAdviseReleasesOncePerPeriod)
{
    auto clock = MakeClock();
    Semaphore semaphore;
    DWORD_PTR cookie = 0;
    ASSERT_EQ(clock->AdvisePeriodic(2000, 500, reinterpret_cast<HSEMAPHORE>(semaphore.handle), &cookie), S_OK);
    Sleep(kSettleMs);
    EXPECT_EQ(semaphore.Drain(), 0);

    clock->Set(2000);
    ASSERT_EQ(WaitForSingleObject(semaphore.handle, kFireMs), WAIT_OBJECT_0);
    clock->Set(2499);
    Sleep(kSettleMs);
    EXPECT_EQ(semaphore.Drain(), 0);
    for (REFERENCE_TIME t = 2500; t <= 4000; t += 500) {
        clock->Set(t);
        EXPECT_EQ(WaitForSingleObject(semaphore.handle, kFireMs), WAIT_OBJECT_0) << "at " << t;
    }
    Sleep(kSettleMs);
    EXPECT_EQ(semaphore.Drain(), 0) << "one release per period, no extras";

    EXPECT_EQ(clock->Unadvise(cookie), S_OK);
    clock->Set(10000);
    Sleep(kSettleMs);
    EXPECT_EQ(semaphore.Drain(), 0) << "nothing after Unadvise";
    EXPECT_EQ(clock->Unadvise(cookie), S_FALSE);
}

TEST(ReferenceClock, RefusesBadAdvises)
{
    auto clock = MakeClock();
    Event event;
    Semaphore semaphore;
    DWORD_PTR cookie = 0;
    EXPECT_EQ(clock->AdviseTime(0, 100, reinterpret_cast<HEVENT>(event.handle), nullptr), E_POINTER);
    EXPECT_EQ(clock->AdviseTime(-1, 100, reinterpret_cast<HEVENT>(event.handle), &cookie), E_INVALIDARG);
    EXPECT_EQ(clock->AdviseTime(0, 100, 0, &cookie), E_INVALIDARG);
    EXPECT_EQ(clock->AdviseTime(0x7FFFFFFFFFFFFFFF, 1, reinterpret_cast<HEVENT>(event.handle), &cookie),
              E_INVALIDARG);
    EXPECT_EQ(clock->AdvisePeriodic(0, 0, reinterpret_cast<HSEMAPHORE>(semaphore.handle), &cookie), E_INVALIDARG);
    EXPECT_EQ(clock->AdvisePeriodic(-5, 10, reinterpret_cast<HSEMAPHORE>(semaphore.handle), &cookie),
              E_INVALIDARG);
    EXPECT_EQ(clock->AdvisePeriodic(0, 10, 0, &cookie), E_INVALIDARG);
    EXPECT_EQ(clock->Unadvise(12345), S_FALSE);
    EXPECT_EQ(clock->PendingAdvises(), 0u);
}

TEST(ReferenceClock, DefaultClockFiresNoEarlierThanAsked)
{
    auto clock = win::ComPtr<dshow::ReferenceClock>::Share(new dshow::ReferenceClock(nullptr));
    REFERENCE_TIME now = 0;
    clock->GetTime(&now);
    const REFERENCE_TIME due = now + 100 * 10000;  // 100 ms
    Event event;
    DWORD_PTR cookie = 0;
    ASSERT_EQ(clock->AdviseTime(now, 100 * 10000, reinterpret_cast<HEVENT>(event.handle), &cookie), S_OK);
    ASSERT_TRUE(event.Fired(kFireMs));
    REFERENCE_TIME fired = 0;
    clock->GetTime(&fired);
    EXPECT_GE(fired, due);

    win::ComPtr<IReferenceClock> asInterface;
    EXPECT_EQ(clock->QueryInterface(IID_IReferenceClock, asInterface.PutVoid()), S_OK);
}

}  // namespace
