#pragma once
// The base of every skinned dialog: a framework dialog whose face is a bitmap of the skin
// graphics file and whose outline is cut to it, with its skinned controls positioned, shown
// and labelled from the skin and text files, tooltips, hidden companion dialogs and dragging
// by the face.
#include <windows.h>
#include <msxml2.h>

#include <memory>
#include <string>
#include <vector>

#include "IQorControlCommon.h"
#include <win/ComPtr.h>
#include "SkeldaExport.h"
#include "framework/CommonControls.h"
#include "framework/Dialog.h"
#include "framework/GdiObjects.h"

namespace skelda::skinfile {
class ControlIndex;
}
namespace skelda::editing {
struct DialogMenuState;
}

class SKELDA_API EQorDialog : public CDialog {
public:
    static constexpr int kMaxControls = 500;
    static constexpr int kFirstHiddenDialogCommand = 5000;

    explicit EQorDialog(UINT resourceId, CWnd* parent = nullptr);
    ~EQorDialog() override;

    virtual bool ShowHiddenDlg(int dialogId);
    // Loads the face and region of the skin's dialog `name`, sizes the window, substitutes and
    // initialises the registered controls. False only when the background cannot be set up.
    virtual bool InitializeQorDialog(const std::string& name, COLORREF transparent, bool skipBackground = false);
    // Substitutes and initialises the controls registered since the dialog was initialised,
    // for controls a dialog creates only when they are first needed. False when there were none.
    bool InitializeAddedControls();
    virtual bool WriteGraphicsEditingChangesToXMLObject();
    virtual bool ReloadGraphicsTemplates(int kind);
    virtual bool ReloadTextTemplates(int kind);
    virtual bool UnloadGraphicsResources();
    virtual bool UnloadTextResources();
    virtual bool UnloadGraphicsAndTextResources();
    virtual bool ReloadGraphicsResources();
    virtual bool ReloadTextResources();
    virtual bool ReloadGraphicsAndTextResources();
    // A new bitmap compatible with `dc` holding the face under `rect`; the caller deletes it.
    virtual bool GetPartialBitmap(HDC dc, const RECT& rect, HBITMAP* bitmap);

    void SetDerivedCDialog(CDialog* dialog) { m_pDerivedDialog = dialog; }
    CDialog* GetDerivedCDialog() const { return m_pDerivedDialog; }
    void SetMouseMovesDialog(bool moves) { m_mouseMovesDialog = moves; }
    bool AddHiddenDlg(int dialogId, const std::string& name);
    void HandlingHiddenDialogs() { m_handlingHiddenDialogs = true; }
    bool IsHandlingHiddenDialogs() const { return m_handlingHiddenDialogs; }
    void RunInDisplayMode() { m_displayMode = true; }
    bool InDisplayMode() const { return m_displayMode; }
    void SetToolTipText(int controlId, HWND control, const std::string& text);
    std::string GetToolTipText(HWND control) const;

    bool GetAuxBitmapFilename(int entryId, std::string* path) const;
    HBITMAP LoadAuxBitmap(int entryId, int width, int height) const;  // the caller deletes it
    HICON LoadAuxLargeIcon(int entryId, int width, int height) const;  // the caller destroys it
    bool ReloadStaticControlsBackground();

    // Called by controls when they are bound to this dialog.
    bool RegisterChildQorControl(int controlId, HWND window, eControlType type, IQorControlCommon* control);
    bool AddQorControl(CWnd* control, int controlId, eControlType type, IQorControlCommon* common);

    int GetDlgResID() const { return static_cast<int>(GetTemplateID()); }
    int GetQorDlgType() const { return m_dialogType; }
    int GetNumControls() const { return static_cast<int>(m_controls.size()); }
    HWND GetOneControlHWnd(int index) const;
    IXMLDOMNode* GetDlgRootNode() const { return m_dialogElement.Get(); }
    void SetDialogDataChanged(bool changed = true) { m_dataChanged = changed; }
    bool GetDialogDataChanged() const { return m_dataChanged; }
    bool IsControlEntryInScriptFile(int controlId) const;
    void RedrawDlgWindow();
    bool HasBackground() const { return m_background.GetSafeHandle() != nullptr; }
    // The colour cut away from the face; buttons cut their shape with it too.
    COLORREF GetTransparentColor() const { return m_transparentColour; }
    // The hidden dialog's menu command id, 0 when not listed.
    int GetHiddenDlgCommandId(int dialogId) const;
    // The "Show Hidden Dialog" sub-menu of the editing menu: one entry per hidden dialog under
    // its command id. Null unless hidden dialogs are handled and listed; the caller destroys it.
    HMENU CreateHiddenDialogMenu() const;

