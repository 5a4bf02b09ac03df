// A recording the program did not live to finish: Marovin is killed while it records, and the
// next start repairs the file, lists it as recovered and says so once. The probe script checks
// that each recovered file decodes with no complaint and lasts as long as it was recorded.
// A name in the settings that leads to no file, or to a file that is not a recording, is
// forgotten without a message and the file is not touched.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "RecordingFixture.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

constexpr char kUnfinished[] = "UnfinishedRecording";

std::string Clip(int number)
{
    return "clip" + std::to_string(number) + ".mpg";
}

class MarovinRecovery : public MarovinRecording {
protected:
    // Starts Marovin, records `file` for `ms` and kills the process; the seconds recorded.
    double RecordAndKill(const std::string& file, DWORD ms)
    {
        Running running;
        HWND window = nullptr;
        StartPreviewing(running, &window);
        if (HasFatalFailure())
            return 0;
        PostMessageA(window, WM_COMMAND, kRecordControl, 0);
        EXPECT_TRUE(WaitForOutput(running, "recording " + folder_ + file, 15000)) << running.Output();
        const DWORD started = GetTickCount();
        testsupport::PumpMessages(ms);
        const DWORD killed = GetTickCount();
        EXPECT_TRUE(TerminateProcess(running.info.hProcess, 1));
        DWORD code = 0;
        EXPECT_TRUE(WaitForExit(running, 10000, &code)) << Describe(running);
        return (killed - started) / 1000.0;
    }

    // Starts Marovin again and returns the text of the box it shows first ("<no message box>"
    // when none comes), then closes it.
    std::string Restart(std::string* output)
    {
        Running running;
        if (!Start(testsupport::ModuleDir() + "Marovin.exe", running))
            return "<not started>";
        const HWND window = WaitForMainWindow(20000);
        if (!window)
            return "<no window>";
        const std::string text = DismissMessageBox(window, 4000);
        WaitForOutput(running, "preview of source", 15000);
        *output = running.Output();
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitForExit(running, 20000, nullptr)) << Describe(running);
        return text;
    }
};

TEST_F(MarovinRecovery, AKilledRecordingIsRepairedListedAndToldOnce)
{
    // MAROVIN_RECOVERY_KILLS sets a longer run (tools/recovery-soak.sh); the moments are
    // seeded and printed so that a failing one can be repeated.
    char value[16] = {};
    const int kills = GetEnvironmentVariableA("MAROVIN_RECOVERY_KILLS", value, sizeof value) ? std::atoi(value) : 2;
    unsigned seed = GetEnvironmentVariableA("MAROVIN_RECOVERY_SEED", value, sizeof value)
                        ? static_cast<unsigned>(std::strtoul(value, nullptr, 10))
                        : 2026;
    std::printf("recovery: %d kills, seed %u\n", kills, seed);
    for (int k = 1; k <= kills; ++k) {
        seed = seed * 1103515245u + 12345u;
        const DWORD moment = 2000 + (seed >> 8) % 4000;
        const std::string file = Clip(k);
        SCOPED_TRACE(file + " killed after " + std::to_string(moment) + " ms");
        const double seconds = RecordAndKill(file, moment);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(GetString(kCaptureKey, kUnfinished), folder_ + file) << "the settings name the running recording";

        std::string output;
        const std::string message = Restart(&output);
        EXPECT_NE(message.find(folder_ + file), std::string::npos) << message;
        EXPECT_NE(message.find("MB"), std::string::npos) << "the recovered size: " << message;
        EXPECT_NE(output.find("recovered " + folder_ + file), std::string::npos) << output;
        EXPECT_EQ(GetString(kCaptureKey, kUnfinished), "") << "told once";
        EXPECT_EQ(GetString(kRecentKey, "file1"), folder_ + file);
        EXPECT_NE(GetString(kRecentKey, "file1dur").find("(recovered)"), std::string::npos);
        EXPECT_EQ(GetString(kRecentKey, "file1res"), "720x576");
        char recorded[32];
        std::snprintf(recorded, sizeof recorded, "%.2f", seconds);
        std::printf("recovery: %s killed after %s s\n", file.c_str(), recorded);
        Manifest(file, recorded, "1.0");
    }
    // The next start has nothing to tell.
    std::string output;
    EXPECT_EQ(Restart(&output), "<no message box>");
}

TEST_F(MarovinRecovery, ANameWithNoRecordingBehindItIsForgottenQuietly)
{
    const std::string gone = folder_ + "gone.mpg";
    DeleteFileA(gone.c_str());
    const std::string notes = folder_ + "notes.mpg";
    const std::string text(100000, 'x');
    std::ofstream(notes, std::ios::binary | std::ios::trunc) << text;
    for (const std::string& named : {gone, notes}) {
        SCOPED_TRACE(named);
        SetString(kCaptureKey, kUnfinished, named);
        std::string output;
        EXPECT_EQ(Restart(&output), "<no message box>");
        EXPECT_NE(output.find("unfinished recording " + named), std::string::npos) << output;
        EXPECT_EQ(GetString(kCaptureKey, kUnfinished), "");
        EXPECT_NE(GetString(kRecentKey, "file1"), named);
    }
    std::ifstream in(notes, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, text) << "a file that is not a recording is not touched";
}

}  // namespace
