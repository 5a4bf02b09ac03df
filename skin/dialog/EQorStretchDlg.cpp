// Stretchable skinned dialog: the composite face, grabber drags and timed expansion.
#include "EQorStretchDlg.h"

#include "EBitmapUtilities.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"
#include "StretchGeometry.h"

namespace {

constexpr UINT_PTR kAutoStretchTimer = 0x5154;  // private to this class
constexpr UINT kAutoStretchPeriodMs = 20;

int RectWidth(const RECT& r) { return r.right - r.left; }
int RectHeight(const RECT& r) { return r.bottom - r.top; }

}  // namespace

EQorStretchDlg::EQorStretchDlg(UINT resourceId, CWnd* parent) : EQorDialog(resourceId, parent)
{
    m_dialogType = 1;
}

EQorStretchDlg::~EQorStretchDlg() = default;

HBITMAP EQorStretchDlg::FaceBitmap() const
{
    return m_composite.GetSafeHandle() ? m_composite.GetSafeHandle() : EQorDialog::FaceBitmap();
}

bool EQorStretchDlg::InitializeQorDialog(const std::string& name, COLORREF transparent, bool skipBackground)
{
    if (!EQorDialog::InitializeQorDialog(name, transparent, skipBackground))
        return false;
    win::ComPtr<IXMLDOMNode> data;
    m_hasStretchData = GetDlgRootNode() && qorxml::SelectSingle(GetDlgRootNode(), "QorStretchDlgData", &data);
    if (!m_hasStretchData)
        return true;
    using skelda::skinfile::ReadBool;
    using skelda::skinfile::ReadInt;
    IXMLDOMNode* e = data.Get();
    ReadBool(e, "AllowHorzStretching", &m_allowHorizontal);
    ReadBool(e, "AllowVertStretching", &m_allowVertical);
    ReadInt(e, "BeginningWidth", &m_beginningWidth);
    ReadInt(e, "BeginningHeight", &m_beginningHeight);
    ReadInt(e, "MinimumWidth", &m_minWidth);
    ReadInt(e, "MaximumWidth", &m_maxWidth);
    ReadInt(e, "MinimumHeight", &m_minHeight);
    ReadInt(e, "MaximumHeight", &m_maxHeight);
    ReadInt(e, "LeftRegionOffset", &m_left);
    ReadInt(e, "RightRegionOffset", &m_right);
    ReadInt(e, "TopRegionOffset", &m_top);
    ReadInt(e, "BottomRegionOffset", &m_bottom);
    RECT rect{};
    GetWindowRect(&rect);
    if (m_allowHorizontal && m_beginningWidth > 0)
        rect.right = rect.left + m_beginningWidth;
    if (m_allowVertical && m_beginningHeight > 0)
        rect.bottom = rect.top + m_beginningHeight;
    m_lastRect = rect;
    RebuildFace(RectWidth(rect), RectHeight(rect));
    SetWindowPos(nullptr, rect.left, rect.top, RectWidth(rect), RectHeight(rect), SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

bool EQorStretchDlg::VerifyGraphicsValues() const
{
    skelda::StretchLimits limits{m_allowHorizontal, m_allowVertical, m_minWidth, m_maxWidth, m_minHeight, m_maxHeight};
    return skelda::StretchValuesValid(limits, m_beginningWidth, m_beginningHeight);
}

EQorStretchDlg::StretchValues EQorStretchDlg::GetStretchValues() const
{
    return {m_minWidth, m_maxWidth, m_minHeight, m_maxHeight, m_left, m_right, m_top, m_bottom};
}

bool EQorStretchDlg::ResizeFace(int width, int height)
{
    if (!m_hWnd || !RebuildFace(width, height))
        return false;
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(&m_lastRect);
    Invalidate(TRUE);
    return true;
}

bool EQorStretchDlg::RebuildFace(int width, int height)
{
    HBITMAP background = m_background.GetSafeHandle();
    BITMAP info{};
    if (!background || !m_background.GetBitmap(&info) || width <= 0 || height <= 0)
        return false;
    const skelda::StretchOffsets offsets{m_left, m_right, m_top, m_bottom};
    const auto rects = skelda::ComputeCopyRects(info.bmWidth, info.bmHeight, offsets);
    const auto copies = skelda::PlanComposite(rects, offsets, width, height);
    if (copies.empty())
        return false;
    CBitmap composite;
    CDC source, target;
    if (!composite.CreateDIBSection32(width, height) || !source.CreateCompatibleDC(nullptr) ||
        !target.CreateCompatibleDC(nullptr))
        return false;
    {
        CSelectObject fromBackground(source, background);
        CSelectObject intoComposite(target, composite);
        for (const auto& copy : copies)
            BitBlt(target, copy.x, copy.y, RectWidth(copy.source), RectHeight(copy.source), source, copy.source.left,
                   copy.source.top, SRCCOPY);
    }
    m_composite = std::move(composite);
    // A wholly transparent face has no outline: the window is then a plain rectangle.
    m_region.Attach(EBitmapUtilities::BuildRegion(m_composite, m_transparentColour, nullptr, nullptr));
    if (!m_region.GetSafeHandle()) {
        SetWindowRgn(nullptr, FALSE);
        return true;
    }
    CRgn windowCopy;
    if (windowCopy.CopyRgn(m_region) && SetWindowRgn(windowCopy, FALSE))
        windowCopy.Detach();
    return true;
}

skelda::QorStretchSettings EQorStretchDlg::GetStretchSettings() const
{
    skelda::QorStretchSettings s;
    s.allowHorizontal = m_allowHorizontal;
    s.allowVertical = m_allowVertical;
    s.beginningWidth = m_beginningWidth;
    s.beginningHeight = m_beginningHeight;
    s.minWidth = m_minWidth;
    s.maxWidth = m_maxWidth;
    s.minHeight = m_minHeight;
    s.maxHeight = m_maxHeight;
    s.left = m_left;
    s.right = m_right;
    s.top = m_top;
    s.bottom = m_bottom;
    return s;
}

bool EQorStretchDlg::ApplyStretchSettings(const skelda::QorStretchSettings& s)
{
    m_hasStretchData = true;
    m_allowHorizontal = s.allowHorizontal;
    m_allowVertical = s.allowVertical;
    m_beginningWidth = s.beginningWidth;
    m_beginningHeight = s.beginningHeight;
    m_minWidth = s.minWidth;
    m_maxWidth = s.maxWidth;
    m_minHeight = s.minHeight;
    m_maxHeight = s.maxHeight;
    m_left = s.left;
    m_right = s.right;
    m_top = s.top;
    m_bottom = s.bottom;
    if (!m_hWnd)
        return true;
    RECT now{};
    GetWindowRect(&now);
    // Into the new limits by moving the right and bottom edges, as a drag of the lower right
    // corner would; the controls follow them by their tracking data.
    const skelda::StretchLimits limits{m_allowHorizontal, m_allowVertical, m_minWidth, m_maxWidth, m_minHeight, m_maxHeight};
    const int corner = skelda::kEdgeRight | skelda::kEdgeBottom;
    const RECT target = skelda::DragStretchRect(now, corner, 0, 0, limits);
    const bool rebuilt = RebuildFace(RectWidth(target), RectHeight(target));
    if (!EqualRect(&target, &now)) {
        const int dx = RectWidth(target) - RectWidth(now), dy = RectHeight(target) - RectHeight(now);
        SetWindowPos(nullptr, target.left, target.top, RectWidth(target), RectHeight(target),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendToControls(kStretchBegin, corner, 0);
        SendToControls(kStretchStep, dx, dy);
        SendToControls(kStretchEnd, dx, dy);
    }
    m_lastRect = target;
    StretchSettingsChanged();
    ReloadStaticControlsBackground();  // the face under the texts was rebuilt
    RedrawDlgWindow();
    return rebuilt;
}

void EQorStretchDlg::StretchSettingsChanged() {}

void EQorStretchDlg::SendToControls(UINT message, int dx, int dy)
{
    for (const auto& entry : Controls())
        if (entry.window && IsWindow(entry.window))
            ::SendMessageA(entry.window, message, static_cast<WPARAM>(dx), static_cast<LPARAM>(dy));
}

bool EQorStretchDlg::ApplyRect(const RECT& rect)
{
    if (EqualRect(&rect, &m_lastRect))
        return true;
    const bool rebuilt = RebuildFace(RectWidth(rect), RectHeight(rect));
    SetWindowPos(nullptr, rect.left, rect.top, RectWidth(rect), RectHeight(rect), SWP_NOZORDER | SWP_NOACTIVATE);
    SendToControls(kStretchStep, RectWidth(rect) - RectWidth(m_lastRect), RectHeight(rect) - RectHeight(m_lastRect));
    m_lastRect = rect;
    ReloadStaticControlsBackground();  // the face under the texts was rebuilt
    Invalidate(TRUE);
    return rebuilt;
}

void EQorStretchDlg::RegisterGrabber(HWND grabber, int orientation)
{
    m_grabbers.push_back({grabber, orientation});
}

void EQorStretchDlg::BeginGrab(int orientation, POINT screen)
{
    m_dragging = true;
    m_dragOrientation = orientation;
    m_dragStart = screen;
    GetWindowRect(&m_startRect);
    m_lastRect = m_startRect;
    SendToControls(kStretchBegin, orientation, 0);
}

void EQorStretchDlg::TrackGrab(POINT screen)
{
    if (!m_dragging)
        return;
    const skelda::StretchLimits limits{m_allowHorizontal, m_allowVertical, m_minWidth, m_maxWidth, m_minHeight, m_maxHeight};
    ApplyRect(skelda::DragStretchRect(m_startRect, m_dragOrientation, screen.x - m_dragStart.x,
                                      screen.y - m_dragStart.y, limits));
}

void EQorStretchDlg::EndGrab()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    SendToControls(kStretchEnd, RectWidth(m_lastRect) - RectWidth(m_startRect),
                   RectHeight(m_lastRect) - RectHeight(m_startRect));
}

bool EQorStretchDlg::ExpandTo(int orientation, int step, int width, int height, int extra)
{
    if (!m_hWnd || step <= 0)
        return false;
    GetWindowRect(&m_startRect);
    m_lastRect = m_startRect;
    m_dragOrientation = orientation;
    m_dragExtra = extra;
    m_autoStep = step;
    m_autoWidth = width;
    m_autoHeight = height;
    m_dragging = true;
    SendToControls(kStretchBegin, orientation, 0);
    m_autoTimer = SetTimer(kAutoStretchTimer, kAutoStretchPeriodMs);
    return m_autoTimer != 0;
}

bool EQorStretchDlg::ContractTo(int orientation, int step, int width, int height, int extra)
{
    return ExpandTo(orientation, step, width, height, extra);
}

void EQorStretchDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kAutoStretchTimer) {
        EQorDialog::OnTimer(nIDEvent);
        return;
    }
    bool done = false;
    const RECT next = skelda::StepStretchRect(m_lastRect, m_dragOrientation, m_autoStep, m_autoWidth, m_autoHeight, &done);
    ApplyRect(next);
    if (done) {
        KillTimer(kAutoStretchTimer);
        m_autoTimer = 0;
        EndGrab();
    }
}
