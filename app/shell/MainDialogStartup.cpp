// The main window's start-up: the skin engine, the skinned controls, what was recorded
// before (a recording a crash cut off, the recent list), the settings and devices, and the
// controls' first state. Routing and painting stay in MainDialog.cpp.
#include "MainDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <set>

#include "ChannelPage.h"
#include "ColourPage.h"
#include "ControlIds.h"
#include "ErrorLog.h"
#include "MessageIds.h"
#include "ProgramMessage.h"
#include "RecordingPage.h"
#include "RegistryRoot.h"
#include "StartupTimes.h"
#include "VersionString.h"
#include "resource.h"

namespace shell {
namespace {

constexpr int kIdlePictureBitmap = 1;
constexpr int kPlaceholderThumbnailBitmap = 4;
constexpr COLORREF kStatusTextColour = RGB(0x00, 0xFF, 0x00);
constexpr COLORREF kTransparentColour = 255;
constexpr char kEngineApplication[] = "Reelwright";

struct CompanionDialog {
    int resourceId;
    const char* name;
};
constexpr CompanionDialog kHiddenDialogs[] = {
    {IDD_ABOUT, "About Dialog"},
    {IDD_FRAME_DROP_WARN, "Warn Frame Drop Dialog"},
    {IDD_SAVE_BITMAP, "Save Bitmap Dialog"},
    {IDD_SAP_CONFIG, "SAP Config Dialog"},
    {IDD_PREVIEW_WAIT_RECON, "Preview Waiting for Reconnect Dialog"},
    {IDD_DETECT_SOURCE, "Video Source Detection Dialog"},
    {IDD_TIMED_PROMPT, "TimedPromptDialog"},
    {IDD_UPDATE, "UpdateDlg"},
    {IDD_UPDATE_ON_START, "UpdateOnStart"},
    {IDD_CUSTOM_TEMPLATE, "Custom Template Dialog"},
};

RECT ItemRectInWindow(HWND window, int id)
{
    RECT rect{};
    if (HWND item = GetDlgItem(window, id)) {
        GetWindowRect(item, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

}  // namespace

BOOL MainDialog::OnInitDialog()
{
    MarkStartup("window from its template");
    m_initTick = GetTickCount();
    const framework::ProfileStore store = Store();

    // A first start records the user's language so that skin and texts keep it.
    int locale = store.GetInt("General", "Locale", -1);
    if (locale == -1) {
        locale = static_cast<int>(GetThreadLocale());
        store.WriteInt("General", "Locale", locale);
    }
    m_locale = static_cast<LANGID>(locale);

    if (!StartSkinEngine()) {
        shell::ShowProgramMessage(m_hWnd, "Failed to initialize Gaphics Engine", "", MB_OK | MB_ICONSTOP);
        EndDialog(-1);
        return TRUE;
    }
    MarkStartup("skin engine");
    shell::SetSkinnedMessagesAvailable(true);
    shell::SetErrorSink({[this](UINT id) { return Text(static_cast<int>(id)); },
                         [this](const std::string& text) {
                             shell::ShowProgramMessage(m_hWnd, text, Text(msg::kAppTitle), MB_OK | MB_ICONEXCLAMATION);
                         },
                         m_logPath});

    EQorDialog::OnInitDialog();
    // Every control takes its look from the skin, except those the main window draws itself.
    m_skinnedControls.CreateAndBind(
        *this, "MainDialog", m_templateItems,
        {IDC_VIDEO_AREA, IDC_STATUS_DISPLAY, IDC_RECENT_1, IDC_RECENT_2, IDC_RECENT_3, IDC_RECENT_4}, m_pageItems);
    InitializeQorDialog("MainDialog", kTransparentColour, false);
    MarkStartup("skinned controls");
    // The thumbnails' frames and placeholder belong to the skin, known once it is loaded.
    m_thumbnails.Place(*this);
    RecoverUnfinishedRecording();
    FillThumbnails();
    SetMouseMovesDialog(true);
    m_videoArea.SubclassDlgItem(IDC_VIDEO_AREA, this);
    RegisterHiddenDialogs();
    StartDeviceDiscovery();
    LoadSettings();
    LoadTunerSettings();
    MarkStartup("devices and settings");

    SetWindowText(Text(msg::kAppTitle).c_str());
    AddAboutMenuItem();
    AddUpdateServiceMenuItem();
    SetIcon(m_icon, TRUE);
    SetIcon(m_icon, FALSE);
    CheckDlgButton(IDC_MUTE, m_settings.mute == 1 ? BST_CHECKED : BST_UNCHECKED);
    ListInputSources();

    SendDlgItemMessage(IDC_VOLUME_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendDlgItemMessage(IDC_VOLUME_SLIDER, TBM_SETPOS, TRUE, 0);
    ::EnableWindow(GetDlgItem(IDC_VOLUME_SLIDER), FALSE);
    ::EnableWindow(GetDlgItem(IDC_MUTE), FALSE);
    ::EnableWindow(GetDlgItem(IDC_POSITION_SLIDER), FALSE);
    DragAcceptFiles(TRUE);

    if (!LoadIdlePicture()) {
        shell::ShowProgramMessage(m_hWnd, Text(msg::kSkinLoadFailed), Text(msg::kAppTitle), MB_OK | MB_ICONSTOP);
        shell::AppendLogLine(m_logPath, "ERR", "idle picture (auxiliary bitmap 1) did not load");
        EndDialog(-1);
        return TRUE;
    }
    m_settings.version = settings::FormatVersionString(
        settings::ReadProductVersion(m_programFolder + shell::ModuleBaseName(nullptr) + ".exe"),
        store.GetString("", "BuildNumber", ""));

    InitStatusDisplay();
    LoadLaunchers();
    ShowRemoteStatus();
    StartBackgroundUpdateCheck();

    const RECT placement = ItemRectInWindow(m_hWnd, IDC_VIDEO_PLACEMENT);
    if (HWND video = GetDlgItem(IDC_VIDEO_AREA))
        ::MoveWindow(video, placement.left, placement.top, placement.right - placement.left,
                     placement.bottom - placement.top, TRUE);

    bool sourceAvailable = false;
    for (int source : m_availableSources)
        sourceAvailable = sourceAvailable || source == m_settings.source;
    if (!sourceAvailable) {
        const int first = m_availableSources.empty() ? 0 : m_availableSources.front();
        m_settings.source = first >= 0 && first <= 5 ? first : 0;
    }
    FillInputList();

    ::EnableWindow(GetDlgItem(IDC_SNAPSHOT), FALSE);
    // Without the device's own defaults the custom template gets safe MPEG-2 rates.
    if (m_settings.custom.bitRate == 0 || m_settings.custom.peakBitRate == 0) {
        m_settings.custom.peakBitRate = 7500000;
        m_settings.custom.bitRate = 6000000;
    }
    CreateSettingsWindow();
    AttachChannelPage();
    m_capture.Begin(m_initTick);
    SetFocus();
    MarkStartup("rest of the initialisation");
    Trace("main window initialised in %lu ms, version %s", GetTickCount() - m_initTick,
          m_settings.version.c_str());
    return TRUE;
}

void MainDialog::RecoverUnfinishedRecording()
{
    const framework::ProfileStore store = Store();
    m_recovery = recording::RecoverUnfinishedRecording(store);
    if (m_recovery.kind == recording::RecoveryReport::kForgotten) {
        shell::AppendLogLine(m_logPath, "ERR", m_recovery.logLine.c_str());
        Trace("%s", m_recovery.logLine.c_str());
    } else if (m_recovery.kind == recording::RecoveryReport::kRecovered) {
        m_recent.Add(m_recovery.entry);
        m_recent.Write(store);
        Trace("recovered %s: %llu bytes", m_recovery.path.c_str(), static_cast<unsigned long long>(m_recovery.length));
        PostMessage(kMsgTellRecovery, 0, 0);
    }
}

void MainDialog::TellRecovery()
{
    shell::ShowProgramMessage(m_hWnd, recording::RecoveryMessage(Text(msg::kRecordingRecovered), m_recovery),
                              Text(msg::kAppTitle), MB_OK | MB_ICONINFORMATION);
}

void MainDialog::LoadSettings()
{
    const framework::ProfileStore store = Store();
    m_settings.LoadCaptureSection(store);
    m_settings.LoadDeviceValues(store);
    ChooseCaptureDevice();
    m_settings.LoadCustomSelection(store);
    m_settings.LoadWindowValues(store);
    m_settings.freeSpace = settings::MeasureFreeSpace(m_settings.recordingFolder);
    LoadKeyTables();
}

void MainDialog::FillThumbnails()
{
    std::string placeholder;
    GetAuxBitmapFilename(kPlaceholderThumbnailBitmap, &placeholder);
    // The hover information has two lines; a tooltip breaks lines only with a width limit.
    if (m_toolTip.GetSafeHwnd())
        ::SendMessageA(m_toolTip.GetSafeHwnd(), TTM_SETMAXTIPWIDTH, 0, 400);
    m_thumbnails.Fill(*this, m_recent, Store(), placeholder);
}

void MainDialog::InitStatusDisplay()
{
    m_status.SubclassDlgItem(IDC_STATUS_DISPLAY, this);
    m_status.SetFace(this);
    m_status.SetTextColour(kStatusTextColour);
    m_status.SetClockTargets(GetDlgItem(IDC_ELAPSED_CLOCK), GetDlgItem(IDC_COUNTDOWN_CLOCK));
    InformationContext context;
    context.settings = &m_settings;
    context.version = m_settings.version;
    m_status.SetInformationContext(context);
    m_status.ClearTime();
    m_status.ShowTime();
    m_status.ShowInformation(shell::VersionLine(m_settings.version));
}

void MainDialog::AddAboutMenuItem()
{
    char text[256] = {};
    LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUT_MENU, text, sizeof text);
    HMENU menu = GetSystemMenu(FALSE);
    if (text[0] == '\0' || menu == nullptr)
        return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kAboutCommand, text);
}

void MainDialog::SplitTemplate()
{
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDD_MAIN_DIALOG), RT_DIALOG);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    // The pages behind the recording, TV and colour tabs: about 70 hidden controls, whose
    // combo boxes, lists and sliders cost the most to create.
    std::set<int> later;
    for (const std::vector<int>& ids :
         {pages::RecordingPage::ControlIds(), ChannelPage::ControlIds(), pages::ColourPage::ControlIds()})
        later.insert(ids.begin(), ids.end());
    // The control set makes every item itself, in template order: each new window then comes
    // below the one made before it, where the dialog manager would have put it, and none has
    // to be moved in the z-order afterwards.
    const auto takeOut = [](const skelda::DialogTemplateItem&) { return true; };
    // A template that cannot be read this way is left to the dialog manager whole.
    if (!data ||
        !skelda::SplitDialogTemplate(data, SizeofResource(module, found), takeOut, &m_template, &m_templateItems))
        return;
    InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATEA>(m_template.data()), nullptr, module);
    const auto pageItem = std::stable_partition(m_templateItems.begin(), m_templateItems.end(),
                                                [&later](const skelda::DialogTemplateItem& item) {
                                                    return later.count(static_cast<short>(item.id)) == 0;
                                                });
    m_pageItems.assign(pageItem, m_templateItems.end());
    m_templateItems.erase(pageItem, m_templateItems.end());
}

