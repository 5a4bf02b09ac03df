#pragma once
// The standard controls as objects: bind one to a dialog item with DDX_Control or
// SubclassDlgItem, or create it with Create. The operations are the control's messages.
#include <windows.h>

#include <string>

#include "framework/Wnd.h"

class FRAMEWORK_API CButton : public CWnd {
public:
    ~CButton() override;
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* pParent, UINT id)
    {
        return CWnd::Create("BUTTON", text, style, rect, pParent, id);
    }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, static_cast<WPARAM>(highlight)); }
    UINT GetButtonStyle() const { return static_cast<UINT>(GetStyle() & 0xFF); }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE)
    {
        SendMessage(BM_SETSTYLE, style & 0xFFFF, redraw);
    }
    HBITMAP SetBitmap(HBITMAP bitmap)
    {
        return reinterpret_cast<HBITMAP>(
            SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
};

class FRAMEWORK_API CStatic : public CWnd {
public:
    ~CStatic() override;
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* pParent, UINT id = 0xFFFF)
    {
        return CWnd::Create("STATIC", text, style, rect, pParent, id);
    }
    // The previous bitmap comes back to the caller, who owns it.
    HBITMAP SetBitmap(HBITMAP bitmap)
    {
        return reinterpret_cast<HBITMAP>(
            SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
    HBITMAP GetBitmap() const
    {
        return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP));
    }
    HICON SetIcon(HICON icon)
    {
        return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
    }
};

class FRAMEWORK_API CEdit : public CWnd {
public:
    ~CEdit() override;
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT id)
    {
        return CWnd::CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", style, rect,
                              pParent ? pParent->m_hWnd : nullptr, id);
    }
    void SetSel(int start, int end, BOOL noScroll = FALSE)
    {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
        if (!noScroll)
            SendMessage(EM_SCROLLCARET);
    }
    void GetSel(int& start, int& end) const
    {
        DWORD s = 0, e = 0;
        SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        start = static_cast<int>(s);
        end = static_cast<int>(e);
    }
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE)
    {
        SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text ? text : ""));
    }
    void SetLimitText(UINT maxChars) { SendMessage(EM_SETLIMITTEXT, maxChars); }
    UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    BOOL GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }
};
