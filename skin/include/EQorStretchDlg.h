#pragma once
// A skinned dialog that the user resizes by dragging grabber buttons: its face is rebuilt
// from a nine-part cut of the background (corners kept, edges and centre tiled) and its
// region from that face. Controls follow through three messages:
//   kStretchBegin (WM_USER+100): wParam = the grabber's orientation (edge bits);
//   kStretchStep  (WM_USER+101): wParam/lParam = change of width/height since the last step;
//   kStretchEnd   (WM_USER+102): wParam/lParam = total change of width/height.
// The changes are signed ints carried in WPARAM/LPARAM.
#include "EQorDialog.h"
#include "QorStretchSettings.h"

class SKELDA_API EQorStretchDlg : public EQorDialog {
public:
    static constexpr UINT kStretchBegin = WM_USER + 100;
    static constexpr UINT kStretchStep = WM_USER + 101;
    static constexpr UINT kStretchEnd = WM_USER + 102;

    explicit EQorStretchDlg(UINT resourceId, CWnd* parent = nullptr);
    ~EQorStretchDlg() override;

    // The base initialisation, then the stretch values of the dialog's element and the face
    // at the beginning size.
    bool InitializeQorDialog(const std::string& name, COLORREF transparent, bool skipBackground = false) override;

    // A grabber button registers itself; its presses drive the drag below.
    void RegisterGrabber(HWND grabber, int orientation);
    // Grabber drags (screen coordinates).
    void BeginGrab(int orientation, POINT screen);
    void TrackGrab(POINT screen);
    void EndGrab();

    // Moves the named edges by at most `step` pixels per timer tick until the window is
    // `width` x `height`. `extra` is kept with the drag state for the client.
    bool ExpandTo(int orientation, int step, int width, int height, int extra);
    bool ContractTo(int orientation, int step, int width, int height, int extra);
    bool ExpandBy(int, int, int, int, int) { return true; }
    bool ContractBy(int, int, int, int, int) { return true; }
    bool IsAutoStretching() const { return m_autoTimer != 0; }

    // Maximum above minimum and beginning values within them.
    bool VerifyGraphicsValues() const;
    // The skin's size limits and region offsets, for dialogs that size themselves.
    struct StretchValues {
        int minWidth, maxWidth, minHeight, maxHeight;
        int left, right, top, bottom;
    };
    StretchValues GetStretchValues() const;
    // Gives the window a face of `width` x `height` built by the stretch rules and the region
    // cut from it; the window keeps its position and the controls stay where they are.
    bool ResizeFace(int width, int height);
    bool IsStretchable() const { return m_hasStretchData; }
    // The editing mode's hooks: the values of the dialog's "QorStretchDlgData", and new ones
    // (already checked) taken at once: the face and region are rebuilt with the new offsets
    // and the window is brought within the new limits, its controls following.
    skelda::QorStretchSettings GetStretchSettings() const;
    bool ApplyStretchSettings(const skelda::QorStretchSettings& settings);

protected:
    HBITMAP FaceBitmap() const override;
    // Called when the editing mode changed the stretch values; a dialog that sizes itself
    // around its content lays itself out again here.
    virtual void StretchSettingsChanged();
    void OnTimer(UINT_PTR nIDEvent) override;

private:
    bool ApplyRect(const RECT& rect);
    bool RebuildFace(int width, int height);
    void SendToControls(UINT message, int dx, int dy);

    bool m_hasStretchData = false;
    bool m_allowHorizontal = false, m_allowVertical = false;
    int m_beginningWidth = 0, m_beginningHeight = 0;
    int m_minWidth = 0, m_maxWidth = 0, m_minHeight = 0, m_maxHeight = 0;
    int m_left = 0, m_right = 0, m_top = 0, m_bottom = 0;
    CBitmap m_composite;
    struct Grabber {
        HWND window;
        int orientation;
    };
    std::vector<Grabber> m_grabbers;
    bool m_dragging = false;
    int m_dragOrientation = 0, m_dragExtra = 0;
    POINT m_dragStart{};
    RECT m_startRect{}, m_lastRect{};
    UINT_PTR m_autoTimer = 0;
    int m_autoStep = 0, m_autoWidth = 0, m_autoHeight = 0;
};
