// The main window's launcher buttons: loading them with their programs' icons and tooltips,
// pressing one (starting its program, or choosing one), and a program dropped on the window.
#include "MainDialog.h"

#include <framework/FileDialog.h>

#include <cstdio>

#include "ControlIds.h"
#include "LauncherButtons.h"
#include "MessageIds.h"
#include "ProgramMessage.h"

namespace shell {
namespace {

std::string Formatted(const std::string& format, const std::string& argument)
{
    // The text file's format takes one %s; anything else in it is shown as it is.
    const std::size_t at = format.find("%s");
    if (at == std::string::npos)
        return format;
    return format.substr(0, at) + argument + format.substr(at + 2);
}

}  // namespace

void MainDialog::MapLauncherCommands()
{
    for (int i = 0; i < launcher::kButtonCount; ++i)
        MapCommand(static_cast<UINT>(launcher::kFirstCommand + i), [this, i] { OnLauncher(i); });
}

void MainDialog::LoadLaunchers()
{
    for (int i = 0; i < launcher::kButtonCount; ++i)
        ReloadLauncher(i, false);
}

void MainDialog::ReloadLauncher(int index, bool droppedProgram)
{
    const launcher::LauncherButton button = launcher::LoadButton(Store(), index, Text(msg::kLauncherEmptyTooltip));
    const HWND window = GetDlgItem(launcher::kFirstCommand + index);
    if (!window)
        return;
    HICON icon = launcher::ProgramIcon(button.commandLine);
    if (!icon && !button.commandLine.empty()) {
        // A program without an icon of its own gets the skin's: the shortcut icon for a
        // dropped one, the launcher icon otherwise.
        if (droppedProgram) {
            const std::string file = m_programFolder + Text(msg::kLauncherIconFolder) + "\\shortcut.ico";
            icon = static_cast<HICON>(LoadImageA(nullptr, file.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
        }
        if (!icon)
            icon = LoadAuxLargeIcon(AUX_LAUNCHER_ICON, 0, 0);
    }
    m_launcherFaces.Show(index, window, icon);
    if (icon)
        DestroyIcon(icon);
    SetToolTipText(launcher::kFirstCommand + index, window, button.tooltip);
    Trace("launcher %d: \"%s\", tooltip \"%s\"", index, button.commandLine.c_str(), button.tooltip.c_str());
}

void MainDialog::OnLauncher(int index)
{
    // A running preview or file stops first; a recording is finished and listed on the way.
    if (m_mode == MODE_CAPTURE)
        m_capture.SwitchOff();
    else if (m_mode == MODE_PLAYBACK)
        ClosePlayback();

    const framework::ProfileStore store = Store();
    launcher::LauncherButton button = launcher::LoadButton(store, index, Text(msg::kLauncherEmptyTooltip));
    if (!button.commandLine.empty()) {
        const DWORD error = launcher::StartProgram(button);
        if (error == 0) {
            Trace("launcher %d started %s", index, button.commandLine.c_str());
            store.WriteString(launcher::ButtonSection(index).c_str(), "CmdLine", button.commandLine.c_str());
            ReloadLauncher(index, false);
            return;
        }
        Trace("launcher %d could not start %s (%lu)", index, button.commandLine.c_str(), error);
    }
    if (!button.modified &&
        ShowProgramMessage(m_hWnd, Formatted(Text(msg::kLauncherChooseProgram), button.tooltip), Text(msg::kAppTitle),
                           MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;

    std::string filter = Text(msg::kProgramFilter);
    if (filter.empty())
        filter = "Programs (*.exe)|*.exe||";
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY, filter.c_str(), this);
    const std::string title = Text(msg::kChooseProgramTitle);
    if (!title.empty())
        dialog.SetTitle(title.c_str());
    if (!m_launcherFolder.empty())
        dialog.SetInitialDir(m_launcherFolder.c_str());
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    const INT_PTR answer = dialog.DoModal();
    SetCurrentDirectoryA(current);
    if (answer != IDOK)
        return;
    const std::string chosen = dialog.GetPathName();
    m_launcherFolder = launcher::FolderOf(chosen);
    button.commandLine = chosen;
    button.runningDir.clear();
    if (!button.modified && launcher::StartProgram(button) == 0)
        Trace("launcher %d started %s", index, chosen.c_str());
    button.modified = true;
    button.tooltip = launcher::TooltipFor(chosen, launcher::ProgramExists(chosen), Text(msg::kLauncherEmptyTooltip));
    launcher::SaveButton(store, index, button);
    ReloadLauncher(index, false);
}

void MainDialog::DropLauncherProgram(const std::string& path)
{
    launcher::LauncherButton button;
    button.commandLine = path;
    button.modified = true;
    button.tooltip = launcher::TooltipFor(path, launcher::ProgramExists(path), Text(msg::kLauncherEmptyTooltip));
    launcher::SaveButton(Store(), 0, button);
    ReloadLauncher(0, true);
}

}  // namespace shell
