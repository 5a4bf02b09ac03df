// The main window's about box and its update check.
#include "MainDialog.h"

#include <shellapi.h>

#include "AboutDialog.h"
#include "ControlIds.h"
#include "ErrorLog.h"
#include "MessageIds.h"
#include "ProgramMessage.h"
#include "resource.h"
#include "UpdateDialog.h"
#include "UpdatePromptDialog.h"
#include "UpdateRules.h"

namespace shell {
namespace {

// This product's registration with the update service.
constexpr char kUpdateServiceCode[] = "{6F3C2A81-5D4E-4B7A-9C21-8E0D47B1A3F5}";

// Where the update information lives unless the settings name another address.
constexpr char kDefaultUpdateAddress[] = "http://www.halvark.com/updates/marovin/update.ini";

}  // namespace

void MainDialog::MapUpdateCommands()
{
    MapCommand(IDC_ABOUT_BUTTON, [this] { OnAboutBox(); });
}

void MainDialog::AddUpdateServiceMenuItem()
{
    char text[256] = {};
    LoadStringA(GetModuleHandleA(nullptr), IDS_UPDATE_SERVICE_MENU, text, sizeof text);
    if (HMENU menu = GetSystemMenu(FALSE); menu && text[0])
        AppendMenuA(menu, MF_STRING, kUpdateServiceCommand, text);
}

void MainDialog::OnUpdateService()
{
    char folder[MAX_PATH] = {};
    DWORD size = sizeof folder;
    std::string agent;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir", RRF_RT_REG_SZ,
                     nullptr, folder, &size) == ERROR_SUCCESS)
        agent = update::UpdateServiceAgent(folder);
    const std::string arguments = update::UpdateServiceArguments(kUpdateServiceCode);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(m_hWnd, "open", agent.c_str(), arguments.c_str(), nullptr, SW_SHOWNORMAL));
    Trace("update service %s %s: %ld", agent.c_str(), arguments.c_str(), static_cast<long>(result));
    if (agent.empty() || result <= 32)
        ShowProgramMessage(m_hWnd, "Could not launch update service", Text(msg::kAppTitle), MB_OK | MB_ICONEXCLAMATION);
}

void MainDialog::OnAboutBox()
{
    AboutDialog about(m_settings.version, this);
    if (about.DoModal() == IDC_ABOUT_CHECK_UPDATE)
        CheckForUpdate();
}

MainDialog::UpdatePlan MainDialog::PlanUpdateCheck()
{
    const framework::ProfileStore store = Store();
    UpdatePlan plan;
    plan.address = store.GetString("General", "UpdateAddress", "");
    if (plan.address.empty()) {
        plan.address = kDefaultUpdateAddress;
        store.WriteString("General", "UpdateAddress", plan.address.c_str());
    }
    char temp[MAX_PATH] = {};
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n > 0 && n < MAX_PATH)
        plan.file = std::string(temp) + "MarovinUpdate.ini";
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    plan.section = update::UpdateSectionName(update::ProgramFolderName(module), m_settings.version);
    RECT video{}, window{};
    ::GetWindowRect(GetDlgItem(IDC_VIDEO_AREA), &video);
    GetWindowRect(&window);
    plan.video = {video.left, video.top, video.right, video.bottom};
    plan.mainWindow = {window.left, window.top, window.right, window.bottom};
    return plan;
}

void MainDialog::CheckForUpdate()
{
    const UpdatePlan plan = PlanUpdateCheck();
    if (plan.file.empty())
        return;
    UpdateDialog dialog(plan.address, plan.file, plan.section, plan.video, plan.mainWindow, this);
    dialog.DoModal();
}

void MainDialog::StartBackgroundUpdateCheck()
{
    // Only for users who asked for it in the update prompt: the check goes out to the network.
    const int allow = Store().GetInt("General", "AllowUpdate", -1);
    if (allow == -1)
        Store().WriteInt("General", "AllowUpdate", 0);
    if (allow != 1)
        return;
    const UpdatePlan plan = PlanUpdateCheck();
    if (plan.file.empty())
        return;
    m_backgroundUpdate = std::make_unique<update::UpdateDownload>();
    if (!m_backgroundUpdate->Start(plan.address, plan.file, m_hWnd, kBackgroundUpdateDone))
        m_backgroundUpdate.reset();
    else
        Trace("background update check: %s", plan.address.c_str());
}

void MainDialog::OnBackgroundUpdateDone(bool downloaded)
{
    const UpdatePlan plan = PlanUpdateCheck();
    const update::UpdateVerdict verdict = update::JudgeUpdateFile(downloaded, plan.file, plan.section);
    m_backgroundUpdate.reset();
    if (verdict.outcome == update::UpdateOutcome::Refused)
        LogText("update information offers a value that is not a web address: " + verdict.address);
    if (verdict.outcome != update::UpdateOutcome::Offer) {
        // Nothing is shown for a check the user did not start.
        Trace("background update check: nothing offered (%d %s)", static_cast<int>(verdict.outcome), verdict.address.c_str());
        return;
    }
    bool allow = Store().GetInt("General", "AllowUpdate", 0) == 1;
    UpdatePromptDialog prompt(verdict.address, &allow, plan.video, plan.mainWindow, this);
    prompt.DoModal();
    Store().WriteInt("General", "AllowUpdate", allow ? 1 : 0);
}

}  // namespace shell
