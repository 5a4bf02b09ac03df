#pragma once
// The test bed's vcapctl run from a test that watches for the device changes it announces.
#include <windows.h>

#include <string>

namespace testsupport {

// Runs vcapctl (next to the test program) with `args`, dispatching this thread's messages
// meanwhile: its device broadcast is sent, not posted, so it waits for this thread's windows
// to answer. Its exit code, or 0xFFFFFFFF when it could not start or ran past `timeout_ms`
// (then it goes on running). Such tests depend on `vcapctl`.
DWORD RunVcapctl(const std::string& args, DWORD timeout_ms = 30000);

}  // namespace testsupport
