#include "TestSupport.h"

namespace testsupport {

bool PumpMessages(DWORD ms, const std::function<bool()>& done)
{
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done && done())
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return !done;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now < 10 ? deadline - now : 10),
                                  QS_ALLINPUT);
    }
}

}  // namespace testsupport
