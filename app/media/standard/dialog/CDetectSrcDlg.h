#pragma once
// The source-detection dialog ("DetectSrcDialog"): searches the device's inputs for a signal
// with a worker thread, shows the input being probed, and hands the input it found (or -1) to
// its caller. Closing it never waits for a probe in progress.
#include <memory>
#include <string>
#include <vector>

#include "EQorDialog.h"
#include "EQorSkinnedControlSet.h"
#include "VideoStandardEngine.h"

class CDetectSrcDlg : public EQorDialog {
public:
    static constexpr UINT_PTR kDetectTimer = 10008;

    // `result` receives the source found, -1 for none or a cancel; a caller that sets it to -2
    // beforehand opens the dialog without a search. With `autoClose` the dialog ends by itself
    // once the search is over; with `keepFound` the device stays on the input found.
    CDetectSrcDlg(std::shared_ptr<media::VideoStandardEngine> engine, std::vector<int> candidates, int* result,
                  bool autoClose, bool keepFound = false, CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void ShowProbing(int index);
    void EndSearch();
    std::string Text(int id);

    std::shared_ptr<media::VideoStandardEngine> m_engine;
    std::vector<int> m_candidates;
    int* m_result;
    bool m_autoClose;
    bool m_keepFound;
    int m_shownIndex = -1;
    EQorSkinnedControlSet m_skinnedControls;
};
