#pragma once
// Registers the test bed's in-process servers in the prefix, as a driver package and the
// system would have them: the card's filters (vcap.ax) and the stand-ins for the system and
// third-party filters the graphs name (TestbedFilters.ax). Only ever into a test prefix.
#include <string>

namespace vcap {

// The servers, by file name, in the order they are registered.
inline constexpr const wchar_t* kTestBedServers[] = {L"vcap.ax", L"TestbedFilters.ax"};

// Registers (or unregisters) every test-bed server found in `folder` (ending in a backslash);
// false with a message naming the server and the step that failed.
bool RegisterTestBedServers(const std::wstring& folder, bool unregister, std::wstring& error);

// The folder of the running program, ending in a backslash: the servers are built next to it.
std::wstring ProgramFolder();

}  // namespace vcap
