#pragma once
// The rules of the launcher buttons that need no system: where a button's settings live,
// the working folder and tooltip a program gets, the command line it is started with, and
// which dropped files a launcher takes.
#include <string>
#include <vector>

namespace launcher {

// Buttons 0 to 3; button i answers command kFirstCommand + i.
constexpr int kButtonCount = 4;
constexpr int kFirstCommand = 1135;

// The settings section of button `index`: "Launching\Btn<index>".
std::string ButtonSection(int index);
// The folder part of a program path, without its last backslash; empty without one.
std::string FolderOf(const std::string& path);
// The text after the last backslash.
std::string FileNameOf(const std::string& path);
// Whether the lower-cased path contains ".exe".
bool NamesExecutable(const std::string& path);
// The tooltip: the program's file name, or `noProgramText` when the path is empty, names no
// executable or does not exist.
std::string TooltipFor(const std::string& path, bool exists, const std::string& noProgramText);
// The command line a program is started with: its path in quotes, so that a blank in a folder
// name cannot make the system try a shorter name first. A path already quoted stays as it is.
std::string QuotedCommandLine(const std::string& path);

enum class DropVerdict { Accepted, SeveralFiles, NotExecutable };
DropVerdict JudgeLauncherDrop(const std::vector<std::string>& files);

}  // namespace launcher
