#pragma once
// The main window: owner of the running system. It loads the settings, shows the idle
// picture and paints; it routes the commands, messages and timer ticks of capture and
// playback to the two session objects that own them, and shuts everything down in order when
// it closes, whichever way it is closed (close button, WM_CLOSE, Enter, Esc).
#include <framework/Framework.h>

#include "EQorDialog.h"
#include "EQorSkinnedControlSet.h"
#include "QorGraphicsEngineAPI.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CaptureSession.h"
#include "CaptureSettings.h"
#include "KeyCommands.h"
#include "PageHost.h"
#include "ChannelPage.h"
#include "LauncherFaces.h"
#include "RemoteLearning.h"
#include "UpdateCheck.h"
#include "UpdateRules.h"
#include "PlaybackSession.h"
#include "RecentRecordings.h"
#include "RecentThumbnails.h"
#include "RecordingRecovery.h"
#include "SessionHost.h"
#include "SettingsWindow.h"
#include "StatusDisplay.h"
#include "SuspendState.h"
#include "VideoArea.h"

namespace shell {

class MainDialog : public EQorDialog, private SessionHost {
public:
    MainDialog();
    ~MainDialog() override;

    const settings::CaptureSettings& Settings() const { return m_settings; }

protected:
    BOOL OnInitDialog() override;
    LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC dc) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item) override;
    HCURSOR OnQueryDragIcon() override;
    void OnClose() override;
    void OnDestroy() override;
    // System events (MainDialogSystem.cpp): suspend and resume, log-off, display change.
    LRESULT OnPowerBroadcast(WPARAM wParam, LPARAM lParam) override;
    BOOL OnQueryEndSession() override;
    LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam) override;
    void OnNcPaint(HRGN updateRegion) override;
    // Enter and Esc reach the dialog as IDOK and IDCANCEL: both close the window as the close
    // button does.
    void OnOK() override;
    void OnCancel() override;

