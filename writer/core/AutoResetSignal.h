#pragma once
// An auto-reset signal between the threads of one process, as an auto-reset event is: Set
// wakes one waiter, or the next one to wait, and the wait clears it. A Win32 event costs a
// trip to the kernel for every Set and every wait (under Wine, to the wineserver, which on a
// busy machine costs tens of microseconds each); this one stays in user space unless a
// thread really has to sleep.
#include <windows.h>

namespace scrivet {

class AutoResetSignal {
public:
    AutoResetSignal()
    {
        InitializeSRWLock(&lock_);
        InitializeConditionVariable(&wake_);
    }
    AutoResetSignal(const AutoResetSignal&) = delete;
    AutoResetSignal& operator=(const AutoResetSignal&) = delete;

    void Set()
    {
        AcquireSRWLockExclusive(&lock_);
        set_ = true;
        ReleaseSRWLockExclusive(&lock_);
        WakeConditionVariable(&wake_);
    }

    void Reset()
    {
        AcquireSRWLockExclusive(&lock_);
        set_ = false;
        ReleaseSRWLockExclusive(&lock_);
    }

    // True when the signal came (and is cleared again), false when `timeoutMs` passed first.
    bool Wait(DWORD timeoutMs)
    {
        const DWORD start = GetTickCount();
        AcquireSRWLockExclusive(&lock_);
        while (!set_) {
            DWORD left = INFINITE;
            if (timeoutMs != INFINITE) {
                const DWORD waited = GetTickCount() - start;
                if (waited >= timeoutMs)
                    break;
                left = timeoutMs - waited;
            }
            SleepConditionVariableSRW(&wake_, &lock_, left, 0);
        }
        const bool came = set_;
        set_ = false;
        ReleaseSRWLockExclusive(&lock_);
        return came;
    }

private:
    SRWLOCK lock_;
    CONDITION_VARIABLE wake_;
    bool set_ = false;
};

}  // namespace scrivet
