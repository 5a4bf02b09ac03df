#pragma once
// The main window: owner of the running system. It loads the settings, shows the idle
// picture and paints; it routes the commands, messages and timer ticks of capture and
// playback to the two session objects that own them, and shuts everything down in order when
// it closes, whichever way it is closed (close button, WM_CLOSE, Enter, Esc).
#include <framework/Framework.h>

#include "EQorDialog.h"
#include "EQorSkinnedControlSet.h"
#include "QorGraphicsEngineAPI.h"

#include <string>
#include <vector>

#include "CaptureSession.h"
#include "CaptureSettings.h"
#include "PlaybackSession.h"
#include "RecentRecordings.h"
#include "RecentThumbnails.h"
#include "SessionHost.h"
#include "StatusDisplay.h"
#include "VideoArea.h"

namespace shell {

class MainDialog : public EQorDialog, private SessionHost {
public:
    MainDialog();
    ~MainDialog() override;

    const settings::CaptureSettings& Settings() const { return m_settings; }

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC dc) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item) override;
    HCURSOR OnQueryDragIcon() override;
    void OnClose() override;
    void OnDestroy() override;
    // Enter and Esc reach the dialog as IDOK and IDCANCEL: both close the window as the close
    // button does.
    void OnOK() override;
    void OnCancel() override;
    LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    framework::ProfileStore Store() const override;
    void LoadSettings();
    // Devices (MainDialogDevices.cpp).
    void StartDeviceDiscovery();
    void ChooseCaptureDevice();
    void ListInputSources();
    void FillInputList();

    void FillThumbnails();
    void InitStatusDisplay();
    void AddAboutMenuItem();
    bool StartSkinEngine();
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
    void SetPreviewDisplay(bool on);
    MainMode Mode() const override { return m_mode; }
    void SetMode(MainMode mode) override;
    // The status display's information line for the mode and recording state.
    void ShowModeInformation(bool recording);
    HWND WindowHandle() const override { return m_hWnd; }
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
    void ShowTextMessage(int textId, bool systemModal) override;

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
    // After the settings that the capture session reads.
    CaptureSession m_capture{*this, m_settings};
    PlaybackSession m_playback{*this};
};

}  // namespace shell
