#pragma once
// The main window: owner of the running system. It loads the settings, shows the idle
// picture, starts the live preview one second after it is shown, and shuts everything down
// in order when it closes.
#include <framework/Framework.h>

#include "EQorDialog.h"
#include "EQorSkinnedControlSet.h"
#include "QorGraphicsEngineAPI.h"

#include <string>
#include <vector>

#include "CaptureSettings.h"
#include "RecentRecordings.h"
#include "RecentThumbnails.h"
#include "StatusDisplay.h"
#include "VideoArea.h"

enum MainMode { MODE_IDLE = 0, MODE_CAPTURE = 1, MODE_PLAYBACK = 2 };

class MainDialog : public EQorDialog {
public:
    static constexpr UINT_PTR kRefreshTimer = 1;
    static constexpr UINT_PTR kPreviewStartTimer = 10016;

    MainDialog();
    ~MainDialog() override;

    // The running main window, for worker threads and engine callbacks.
    static MainDialog* Instance();

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
    void OnCancel() override;

private:
    framework::ProfileStore Store() const;
    void LoadSettings();
    // Devices (MainDialogDevices.cpp).
    void StartDeviceDiscovery();
    void ChooseCaptureDevice();
    bool HasCaptureDevice() const;
    void ListInputSources();
    void FillInputList();
    void OnDeviceRemovedTimer();

    void FillThumbnails();
    void InitStatusDisplay();
    void AddAboutMenuItem();
    bool StartSkinEngine();
    void RegisterHiddenDialogs();
    std::string Text(int id);
    bool LoadIdlePicture();
    void StartPreview();
    void CloseSequence();
    void Trace(const char* format, ...) const;

    MainMode m_mode = MODE_IDLE;
    settings::CaptureSettings m_settings;
    settings::RecentRecordings m_recent;
    std::vector<int> m_availableSources;
    LANGID m_locale = 0;
    std::string m_programFolder;
    std::string m_logPath;
    HICON m_icon = nullptr;
    int m_screenSaveTimeout = 0;
    int m_lowPowerTimeout = 0;
    int m_powerOffTimeout = 0;
    QorGraphicsEngineAPI m_engine;
    bool m_engineStarted = false;
    CBitmap m_idlePicture;
    EQorSkinnedControlSet m_skinnedControls;
    VideoArea m_videoArea;
    StatusDisplay m_status;
    RecentThumbnails m_thumbnails;
    bool m_closed = false;
    DWORD m_initTick = 0;
};
