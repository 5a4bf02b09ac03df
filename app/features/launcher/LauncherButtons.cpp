#include "LauncherButtons.h"

#include <shellapi.h>

#include <vector>

#include <win/Handle.h>

#include "LauncherRules.h"

namespace launcher {

bool ProgramExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

LauncherButton LoadButton(const framework::ProfileStore& store, int index, const std::string& noProgramText)
{
    const std::string section = ButtonSection(index);
    LauncherButton button;
    button.commandLine = store.GetString(section.c_str(), "CmdLine", "");
    button.runningDir = store.GetString(section.c_str(), "RunningDir", FolderOf(button.commandLine).c_str());
    button.modified = store.GetInt(section.c_str(), "Modified", 0) == 1;
    button.tooltip = TooltipFor(button.commandLine, ProgramExists(button.commandLine), noProgramText);
    store.WriteString(section.c_str(), "ToolTips", button.tooltip.c_str());
    return button;
}

void SaveButton(const framework::ProfileStore& store, int index, const LauncherButton& button)
{
    const std::string section = ButtonSection(index);
    store.WriteString(section.c_str(), "CmdLine", button.commandLine.c_str());
    store.WriteString(section.c_str(), "RunningDir", button.runningDir.c_str());
    store.WriteString(section.c_str(), "ToolTips", button.tooltip.c_str());
    store.WriteInt(section.c_str(), "Modified", button.modified ? 1 : 0);
}

DWORD StartProgram(const LauncherButton& button)
{
    if (button.commandLine.empty())
        return ERROR_FILE_NOT_FOUND;
    // The program is named on its own, and the command line carries it quoted: the system
    // never searches for a shorter name at a blank.
    std::string line = QuotedCommandLine(button.commandLine);
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    std::string application = button.commandLine;
    if (application.size() >= 2 && application.front() == '"' && application.back() == '"')
        application = application.substr(1, application.size() - 2);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(application.c_str(), writable.data(), nullptr, nullptr, TRUE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr,
                        button.runningDir.empty() ? nullptr : button.runningDir.c_str(), &startup, &process))
        return GetLastError();
    win::Handle processHandle(process.hProcess);
    win::Handle threadHandle(process.hThread);
    return 0;
}

HICON ProgramIcon(const std::string& path)
{
    HICON large = nullptr;
    if (path.empty() || ExtractIconExA(path.c_str(), 0, &large, nullptr, 1) == 0)
        return nullptr;
    return large;
}

}  // namespace launcher
