#pragma once
// The skinned popup menu: a stretch dialog on the library's own template whose entries are
// skinned radio buttons (at most 41), with separators and sub-menus. It takes its look from
// the skin's "MenuDlg" and opens around a point by a placement code, moving to another code
// when it would not fit the work area. A sub-menu opens when the mouse rests on its entry and
// passes the choice made in it up to its parent.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "EQorButton.h"
#include "EQorStretchDlg.h"

class EQorMenu;

struct _QorMenuEntry {
    std::string text;
    int commandId = 0;
    RECT position{};              // in the menu's client area, while it is shown
    int flag = 0;                 // MF_GRAYED or MF_DISABLED shows the entry disabled
    EQorMenu* subMenu = nullptr;  // owned by the caller
};

class SKELDA_API EQorMenu : public EQorStretchDlg {
public:
    // Enumerators rather than static members, so clients can use them across the DLL.
    enum : COLORREF { kTransparentColour = 0xFF0000 };  // pure blue
    enum : int {
        kMaxEntries = 41,
        // TrackQorMenu's results.
        kChosen = 1,
        kNothingChosen = 2,
    };

    explicit EQorMenu(CWnd* parent = nullptr);
    ~EQorMenu() override;
    EQorMenu(const EQorMenu&) = delete;
    EQorMenu& operator=(const EQorMenu&) = delete;

    // False when the menu already holds kMaxEntries entries.
    bool AddEntry(const std::string& text, int commandId, int flag = 0);
    bool AddPopupMenu(const std::string& text, EQorMenu* subMenu, int commandId, int flag = 0);
    // Draws a line before the entry added next.
    bool AddSeparator();
    // Placement codes 0 to 6 (others count as 0) around the cursor, a point, and a rectangle
    // the menu should open beside.
    void SetPlacement(int code);
    void SetPlacement(int code, POINT point);
    void SetPlacement(int code, POINT point, const RECT& exclusion);
    // The entry marked as the current one (when the skin marks the selection).
    bool SetCurrentEntry(int index);
    bool SetCurrentEntryByID(int id);

    // Shows the menu modally: kChosen when an entry was chosen, kNothingChosen when the menu
    // was left without a choice, -1 when it could not be shown.
    INT_PTR TrackQorMenu();
    // The command id of the entry chosen, -1 for none.
    int GetSelection() const { return m_selection; }
    // Closes the menu (and its open sub-menu) with `id` as the selection; a sub-menu passes
    // it to its parent.
    void ExitMenu(int id);

    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }
    const _QorMenuEntry& GetEntry(int index) const { return m_entries.at(static_cast<size_t>(index)); }
    EQorMenu* GetOpenSubMenu() const { return m_openSubMenu; }
    bool MarksSelection() const { return m_markSelection; }
    // A sample shown for the editing mode: it stays open while the designer works in editing
    // dialogs over it (another window active), keeps its owner disabled, and lays itself out
    // again from the skin when asked.
    void KeepOpenForEditing() { m_editingSample = true; }
    bool LayOutAgain() { return m_hWnd && LayOut(); }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnEraseBkgnd(HDC hDC) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnActivate(UINT nState, HWND hWndOther, BOOL bMinimized) override;
    LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCancel() override;
    void OnOK() override;
    void OnClose() override;
    void StretchSettingsChanged() override;

private:
    bool LayOut();
    void Place(SIZE size);
    void RestoreMarks();
    void StartTracking();
    void TrackMouse();
    void Choose(int index);
    void OpenSubMenu(int index);
    void ReturnToParent();
    // Ends this menu and its open sub-menus without passing anything up.
    void CloseQuietly();
    void MoveHot(int step);
    void SetLit(int index, bool lit);
    bool InChain(HWND window) const;
    EQorButton* Radio(int index) const;

    std::vector<_QorMenuEntry> m_entries;
    std::vector<int> m_separators;  // the index of the entry after each separator
    std::vector<int> m_separatorLines;
    int m_separatorLeft = 0, m_separatorRight = 0;
    int m_selection = -1;
    int m_currentEntry = -1;
    int m_placement = 0;
    bool m_hasPoint = false, m_hasExclusion = false;
    POINT m_point{};
    RECT m_exclusion{};
    bool m_markSelection = false;
    int m_hot = -1;  // the entry the keyboard points at

    EQorMenu* m_parentMenu = nullptr;
    int m_parentEntry = -1;
    EQorMenu* m_openSubMenu = nullptr;
    bool m_closing = false;
    bool m_reenableOwner = false;
    bool m_editingSample = false;
    std::vector<std::unique_ptr<EQorTransparentRadio>> m_radios;  // one per entry while shown
};