void MainDialog::MakePageControls(const std::vector<int>& ids)
{
    const auto pageItem = std::stable_partition(m_pageItems.begin(), m_pageItems.end(),
                                                [&ids](const skelda::DialogTemplateItem& item) {
                                                    return std::find(ids.begin(), ids.end(),
                                                                     static_cast<short>(item.id)) == ids.end();
                                                });
    if (pageItem == m_pageItems.end())
        return;
    const std::vector<skelda::DialogTemplateItem> items(pageItem, m_pageItems.end());
    m_pageItems.erase(pageItem, m_pageItems.end());
    m_skinnedControls.CreateLater(*this, "MainDialog", items);
    InitializeAddedControls();
}

bool MainDialog::StartSkinEngine()
{
    CWinApp* app = AfxGetApp();
    const std::string clientKey = std::string("HKEY_CURRENT_USER\\Software\\") +
                                  (app ? app->GetRegistryKey() : "") + "\\" +
                                  (app ? app->GetProfileName() : "");
    m_engineStarted = m_engine.InitializeGraphicsEngine(kEngineApplication, clientKey, m_locale);
    return m_engineStarted;
}

void MainDialog::RegisterHiddenDialogs()
{
    HandlingHiddenDialogs();
    for (const CompanionDialog& dialog : kHiddenDialogs)
        AddHiddenDlg(dialog.resourceId, dialog.name);
}

bool MainDialog::LoadIdlePicture()
{
    m_idlePicture.Attach(LoadAuxBitmap(kIdlePictureBitmap, 0, 0));
    m_videoArea.SetIdlePicture(m_idlePicture);
    return static_cast<HBITMAP>(m_idlePicture) != nullptr;
}

}  // namespace shell
