#pragma once
// The launcher buttons' programs: read from and written to the settings, their icons, and
// starting them as processes of their own.
#include <windows.h>

#include <string>

#include <framework/ProfileStore.h>

namespace launcher {

struct LauncherButton {
    std::string commandLine;  // "CmdLine": the program's full path
    std::string runningDir;   // "RunningDir": empty means the launcher's own current folder
    std::string tooltip;      // "ToolTips"
    bool modified = false;    // "Modified": the user assigned the program
};

// Reads button `index`; the tooltip is built from the program (with `noProgramText` when
// there is none) and stored back.
LauncherButton LoadButton(const framework::ProfileStore& store, int index, const std::string& noProgramText);
// Writes the program, working folder and modified flag of button `index`.
void SaveButton(const framework::ProfileStore& store, int index, const LauncherButton& button);

// Starts the button's program normally in a console of its own; the system's error code
// when it could not be started, 0 when it was.
DWORD StartProgram(const LauncherButton& button);

// The program's first large icon, null when it has none; the caller destroys it.
HICON ProgramIcon(const std::string& path);

bool ProgramExists(const std::string& path);

}  // namespace launcher