private:
    framework::ProfileStore Store() const override;
    // Start-up (MainDialogStartup.cpp).
    static constexpr UINT kAboutCommand = 16;  // system menu
    // Posted at start-up so that the recovery message shows over the shown window.
    static constexpr UINT kMsgTellRecovery = WM_USER + 26;
    // Posted after the first paint, once per hidden settings page: the page's controls are
    // made while the user looks at the shown window, so that the window shows sooner and
    // the page's first opening stays quick.
    static constexpr UINT kMsgPreparePages = WM_USER + 27;
    void LoadSettings();
    // Devices (MainDialogDevices.cpp).
    void StartDeviceDiscovery();
    void ChooseCaptureDevice();
    void ListInputSources();
    void FillInputList();

    void FillThumbnails();
    // A recording the program did not live to finish: repaired and listed before the
    // thumbnails are drawn, told once the window shows.
    void RecoverUnfinishedRecording();
    void TellRecovery();
    recording::RecoveryReport m_recovery;
    void InitStatusDisplay();
    void AddAboutMenuItem();
    bool StartSkinEngine();
    // The window is made from a copy of its template without its buttons and labels, which
    // the initialisation creates once, most of them as the skin's own windows, and without
    // the controls of the settings pages that are not up at start, which are created when
    // their page is first shown (MakePageControls).
    void SplitTemplate();
    std::vector<BYTE> m_template;
    std::vector<skelda::DialogTemplateItem> m_templateItems;
    std::vector<skelda::DialogTemplateItem> m_pageItems;
    void MakePageControls(const std::vector<int>& ids);
    void RegisterHiddenDialogs();
    std::string Text(int id);
    bool LoadIdlePicture();
    // The one way out: the shut-down sequence, then the end of the modal loop with `result`.
    void CloseWindow(int result);
    void CloseSequence();
    void Trace(const char* format, ...) const;

    // What the sessions ask of the window.
    void StartTimer(UINT_PTR id, UINT periodMs) override;
    void StopTimer(UINT_PTR id) override;
    bool CaptureDevicePresent() const override;
    bool CaptureDeviceGone() const override;
    void ShowIdlePicture() override;
    void ShowNoVideoLabel(bool show) override;
    void TraceLine(const std::string& line) override;
    PowerSuppression& Power() override { return m_power; }

    // The capture side (MainDialogCapture.cpp).
    void MapCaptureCommands();
    // The record control's path, for the control and the keys alike.
    void OnRecordControl();
    void SetPreviewDisplay(bool on);
    MainMode Mode() const override { return m_mode; }
    void SetMode(MainMode mode) override;
    // The status display's information line for the mode and recording state.
    void ShowModeInformation(bool recording);
    HWND VideoAreaHandle() const override;
    std::optional<capture::CaptureDevice> CurrentCaptureDevice() const override;
    bool PreviewDisplayOn() const override { return m_previewDisplay; }
    void ShowVideo() override;
    void SetRecordLook(int identity) override;
    recording::NameChoice ChooseRecordingFileName() override;
    void RecordingStarted(const std::string& file, const recording::StopRules::Started& started) override;
    void RecordingEnded(const std::optional<recording::StopRules::Finished>& finished) override;
    void ShowRecordedTime(std::int64_t time100ns) override;
    void ShowWrittenSize(const std::string& text) override;
    void ShowTimeLeft(const std::string& text) override { m_status.SetTimeLeft(text); }
    void TellDeviceRemovedWhileRecording(const std::string& name) override;
    bool WaitForReconnect(const std::string& name) override;
    CDialog* m_reconnect = nullptr;  // the open reconnect dialog
    // Message 1041 from the device: the frame-drop warning, one at a time.
    void OnFramesDropped();
    CDialog* m_frameDrop = nullptr;  // the open warning
    void ShowTextMessage(int textId, bool systemModal) override;
    // Playback (MainDialogPlayback.cpp): opening files, the playback mode and its controls.
    void MapPlaybackCommands();
    void OnOpenControl();
    // Plays `path` from any mode; false (mode unchanged, or idle) when nothing plays. The file
    // size is shown in GB above 1 GiB only when `sizeInGigabytes`.
    bool OpenMediaFile(const std::string& path, bool sizeInGigabytes);
    void ShowPlaybackInformation();
    void EnterPlaybackControls(std::uint64_t bytes, bool sizeInGigabytes);
    // Closes the file and returns the window to idle.
    void ClosePlayback();
    void LeavePlaybackMode();
    void OnRecentThumbnail(int index);
    void OnDropFiles(HDROP drop) override;
    void OnHScroll(UINT code, UINT position, HWND bar) override;
    void OnMove(int x, int y) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnMuteControl();
    // The volume level goes to whichever graph makes the sound now: the playing file or the preview.
    void ApplyAudioLevel();
    void OnLoopControl();
    void OnPlayControl();
    void OnFullScreenControl();
    // The playback position (100-ns units) on the clock and, when asked, the position slider.
    void ShowPlaybackTime(std::int64_t position, bool moveSlider);
    HWND MainWindow() const override;
    std::string AppText(int id) override;
    void ShowMessage(const std::string& text) override;
    void LogError(const std::string& text) override;
    void StopCaptureForPlayback() override;
    void PlaybackEnded() override;
    // Snapshots (MainDialogSnapshot.cpp): the still command and its control's enabling.
    void MapSnapshotCommands();
    bool StillAvailable();
    void UpdateSnapshotControl();
    void OnSnapshotControl();
    int m_stillFilterIndex = 1;
    // Launcher buttons (MainDialogLaunchers.cpp).
    void MapLauncherCommands();
    void LoadLaunchers();
    void ReloadLauncher(int index, bool droppedProgram);
    void OnLauncher(int index);
    // A single dropped program becomes launcher 0's.
    void DropLauncherProgram(const std::string& path);
    LauncherFaces m_launcherFaces;
    std::string m_launcherFolder;
    // About box and update check (MainDialogUpdate.cpp).
    void MapUpdateCommands();
    void OnAboutBox();
    static constexpr UINT kUpdateServiceCommand = 32;  // system menu
    void AddUpdateServiceMenuItem();
    void OnUpdateService();
    void CheckForUpdate();
    // The check at start, for users who allowed it; its download reports with this message.
    static constexpr UINT kBackgroundUpdateDone = WM_APP + 0x131;
    void StartBackgroundUpdateCheck();
    void OnBackgroundUpdateDone(bool downloaded);
    struct UpdatePlan {
        std::string address, file, section;
        update::Box video{}, mainWindow{};
    };
    UpdatePlan PlanUpdateCheck();
    std::unique_ptr<update::UpdateDownload> m_backgroundUpdate;
    // Remote control set-up (MainDialogRemote.cpp).
    void MapRemoteCommands();
    void ShowRemoteStatus();
    void OnRemoteSetup();
    void OnRemoteKey(WPARAM key, LPARAM address);
    remote::RemoteLearning m_remote;

    // Keyboard and remote-control commands (MainDialogKeys.cpp): the two accelerator tables,
    // applied in the window's message loop, and what their commands do.
    BOOL PreTranslateMessage(MSG* msg) override;
    void MapKeyCommands();
    void LoadKeyTables();
    void OnKeyCommand(WORD command);
    bool RecordControlReady() const;
    void StepBrightness(int direction);
    void StepVolume(int direction);
    void OnHelp();
    void ReapplyInput();
    void OnPlaybackCommand();
    keys::AcceleratorTable m_remoteKeys;
    keys::AcceleratorTable m_keyboardKeys;

    std::string m_mediaPath;
    std::int64_t m_lastPlaybackHundredths = -1;

    MainMode m_mode = MODE_IDLE;
    settings::CaptureSettings m_settings;
    settings::RecentRecordings m_recent;
    std::vector<int> m_availableSources;
    LANGID m_locale = 0;
    std::string m_programFolder;
    std::string m_logPath;
    HICON m_icon = nullptr;
    QorGraphicsEngineAPI m_engine;
    bool m_engineStarted = false;
    CBitmap m_idlePicture;
    EQorSkinnedControlSet m_skinnedControls;
    VideoArea m_videoArea;
    StatusDisplay m_status;
    RecentThumbnails m_thumbnails;
    bool m_closed = false;
    DWORD m_initTick = 0;
    PowerSuppression m_power;
    bool m_previewDisplay = true;
    void DoSuspendStep(SuspendState::Step step);
    SuspendState m_suspend;
    // After the settings that the capture session reads.
    CaptureSession m_capture{*this, m_settings};
    PlaybackSession m_playback{*this, m_settings};

    // The settings window behind the four tabs (MainDialogSettings.cpp). Other pages plug in
    // with m_settingsWindow->SetPage(index, page).
    friend class SettingsPagesHost;
    void CreateSettingsWindow();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    std::unique_ptr<pages::PageHost> m_pagesHost;
    std::unique_ptr<pages::SettingsWindow> m_settingsWindow;

    // Television (MainDialogTuner.cpp): the channel page, the channel keys and the tuner's
    // settings, over the capture session's tuner.
    void MapTunerCommands();
    void LoadTunerSettings();
    // Puts the channel page into the settings window's slot for it.
    void AttachChannelPage();
    void SaveTunerSettings();
    bool OnTunerTimer(UINT_PTR id);
    // Owned by the settings window.
    ChannelPage* m_channelPage = nullptr;
};

}  // namespace shell
