// Registry root choice, the log file and the status texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "ErrorLog.h"
#include "RegistryRoot.h"
#include "StatusText.h"
#include "TestSupport.h"

namespace {

using shell::ChooseRegistryRoot;

TEST(RegistryRoot, TwoWordsJoinedByOneBackslash)
{
    const auto root = ChooseRegistryRoot("Acme\\Studio", "Marovin");
    EXPECT_EQ(root.key, "Acme");
    EXPECT_EQ(root.profile, "Studio");
    const auto nested = ChooseRegistryRoot("Acme\\Studio\\Two", "Marovin");
    EXPECT_EQ(nested.key, "Acme");
    EXPECT_EQ(nested.profile, "Studio\\Two");
}

TEST(RegistryRoot, FallsBackWithoutAnInnerBackslash)
{
    for (const char* value : {"", "Acme", "\\Acme", "Acme\\", "\\", "\\Acme\\Studio"}) {
        const auto root = ChooseRegistryRoot(value, "Marovin");
        EXPECT_EQ(root.key, "Halvark") << value;
        EXPECT_EQ(root.profile, "Marovin") << value;
    }
}

TEST(RegistryRoot, InstallationKeyUsesForwardSlashes)
{
    EXPECT_EQ(shell::InstallationKeyPath("C:\\Program Files\\Marovin\\"),
              "Software\\Halvark, Inc.\\Marovin\\C:/Program Files/Marovin/");
    EXPECT_EQ(shell::InstallationKeyPath("D:\\x"), "Software\\Halvark, Inc.\\Marovin\\D:/x/");
}

TEST(RegistryRoot, ReadsTheStringValueAndIgnoresOtherTypes)
{
    // HKEY_CURRENT_USER stands in for the machine root so the test needs no rights.
    const std::string folder = "Z:\\marovin-test\\root\\";
    const std::string path = shell::InstallationKeyPath(folder);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(shell::ReadRegistryKeyValue(HKEY_CURRENT_USER, folder), "");
    RegSetValueExA(key, "RegistryKey", 0, REG_SZ, reinterpret_cast<const BYTE*>("A\\B"), 4);
    EXPECT_EQ(shell::ReadRegistryKeyValue(HKEY_CURRENT_USER, folder), "A\\B");
    const DWORD number = 5;
    RegSetValueExA(key, "RegistryKey", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
    EXPECT_EQ(shell::ReadRegistryKeyValue(HKEY_CURRENT_USER, folder), "");
    RegCloseKey(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Halvark, Inc.");
    EXPECT_EQ(shell::ReadRegistryKeyValue(HKEY_CURRENT_USER, "Z:\\nothing\\"), "");
}

TEST(ErrorLog, LineFormatIsExact)
{
    SYSTEMTIME t{};
    t.wYear = 2007;
    t.wMonth = 3;
    t.wDay = 9;
    t.wHour = 4;
    t.wMinute = 5;
    t.wSecond = 6;
    EXPECT_EQ(shell::FormatLogLine(t, "ERR", "disk full"), "03/09/07-04:05:06(ERR) disk full\n");
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ErrorLog, AppendsToAReadOnlyFile)
{
    const std::string path = testsupport::OutputDir() + "Marovin.log";
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    ASSERT_TRUE(shell::AppendLogLine(path, "ERR", "first"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(shell::AppendLogLine(path, "INF", "second"));
    const std::regex line(R"(\d\d/\d\d/\d\d-\d\d:\d\d:\d\d\(ERR\) first\n)"
                          R"(\d\d/\d\d/\d\d-\d\d:\d\d:\d\d\(INF\) second\n)");
    EXPECT_TRUE(std::regex_match(ReadAll(path), line)) << ReadAll(path);
    EXPECT_FALSE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST(ErrorLog, ReportShowsTheUserPartAndLogsTheRest)
{
    const std::string path = testsupport::OutputDir() + "report.log";
    DeleteFileA(path.c_str());
    std::vector<std::string> shown;
    shell::SetErrorSink({[](UINT id) -> std::string {
                             if (id == 1)
                                 return "Cannot open %s|open failed %s code %d";
                             if (id == 2)
                                 return "|only logged %d";
                             return "Just a message %d";
                         },
                         [&shown](const std::string& text) { shown.push_back(text); }, path});
    shell::ReportError(1, "a.mpg", 5);
    shell::ReportError(2, 7);
    shell::ReportError(3, 9);
    shell::SetErrorSink({});

    EXPECT_EQ(shown, (std::vector<std::string>{"Cannot open a.mpg", "Just a message 9"}));
    const std::string log = ReadAll(path);
    EXPECT_NE(log.find("(ERR) open failed a.mpg code 5\n"), std::string::npos) << log;
    EXPECT_NE(log.find("(ERR) only logged 7\n"), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2);
}

TEST(ErrorLog, LogPartIsCutAtOneThousandCharacters)
{
    const std::string path = testsupport::OutputDir() + "long.log";
    DeleteFileA(path.c_str());
    const std::string longText(1500, 'y');
    shell::SetErrorSink({[](UINT) -> std::string { return "|%s"; }, nullptr, path});
    shell::ReportError(1, longText.c_str());
    shell::SetErrorSink({});
    const std::string log = ReadAll(path);
    EXPECT_NE(log.find("(ERR) " + std::string(1000, 'y') + "\n"), std::string::npos);
    EXPECT_EQ(log.find(std::string(1001, 'y')), std::string::npos);
}

}  // namespace

namespace {

TEST(StatusText, EngineTimeBecomesClockFields)
{
    const shell::ClockTime hour = shell::ClockFromEngineTime(36000000000LL);
    EXPECT_EQ(shell::FormatClock(hour.hours, hour.minutes, hour.seconds), "01:00:00");
    EXPECT_EQ(hour.Position() * 10, 360000u) << "the position slider counts hundredths";
    const shell::ClockTime t = shell::ClockFromEngineTime(37230000000LL + 7000000LL);  // 1:02:03.7
    EXPECT_EQ(t.hours, 1u);
    EXPECT_EQ(t.minutes, 2u);
    EXPECT_EQ(t.seconds, 3u);
    EXPECT_EQ(t.tenths, 7u);
    // Two ticks within one tenth land on the same position.
    EXPECT_EQ(shell::ClockFromEngineTime(12340000).Position(), shell::ClockFromEngineTime(12999999).Position());
    EXPECT_EQ(shell::ClockFromEngineTime(-5).Position(), 0u) << "a negative time shows zero";
    EXPECT_EQ(shell::FormatClock(0, 0, 0), "00:00:00");
    EXPECT_EQ(shell::FormatClock(123, 4, 5), "123:04:05");
    EXPECT_EQ(shell::VersionLine("2.10.37"), "Version: 2.10.37");
}

TEST(StatusText, FileSizesInMegaAndGigabytes)
{
    EXPECT_EQ(shell::FormatFileSize(2147483648ULL), "2.00 GB");
    EXPECT_EQ(shell::FormatFileSize(524288000ULL), "500.00 MB");
    EXPECT_EQ(shell::FormatFileSize(1073741824ULL), "1024.00 MB") << "exactly 1 GiB is not above it";
    EXPECT_EQ(shell::FormatFileSize(1073741825ULL), "1.00 GB");
    EXPECT_EQ(shell::FormatFileSize(0), "0.00 MB");
    EXPECT_EQ(shell::FormatFileSize(1023), "0.00 MB") << "whole kilobytes only";
    EXPECT_EQ(shell::FormatFileSize(5ULL << 32), "20.00 GB");
}

TEST(StatusText, HoverTextNamesTheFileItsSizeAndDuration)
{
    EXPECT_EQ(shell::RecentHoverText("C:\\Videos\\clip4.mpg", 524288000ULL, "00:10:00"),
              "clip4.mpg\r\nSize: 500.00 MB     Duration: 00:10:00");
    EXPECT_EQ(shell::RecentHoverText("clip.mpg", 2147483648ULL, ""), "clip.mpg\r\nSize: 2.00 GB     Duration: ");
}

}  // namespace
