#pragma once
// Data exchange between a dialog's members and its items. DDX_Control binds a control
// object to a dialog item by subclassing it, the first time it runs; the value exchanges
// move text, numbers and check states in the direction m_bSaveAndValidate says.
#include <windows.h>

#include <string>

#include "framework/FrameworkApi.h"

class CWnd;

class FRAMEWORK_API CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    // Set by Fail(): the exchanges after it do nothing and UpdateData reports FALSE.
    BOOL m_bFailed = FALSE;
    int m_idLastControl = 0;

    // The dialog item `id`, remembered as the last control (the focus goes there on failure).
    HWND PrepareCtrl(int id);
    void Fail();
};

namespace framework {
// A whole decimal integer with optional sign and surrounding blanks that fits an int.
FRAMEWORK_API bool ParseDecimalInt(const std::string& text, int* value);
}  // namespace framework

FRAMEWORK_API void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
FRAMEWORK_API void DDX_Text(CDataExchange* pDX, int id, std::string& value);
// Reading a text that is not a whole decimal number fails the exchange with a message.
FRAMEWORK_API void DDX_Text(CDataExchange* pDX, int id, int& value);
FRAMEWORK_API void DDX_Check(CDataExchange* pDX, int id, int& value);
