// The main window's settings side: the pages' view of the window, the settings window behind
// the tabs, and the routing of the pages' commands and notifications.
#include "MainDialog.h"

#include "ColourPage.h"
#include "ControlIds.h"
#include "MessageIds.h"
#include "ProgramMessage.h"
#include "QualityPage.h"
#include "RecordingPage.h"

namespace shell {

class SettingsPagesHost : public pages::PageHost {
public:
    explicit SettingsPagesHost(MainDialog& window) : m_window(window) {}

    CWnd& Window() override { return m_window; }
    settings::CaptureSettings& Settings() override { return m_window.m_settings; }
    framework::ProfileStore Store() const override { return m_window.Store(); }
    void SaveSettings() override
    {
        m_window.m_settings.Save(Store(), settings::MeasureFreeSpace(m_window.m_settings.recordingFolder));
    }
    capture::CaptureGraph* Engine() override
    {
        capture::CaptureGraph* engine = m_window.m_capture.Engine();
        return engine && engine->Built() ? engine : nullptr;
    }
    bool GraphRunning() const override
    {
        capture::CaptureGraph* engine = m_window.m_capture.Engine();
        return m_window.m_mode == MODE_CAPTURE && engine && engine->State() == capture::CaptureGraph::kRunning;
    }
    bool Recording() const override { return m_window.m_capture.Recording(); }
    std::vector<int> AvailableSources() const override { return m_window.m_availableSources; }
    std::string Text(int id) override { return m_window.Text(id); }
    int Message(const std::string& text, UINT type) override
    {
        return shell::ShowProgramMessage(m_window.m_hWnd, text, m_window.Text(msg::kAppTitle), type);
    }
    void PageChanged() override
    {
        if (GraphRunning() && m_window.m_settingsWindow)
            m_window.m_settingsWindow->EnableApply(true);
    }
    void RestartPreview() override
    {
        if (!GraphRunning() || Recording())
            return;
        m_window.m_capture.SwitchOff();
        m_window.m_capture.SwitchOn();
    }

private:
    MainDialog& m_window;
};

void MainDialog::CreateSettingsWindow()
{
    m_pagesHost = std::make_unique<SettingsPagesHost>(*this);
    m_settingsWindow = std::make_unique<pages::SettingsWindow>(m_hWnd);
    m_settingsWindow->SetControlMaker([this](const std::vector<int>& ids) { MakePageControls(ids); });
    m_settingsWindow->SetPage(pages::SettingsWindow::kQualityPage, std::make_unique<pages::QualityPage>(*m_pagesHost));
    m_settingsWindow->SetPage(pages::SettingsWindow::kRecordingPage, std::make_unique<pages::RecordingPage>(*m_pagesHost));
    m_settingsWindow->SetPage(pages::SettingsWindow::kColourPage, std::make_unique<pages::ColourPage>(*m_pagesHost));
    m_settingsWindow->EnableApply(false);
    m_settingsWindow->ShowPage(pages::SettingsWindow::kQualityPage);
}

BOOL MainDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (m_settingsWindow && m_settingsWindow->OnCommand(LOWORD(wParam), HIWORD(wParam)))
        return TRUE;
    return EQorDialog::OnCommand(wParam, lParam);
}

BOOL MainDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (m_settingsWindow && m_settingsWindow->OnNotify(reinterpret_cast<NMHDR*>(lParam), result))
        return TRUE;
    return EQorDialog::OnNotify(wParam, lParam, result);
}

}  // namespace shell
