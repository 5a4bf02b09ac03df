#pragma once
// The update window ("UpdateDlg"): fetches the update information file, says so while it
// works, and on the answer either offers the update (text 3039), says there is none, or shows
// that the download failed (text 3040). Closing it cancels a download in progress.
#include <string>

#include "EQorDialog.h"
#include "EQorSkinnedControlSet.h"
#include "UpdateCheck.h"
#include "UpdateRules.h"

namespace shell {

// Both update windows stand beside the video area, by the same rule.
void PlaceUpdateWindow(HWND window, const update::Box& video, const update::Box& mainWindow);

class UpdateDialog : public EQorDialog {
public:
    // `section` is this program's section of the file; the window goes beside `video`, the
    // main window's video area (screen coordinates).
    UpdateDialog(std::string address, std::string file, std::string section, update::Box video, update::Box mainWindow,
                 CWnd* parent);

protected:
    BOOL OnInitDialog() override;
    LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCancel() override;

private:
    void Finished(bool downloaded);
    std::string Text(int id);

    std::string m_address, m_file, m_section;
    update::Box m_video, m_mainWindow;
    update::UpdateDownload m_download;
    EQorSkinnedControlSet m_skinnedControls;
};

}  // namespace shell
