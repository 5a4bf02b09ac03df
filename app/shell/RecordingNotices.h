#pragma once
// The message the window shows once a recording has stopped by itself: the writer's errors go
// through ReportError (shown and logged), copy protection is a system-modal box, and the other
// stops are silent.
#include "MessageIds.h"
#include "StopRules.h"

namespace shell {

struct StopNotice {
    int textId = 0;  // 0: no message
    bool reportError = false;
    bool systemModal = false;
};

constexpr StopNotice NoticeFor(recording::StopReason reason)
{
    switch (reason) {
    case recording::StopReason::kWriteError: return {msg::kWriteError, true, false};
    case recording::StopReason::kDiskFull: return {msg::kDiskFull, true, false};
    case recording::StopReason::kVolumeSizeLimit: return {msg::kVolumeSizeLimit, true, false};
    case recording::StopReason::kCopyProtection: return {msg::kCopyProtectedStopped, false, true};
    default: return {};
    }
}

}  // namespace shell
