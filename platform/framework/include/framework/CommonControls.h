#pragma once
// The common controls as objects (trackbar, combo box, list view, progress bar, up-down,
// tooltip). Bind them to dialog items or create them; the operations are their messages.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/Wnd.h"

class FRAMEWORK_API CSliderCtrl : public CWnd {
public:
    ~CSliderCtrl() override;
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT id)
    {
        return CWnd::Create(TRACKBAR_CLASSA, "", style, rect, pParent, id);
    }
    void SetRange(int minimum, int maximum, BOOL redraw = FALSE)
    {
        SendMessage(TBM_SETRANGEMIN, FALSE, minimum);
        SendMessage(TBM_SETRANGEMAX, redraw, maximum);
    }
    void GetRange(int& minimum, int& maximum) const
    {
        minimum = GetRangeMin();
        maximum = GetRangeMax();
    }
    int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetTicFreq(int frequency) { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(frequency)); }
    int SetPageSize(int size) { return static_cast<int>(SendMessage(TBM_SETPAGESIZE, 0, size)); }
    int SetLineSize(int size) { return static_cast<int>(SendMessage(TBM_SETLINESIZE, 0, size)); }
    void GetThumbRect(LPRECT rect) const { SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(rect)); }
    void GetChannelRect(LPRECT rect) const { SendMessage(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(rect)); }
};

class FRAMEWORK_API CComboBox : public CWnd {
public:
    ~CComboBox() override;
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT id)
    {
        return CWnd::Create("COMBOBOX", "", style, rect, pParent, id);
    }
    int AddString(LPCSTR text) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int InsertString(int index, LPCSTR text)
    {
        return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
    }
    int DeleteString(int index) { return static_cast<int>(SendMessage(CB_DELETESTRING, static_cast<WPARAM>(index))); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int FindStringExact(int startAfter, LPCSTR text) const
    {
        return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
    }
    int SelectString(int startAfter, LPCSTR text)
    {
        return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
    }
    // The text of one item; empty for an index out of range.
    std::string GetLBText(int index) const;
    DWORD_PTR GetItemData(int index) const { return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index))); }
    int SetItemData(int index, DWORD_PTR data)
    {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
    }
};

class FRAMEWORK_API CListCtrl : public CWnd {
public:
    ~CListCtrl() override;
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT id)
    {
        return CWnd::Create(WC_LISTVIEWA, "", style, rect, pParent, id);
    }
    int InsertColumn(int column, LPCSTR heading, int format = LVCFMT_LEFT, int width = -1);
    int InsertItem(int item, LPCSTR text);
    BOOL SetItemText(int item, int subItem, LPCSTR text);
    std::string GetItemText(int item, int subItem) const;
    BOOL DeleteItem(int item) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item))); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetNextItem(int start, int flags) const
    {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), flags));
    }
    BOOL SetItemState(int item, UINT state, UINT mask);
    BOOL SetTextColor(COLORREF colour) { return static_cast<BOOL>(SendMessage(LVM_SETTEXTCOLOR, 0, colour)); }
    COLORREF GetTextColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTCOLOR)); }
    BOOL SetBkColor(COLORREF colour) { return static_cast<BOOL>(SendMessage(LVM_SETBKCOLOR, 0, colour)); }
    BOOL SetTextBkColor(COLORREF colour) { return static_cast<BOOL>(SendMessage(LVM_SETTEXTBKCOLOR, 0, colour)); }
    DWORD SetExtendedStyle(DWORD style)
    {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
    }
};

class FRAMEWORK_API CProgressCtrl : public CWnd {
public:
    ~CProgressCtrl() override;
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT id)
    {
        return CWnd::Create(PROGRESS_CLASSA, "", style, rect, pParent, id);
    }
    void SetRange32(int lower, int upper) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
    int SetPos(int pos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos))); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    int OffsetPos(int delta) { return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(delta))); }
    int SetStep(int step) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(step))); }
    int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
};

class FRAMEWORK_API CSpinButtonCtrl : public CWnd {
public:
    ~CSpinButtonCtrl() override;
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT id)
    {
        return CWnd::Create(UPDOWN_CLASSA, "", style, rect, pParent, id);
    }
    void SetRange32(int lower, int upper) { SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
    void GetRange32(int& lower, int& upper) const
    {
        SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    }
    int SetPos32(int pos) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, pos)); }
    int GetPos32() const { return static_cast<int>(SendMessage(UDM_GETPOS32)); }
    HWND SetBuddy(HWND buddy) { return reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy))); }
    HWND GetBuddy() const { return reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY)); }
};

// Tooltips for the controls of one window. The owner relays its mouse messages with
// RelayEvent (typically from PreTranslateMessage); tools are identified by their window.
class FRAMEWORK_API CToolTipCtrl : public CWnd {
public:
    ~CToolTipCtrl() override;
    BOOL Create(CWnd* pParent, DWORD style = 0);
    BOOL AddTool(HWND tool, LPCSTR text);
    void UpdateTipText(LPCSTR text, HWND tool);
    void DelTool(HWND tool);
    std::string GetText(HWND tool) const;
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate); }
    void RelayEvent(LPMSG msg);
    int SetMaxTipWidth(int width) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }
    void SetDelayTime(DWORD duration, int time) { SendMessage(TTM_SETDELAYTIME, duration, time); }

private:
    TOOLINFOA ToolInfo(HWND tool, LPCSTR text) const;
};
