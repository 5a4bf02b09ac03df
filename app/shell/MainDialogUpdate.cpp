// The main window's about box and its update check.
#include "MainDialog.h"

#include "AboutDialog.h"
#include "ControlIds.h"
#include "UpdateDialog.h"
#include "UpdateRules.h"

namespace shell {
namespace {

// Where the update information lives unless the settings name another address.
constexpr char kDefaultUpdateAddress[] = "http://www.halvark.com/updates/marovin/update.ini";

}  // namespace

void MainDialog::MapUpdateCommands()
{
    MapCommand(IDC_ABOUT_BUTTON, [this] { OnAboutBox(); });
}

void MainDialog::OnAboutBox()
{
    AboutDialog about(m_settings.version, this);
    if (about.DoModal() == IDC_ABOUT_CHECK_UPDATE)
        CheckForUpdate();
}

void MainDialog::CheckForUpdate()
{
    const framework::ProfileStore store = Store();
    std::string address = store.GetString("General", "UpdateAddress", "");
    if (address.empty()) {
        address = kDefaultUpdateAddress;
        store.WriteString("General", "UpdateAddress", address.c_str());
    }
    char temp[MAX_PATH] = {};
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH)
        return;
    const std::string file = std::string(temp) + "MarovinUpdate.ini";
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    const std::string section = update::UpdateSectionName(update::ProgramFolderName(module), m_settings.version);

    RECT video{}, window{};
    ::GetWindowRect(GetDlgItem(IDC_VIDEO_AREA), &video);
    GetWindowRect(&window);
    UpdateDialog dialog(address, file, section, {video.left, video.top, video.right, video.bottom},
                        {window.left, window.top, window.right, window.bottom}, this);
    dialog.DoModal();
}

}  // namespace shell
