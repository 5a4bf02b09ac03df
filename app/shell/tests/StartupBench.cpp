// Start-up time to a shown main window: Marovin against the smallest windowed program, both
// started as processes from here. Prints the medians and their difference.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "CardInstaller.h"
#include "MarovinProcess.h"
#include "TestSupport.h"

namespace {

// Milliseconds from process creation to a visible top-level window of that title, then the
// window is closed and the process waited for; -1 when it did not appear.
double TimeToWindow(const std::string& exe, const char* title)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::string command = "\"" + exe + "\"";
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    HWND window = nullptr;
    const bool shown = testsupport::PumpMessages(30000, [&] {
        window = FindWindowA("#32770", title);
        return window != nullptr && IsWindowVisible(window);
    });
    QueryPerformanceCounter(&end);
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 9);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    if (!shown)
        return -1;
    return 1000.0 * double(end.QuadPart - begin.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void RemoveAllCards()
{
    std::wstring error;
    for (const vcap::CardRecord& card : vcap::LoadAllCards())
        vcap::UninstallCard(card.number, error);
}

void Measure(const char* what)
{
    const std::string folder = testsupport::ModuleDir();
    constexpr int kRuns = 7;
    std::vector<double> baseline, marovin;
    TimeToWindow(folder + "Marovin.exe", "Marovin");  // first run fills the caches
    for (int i = 0; i < kRuns; ++i) {
        baseline.push_back(TimeToWindow(folder + "trivial_window.exe", "TrivialStart"));
        marovin.push_back(TimeToWindow(folder + "Marovin.exe", "Marovin"));
    }
    for (double value : baseline)
        ASSERT_GE(value, 0.0) << "the baseline window did not appear";
    for (double value : marovin)
        ASSERT_GE(value, 0.0) << "Marovin's window did not appear";
    const double base = Median(baseline);
    const double app = Median(marovin);
    std::printf("start-up to shown window (%s), median of %d: trivial %.0f ms, Marovin %.0f ms, "
                "Marovin's own part %.0f ms (ratio %.2f)\n",
                what, kRuns, base, app, app - base, app / base);
}

TEST(StartupBench, MarovinAgainstTheSmallestWindowedProgram)
{
    RemoveAllCards();
    Measure("no capture device");
}

TEST(StartupBench, WithAVirtualCardToFindAndItsInputsToList)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(testsupport::RegisterTestBedFilters());
    RemoveAllCards();
    vcap::Personality personality;
    vcap::CardRecord card;
    std::wstring error;
    ASSERT_TRUE(vcap::InstallCard(1, personality, card, error));
    Measure("one virtual card");
    RemoveAllCards();
}

// The program's own account of one start (its phases, from its debug output), and the first
// opening of each settings page: built and painted under the wait cursor.
TEST(StartupBench, PhasesAndTheFirstOpeningOfEachSettingsPage)
{
    RemoveAllCards();
    marovintest::Running marovin;
    ASSERT_TRUE(marovintest::Start(testsupport::ModuleDir() + "Marovin.exe", marovin));
    const HWND window = marovintest::WaitForMainWindow(60000);
    ASSERT_NE(window, nullptr) << marovintest::Describe(marovin);
    ASSERT_TRUE(marovintest::WaitForOutput(marovin, "ms in all", 30000)) << marovin.Output();
    constexpr int kTabs[] = {1401, 1402, 1403, 1404};
    for (int index = 1; index < 4; ++index) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(kTabs[index], BN_CLICKED), 0);
        const std::string line = "settings page " + std::to_string(index) + " built and shown in";
        EXPECT_TRUE(marovintest::WaitForOutput(marovin, line, 30000)) << line;
    }
    const std::string output = marovin.Output();
    for (const char* wanted : {"start-up:", "settings page "}) {
        for (size_t at = output.find(wanted); at != std::string::npos; at = output.find(wanted, at + 1)) {
            const size_t end = output.find('\r', at);
            std::printf("%s\n", output.substr(at, end == std::string::npos ? std::string::npos : end - at).c_str());
        }
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    EXPECT_TRUE(marovintest::WaitForExit(marovin, 15000, &code)) << marovintest::Describe(marovin);
}

}  // namespace
