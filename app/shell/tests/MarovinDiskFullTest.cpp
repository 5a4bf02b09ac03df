// A recording that fills its disk: on a small memory disk the writer stops at the free space
// it keeps in reserve, the user is told why, and the file is a whole recording. Runs where
// its wrapper could mount that disk; anywhere else it is skipped.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "RecordingFixture.h"
#include "TestSupport.h"

using namespace marovintest;

namespace {

std::uint64_t FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

TEST_F(MarovinRecording, AFullDiskStopsTheRecordingWithItsMessage)
{
    const char* disk = std::getenv("MAROVIN_SMALL_DISK");
    if (disk == nullptr || *disk == '\0')
        GTEST_SKIP() << "no small disk (the test runs through with_small_disk.sh)";
    const std::string folder = disk;
    ULARGE_INTEGER freeBytes{};
    ASSERT_TRUE(GetDiskFreeSpaceExA(folder.c_str(), &freeBytes, nullptr, nullptr));
    SetString(kCaptureKey, "RecordingFolder", folder);

    Running running;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartPreviewing(running, &window));
    PostMessageA(window, WM_COMMAND, kRecordControl, 0);
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder + "clip1.mpg", 15000)) << running.Output();
    const std::string told = DismissMessageBox(window, 90000);
    EXPECT_NE(told.find("disk is full"), std::string::npos) << told;
    ASSERT_TRUE(WaitForOutput(running, "recording " + folder + "clip1.mpg finished", 15000)) << running.Output();

    // The writer keeps its reserve free, so the disk still has room for the file's end.
    const std::uint64_t size = FileSize(folder + "clip1.mpg");
    EXPECT_GT(size, freeBytes.QuadPart / 2);
    EXPECT_LE(size, freeBytes.QuadPart);
    EXPECT_EQ(GetString(kRecentKey, "file1"), folder + "clip1.mpg") << "the stopped recording is listed";

    // The disk goes with the test: the probe checks a copy.
    ASSERT_TRUE(CopyFileA((folder + "clip1.mpg").c_str(), (folder_ + "disk-full.mpg").c_str(), FALSE));
    Manifest("disk-full.mpg");
    CloseMarovin(running, window);
}

}  // namespace
