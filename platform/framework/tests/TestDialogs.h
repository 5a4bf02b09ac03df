#pragma once
// Dialog and control classes of the tests that record, in order, which handlers ran with
// which arguments.
#include <framework/Framework.h>

#include <string>
#include <vector>

#include "test_ids.h"

using EventLog = std::vector<std::string>;

inline bool Contains(const EventLog& log, const std::string& event)
{
    for (const auto& e : log)
        if (e == event)
            return true;
    return false;
}

// Position of an event in the log, or -1.
inline int IndexOf(const EventLog& log, const std::string& event)
{
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i] == event)
            return static_cast<int>(i);
    return -1;
}

// An edit that answers its own colour requests, as a skinned edit does.
class ColourEdit : public CEdit {
public:
    explicit ColourEdit(EventLog& log) : log_(log) { brush.CreateSolidBrush(RGB(1, 2, 3)); }
    CBrush brush;
    int colourRequests = 0;
    bool logColours = false;

protected:
    HBRUSH CtlColor(HDC hDC, UINT nCtlColor) override
    {
        ++colourRequests;
        if (logColours)
            log_.push_back("edit CtlColor " + std::to_string(nCtlColor));
        ::SetTextColor(hDC, RGB(200, 10, 20));
        return brush;
    }

private:
    EventLog& log_;
};

// A slider that hears its own scroll notifications, as a linked slider does.
class ScrollSlider : public CSliderCtrl {
public:
    std::vector<UINT> codes;

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_HSCROLL) {
            codes.push_back(LOWORD(wParam));
            return TRUE;
        }
        return CSliderCtrl::OnChildNotify(message, wParam, lParam, pResult);
    }
};

class TestDialog : public CDialog {
public:
    explicit TestDialog(EventLog& log, CWnd* parent = nullptr)
        : CDialog(IDD_FW_MAIN, parent), name(log), log_(log)
    {
        MapCommand(IDC_FW_GO, BN_CLICKED, [this] { log_.push_back("Go clicked"); });
        MapCommand(IDC_FW_NAME, EN_CHANGE, [this] { log_.push_back("Name changed"); });
        MapCommand(40001, [this] { log_.push_back("menu 40001"); });
        MapNotify(IDC_FW_LIST, NM_CLICK, [this](NMHDR* header, LRESULT* result) {
            log_.push_back("list clicked from " + std::to_string(header->idFrom));
            *result = 5;
        });
        MapCommandRange(41000, 41009, framework::kCommandCode,
                        [this](UINT id) { log_.push_back("range " + std::to_string(id)); });
    }

    ColourEdit name;
    CButton check;
    ScrollSlider level;
    CComboBox combo;
    CListCtrl list;
    CProgressCtrl progress;
    CSpinButtonCtrl spin;
    std::string nameText = "initial";
    int checked = 1;
    int count = 5;
    // Ends the dialog from OnInitDialog when not 0.
    INT_PTR endInInit = 0;
    // Timer started in OnInitDialog when not 0.
    UINT timerMs = 0;
    std::vector<UINT> preTranslated;
    LRESULT privateAnswer = 0;
    // Colour requests come with every paint; only tests about them log them.
    bool logColours = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        log_.push_back(pDX->m_bSaveAndValidate ? "DoDataExchange save" : "DoDataExchange load");
        DDX_Control(pDX, IDC_FW_NAME, name);
        DDX_Control(pDX, IDC_FW_CHECK, check);
        DDX_Control(pDX, IDC_FW_LEVEL, level);
        DDX_Control(pDX, IDC_FW_COMBO, combo);
        DDX_Control(pDX, IDC_FW_LIST, list);
        DDX_Control(pDX, IDC_FW_PROGRESS, progress);
        DDX_Control(pDX, IDC_FW_SPIN, spin);
        DDX_Text(pDX, IDC_FW_NAME, nameText);
        DDX_Check(pDX, IDC_FW_CHECK, checked);
        DDX_Text(pDX, IDC_FW_COUNT, count);
    }
    BOOL OnInitDialog() override
    {
        log_.push_back("OnInitDialog");
        const BOOL result = CDialog::OnInitDialog();
        log_.push_back(name.m_hWnd ? "bound" : "unbound");
        if (timerMs)
            SetTimer(7, timerMs);
        if (endInInit)
            EndDialog(endInInit);
        return result;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        preTranslated.push_back(pMsg->message);
        return CDialog::PreTranslateMessage(pMsg);
    }
    void OnTimer(UINT_PTR id) override
    {
        log_.push_back("OnTimer " + std::to_string(id));
        onTimer(id);
    }
    void OnOK() override
    {
        log_.push_back("OnOK");
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        log_.push_back("OnCancel");
        CDialog::OnCancel();
    }
    void OnClose() override
    {
        log_.push_back("OnClose");
        CDialog::OnClose();
    }
    void OnDestroy() override
    {
        log_.push_back("OnDestroy");
        CDialog::OnDestroy();
    }
    HBRUSH OnCtlColor(HDC hDC, HWND hWndCtl, UINT nCtlColor) override
    {
        if (logColours)
            log_.push_back("dialog OnCtlColor " + std::to_string(nCtlColor));
        return CDialog::OnCtlColor(hDC, hWndCtl, nCtlColor);
    }
    void OnLButtonDown(UINT flags, CPoint point) override
    {
        log_.push_back("OnLButtonDown " + std::to_string(flags) + " " + std::to_string(point.x) + "," +
                       std::to_string(point.y));
    }
    void OnSize(UINT type, int cx, int cy) override
    {
        log_.push_back("OnSize " + std::to_string(type) + " " + std::to_string(cx) + "x" + std::to_string(cy));
        CDialog::OnSize(type, cx, cy);
    }
    void OnHScroll(UINT code, UINT pos, HWND bar) override
    {
        log_.push_back("dialog OnHScroll " + std::to_string(code) + " " + std::to_string(pos));
        CDialog::OnHScroll(code, pos, bar);
    }
    void OnMove(int x, int y) override
    {
        log_.push_back("OnMove " + std::to_string(x) + "," + std::to_string(y));
    }
    void OnSysCommand(UINT id, LPARAM lParam) override
    {
        if ((id & 0xFFF0) == 0x0010) {
            log_.push_back("OnSysCommand about");
            return;
        }
        CDialog::OnSysCommand(id, lParam);
    }
    HCURSOR OnQueryDragIcon() override { return reinterpret_cast<HCURSOR>(::LoadIconA(nullptr, MAKEINTRESOURCEA(32512))); }
    BOOL OnDeviceChange(UINT event, DWORD_PTR data) override
    {
        log_.push_back("OnDeviceChange " + std::to_string(event) + " " + std::to_string(data));
        return TRUE;
    }
    BOOL OnQueryEndSession() override
    {
        log_.push_back("OnQueryEndSession");
        return FALSE;
    }
    LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == 1037 || message == 1044) {
            log_.push_back("private " + std::to_string(message) + " " + std::to_string(wParam) + " " +
                           std::to_string(lParam));
            return privateAnswer;
        }
        return CDialog::OnPrivateMessage(message, wParam, lParam);
    }

public:
    // What a test wants done when the timer fires.
    std::function<void(UINT_PTR)> onTimer = [](UINT_PTR) {};

private:
    EventLog& log_;
};