    bool QorDlg_EnableControl(int controlId, bool enable);
    bool QorDlg_CtrlIsEnabled(int controlId) const;
    bool QorDlg_CtrlSetIsToggleButton(int controlId, bool toggle);
    bool QorDlg_CtrlHighlightOnMouseOver(int controlId, bool highlight);
    bool QorDlg_CtrlUncaptureIfOutOfRegion(int controlId, bool uncapture);

    // The design-time editing mode, when the engine allows graphics or text editing. A right
    // click on the face or a control opens its editing menu; an unlocked control is dragged
    // with the left button and moved by the arrow keys once selected. The menus' commands are
    // carried out here, never sent to the dialog as commands: their numbers are also those
    // of OK, No and Close.
    bool EditingModeOn() const;
    // The editing menu of the dialog, or of the registered control `controlId`; the caller
    // destroys it. Null when editing is not allowed or there is no such control.
    HMENU CreateDialogEditMenu() const;
    HMENU CreateControlEditMenu(int controlId) const;
    // Carries a menu command out; false when it is not offered or did nothing.
    bool RunDialogEditCommand(int command);
    bool RunControlEditCommand(int controlId, int command);
    // Shows `menu` at `screen` and returns the command chosen, 0 for none.
    int TrackEditMenu(HMENU menu, POINT screen);
    // Loads `path` as the new face first; only when it loads are the face, the region and the
    // stored "DlgBitmapFile" replaced. False, with everything kept, otherwise.
    bool ChangeBackgroundBitmap(const std::string& path);
    // The control the designer last picked (by a right click or a drag), 0 for none.
    int GetSelectedControlId() const { return m_selectedControl; }
    bool IsControlLocked(int controlId) const;
    // Moves the control as a drop or an arrow key does and marks the skin changed.
    bool MoveControlForEditing(int controlId, int dx, int dy);
    bool StaticsHighlighted() const { return m_staticsHighlighted; }

    // The skinned dialogs of the process that are initialised and not yet closed.
    static int GetOpenDialogCount();
    static EQorDialog* GetOpenDialog(int index);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    struct ControlEntry {
        bool notInitialised = false;
        int id = 0;
        eControlType type = eQorButton;
        IQorControlCommon* common = nullptr;
        HWND window = nullptr;
        CWnd* object = nullptr;
        int showState = SW_SHOW;
    };
    struct AuxBitmap {
        int entryId;
        std::string entryName, path;
    };
    struct HiddenDialog {
        std::string name;
        int commandId, dialogId;
    };

    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(HDC hDC) override;
    HBRUSH OnCtlColor(HDC hDC, HWND hWndCtl, UINT nCtlColor) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnCaptureChanged(HWND hWndNew) override;
    LRESULT OnNcHitTest(CPoint screenPoint) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnClose() override;
    void OnDestroy() override;

    // The bitmap the face is painted from (the background; a stretch dialog's composite).
    virtual HBITMAP FaceBitmap() const { return m_background.GetSafeHandle(); }
    // Finds the dialog's element in the skin document by its name; the message box, whose
    // element has a fixed place, finds it there instead.
    virtual bool FindDialogElement(IXMLDOMDocument* document, const std::string& name);
    // Hands `region` to the window as its outline; on success the window owns it. A dialog may
    // stand in for the system here (a test makes it fail).
    virtual bool GiveWindowRegion(HRGN region);
    // Loads `path` and builds its region; on failure nothing is kept.
    bool InitBitmapAndRegion(const std::string& path, COLORREF transparent);
    void ReportInitFailure(const char* text) const;
    const std::vector<ControlEntry>& Controls() const { return m_controls; }
    const ControlEntry* FindControl(int controlId) const;
    HWND TransparentStaticAt(POINT point) const;

