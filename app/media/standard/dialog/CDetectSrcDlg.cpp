#include "CDetectSrcDlg.h"

#include <commctrl.h>

#include "ControlIds.h"
#include "QorGraphicsEngineAPI.h"
#include "SourceDetection.h"
#include "Trace.h"
#include "VideoSources.h"

namespace {

constexpr COLORREF kTransparentColour = 255;
constexpr int kSearchingText = 3032;
constexpr UINT kFirstTickMs = 1;
constexpr UINT kTickMs = 10;

}  // namespace

CDetectSrcDlg::CDetectSrcDlg(std::shared_ptr<media::VideoStandardEngine> engine, std::vector<int> candidates,
                             int* result, bool autoClose, bool keepFound, CWnd* parent)
    : EQorDialog(IDD_DETECT_SOURCE, parent),
      m_engine(std::move(engine)),
      m_candidates(std::move(candidates)),
      m_result(result),
      m_autoClose(autoClose),
      m_keepFound(keepFound)
{
}

std::string CDetectSrcDlg::Text(int id)
{
    std::string text;
    QorGraphicsEngineAPI().GetText(id, &text);
    return text;
}

BOOL CDetectSrcDlg::OnInitDialog()
{
    media::DebugLine("Initializing CDetectSrcDlg");
    EQorDialog::OnInitDialog();
    m_skinnedControls.Bind(*this, "DetectSrcDialog");
    InitializeQorDialog("DetectSrcDialog", kTransparentColour, false);
    SetMouseMovesDialog(true);
    SendDlgItemMessage(IDC_DETECT_PROGRESS, PBM_SETRANGE32, 0, static_cast<LPARAM>(m_candidates.size()));
    ShowProbing(0);

    if (m_result && *m_result == media::kSearching) {
        media::DebugLine("DetectVideoSourceThread is not going to start");
        return TRUE;
    }
    media::SourceDetection& detection = media::SourceDetection::Instance();
    const unsigned id = detection.Begin(m_candidates);
    if (!detection.StartWorker(id, m_engine, m_keepFound))
        media::DebugLine("DetectVideoSourceThread could not be started (%lu)", GetLastError());
    SetTimer(kDetectTimer, kFirstTickMs);
    return TRUE;
}

void CDetectSrcDlg::ShowProbing(int index)
{
    if (index == m_shownIndex || index < 0 || static_cast<size_t>(index) >= m_candidates.size())
        return;
    m_shownIndex = index;
    const std::string name = Text(media::VideoSourceNameText(m_candidates[static_cast<size_t>(index)]));
    SetDlgItemText(IDC_DETECT_STATUS, (Text(kSearchingText) + name).c_str());
    SendDlgItemMessage(IDC_DETECT_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(index + 1), 0);
}

void CDetectSrcDlg::OnTimer(UINT_PTR id)
{
    if (id != kDetectTimer) {
        EQorDialog::OnTimer(id);
        return;
    }
    KillTimer(kDetectTimer);
    media::SourceDetection& detection = media::SourceDetection::Instance();
    ShowProbing(detection.Index());
    const int result = detection.Result();
    if (result == media::kSearching) {
        SetTimer(kDetectTimer, kTickMs);
        return;
    }
    detection.ReleaseFinishedWorkers();
    if (m_result)
        *m_result = result;
    if (m_autoClose)
        EndDialog(IDOK);
}

void CDetectSrcDlg::EndSearch()
{
    KillTimer(kDetectTimer);
    media::SourceDetection::Instance().Cancel();
}

void CDetectSrcDlg::OnOK()
{
    EndSearch();
    EQorDialog::OnOK();
}

void CDetectSrcDlg::OnCancel()
{
    EndSearch();
    if (m_result)
        *m_result = media::kNothingFound;
    EQorDialog::OnCancel();
}