    int m_dialogType = 0;
    int m_sharedEntryMode = 1;
    COLORREF m_transparentColour = 0;
    CBitmap m_background;
    CRgn m_region;
    std::string m_backgroundFile;
    win::ComPtr<IXMLDOMNode> m_dialogElement;
    CToolTipCtrl m_toolTip;

private:
    // The editing mode's share of PreTranslateMessage: menus, drag starts and arrow keys.
    bool PreTranslateEditing(MSG* pMsg);
    const ControlEntry* ControlAtWindow(HWND window) const;
    const ControlEntry* EditableControlAt(HWND target, POINT screen) const;
    void ShowEditMenuFor(HWND target, POINT screen);
    void BeginEditDrag(const ControlEntry& entry, POINT screen);
    void DrawEditDragFrame();
    void EndEditDrag(bool drop, POINT screen);
    void MarkGraphicsEdited();
    bool EditControlTexts(const ControlEntry& entry, bool captions);
    bool EditTextSettings(const ControlEntry& entry);
    // The control takes its captions, colours and font from the text file again.
    void ReloadControlText(const ControlEntry& entry);
    // The graphics commands on one control and their editing dialogs; each writes what the
    // designer changed into the control's element (or a button template) and rebuilds the
    // live control from it (EQorControlEditing*.cpp).
    bool RunControlGraphicsCommand(const ControlEntry& entry, int command);
    bool RunButtonTemplateCommand(const ControlEntry& entry, IXMLDOMNode* element, int command);
    bool EditButtonGraphicsTemplate(const std::string& name, IXMLDOMNode* templateElement);
    bool EditEdgeTracking(const ControlEntry& entry, IXMLDOMNode* element);
    void ApplyControlGraphicsEdit(const ControlEntry& entry);
    bool UsesButtonGraphicsTemplate(const ControlEntry& entry) const;
    // Text template commands of the control menus (EQorControlTextTemplates.cpp).
    bool RunTextTemplateCommand(const ControlEntry& entry, int command);
    static void ReloadTextOfOpenDialogs();
    // Dialog menu commands (EQorDialogEditCommands.cpp).
    bool RunMoreDialogEditCommand(int command);
    bool EditAuxBitmapFilenames();
    bool TogglePlacementControls();
    bool m_placementShown = false;
    // Where the skin's data lies and what the whole dialog's text entry gives
    // (EQorDialogSkinData.cpp).
    bool SetGraphicsParentFolder();
    bool AddPreliminaryControlInfo(int controlId);
    bool EditDialogTextValues();
    // Stretch values, grabber marks and the message box and menu samples of the dialog menu
    // (EQorSkinSettingsEditing.cpp).
    void FillSkinSettingsMenuState(skelda::editing::DialogMenuState* state) const;
    bool RunSkinSettingsCommand(int command);
    bool EditStretchValues(int command);
    bool ToggleGrabberHighlight();
    bool ShowMessageBoxSample();
    bool ShowMenuSample();
    bool EditMenuSettings();
    bool m_grabbersHighlighted = false;

    // Substitutes and initialises the registered controls from `first` on.
    bool CreateControls(size_t first = 0);
    bool InitializeControl(ControlEntry& entry);
    bool AskToAddControlEntry(ControlEntry& entry);
    void LoadAuxBitmapFilenames();
    void LeaveDialogList();
    // The dialog element's controls by identifier, read once when first asked and forgotten
    // when the element changes or gains a control.
    const skelda::skinfile::ControlIndex& ControlElements() const;
    mutable std::shared_ptr<skelda::skinfile::ControlIndex> m_controlIndex;

    CDialog* m_pDerivedDialog = nullptr;
    std::vector<ControlEntry> m_controls;
    // How many of m_controls have been through CreateControls.
    size_t m_controlsCreated = 0;
    // Ids of the transparent statics; hit tests use their current rectangles, so that a moved
    // or hidden text is found where it is.
    std::vector<int> m_transparentStatics;
    std::vector<AuxBitmap> m_auxBitmaps;
    std::vector<HiddenDialog> m_hiddenDialogs;
    int m_nextHiddenCommand = kFirstHiddenDialogCommand;
    bool m_mouseMovesDialog = false, m_handlingHiddenDialogs = false, m_displayMode = false;
    bool m_dataChanged = false;
    int m_mouseOverStaticButtons = 0;  // MK_LBUTTON / MK_RBUTTON noted over a transparent static
    int m_selectedControl = 0;
    bool m_staticsHighlighted = false, m_invisibleShown = false;
    std::vector<int> m_shownInvisible;  // ids of the controls "Show All" made visible
    struct EditDrag {
        bool active = false;
        int controlId = 0;
        POINT start{};
        RECT startRect{}, frame{};  // client coordinates
        bool frameDrawn = false;
    } m_drag;
};
