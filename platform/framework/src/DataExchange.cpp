// Data exchange between dialog members and dialog items.
#include "framework/DataExchange.h"

#include <climits>

#include "framework/Wnd.h"

namespace {

std::string ItemText(HWND item)
{
    const int length = ::GetWindowTextLengthA(item);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

// The dialog item an exchange works on; null once the exchange has failed, and a missing item
// fails it.
HWND ExchangeItem(CDataExchange* pDX, int id)
{
    if (pDX->m_bFailed)
        return nullptr;
    HWND item = pDX->PrepareCtrl(id);
    if (!item)
        pDX->Fail();
    return item;
}

}  // namespace

namespace framework {

bool ParseDecimalInt(const std::string& text, int* value)
{
    size_t i = 0;
    const size_t n = text.size();
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (i < n && blank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    const size_t digitsStart = i;
    long long magnitude = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1)
            return false;
        ++i;
    }
    if (i == digitsStart)
        return false;
    while (i < n && blank(text[i]))
        ++i;
    if (i != n)
        return false;
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX || signedValue < INT_MIN)
        return false;
    *value = static_cast<int>(signedValue);
    return true;
}

}  // namespace framework

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    m_idLastControl = id;
    return m_pDlgWnd && m_pDlgWnd->m_hWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
}

void CDataExchange::Fail()
{
    if (!m_bFailed && m_bSaveAndValidate && m_pDlgWnd && m_pDlgWnd->m_hWnd) {
        // Back to the offending item, its text selected, so the user can correct it.
        if (HWND item = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl)) {
            ::SetFocus(item);
            ::SendMessageA(item, EM_SETSEL, 0, -1);
        }
    }
    m_bFailed = TRUE;
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (pDX->m_bFailed || control.m_hWnd)
        return;
    HWND item = pDX->PrepareCtrl(id);
    if (!item || !control.SubclassWindow(item)) {
        OutputDebugStringA("Framework:  DDX_Control could not bind a dialog item\r\n");
        pDX->Fail();
    }
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value)
{
    HWND item = ExchangeItem(pDX, id);
    if (!item)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = ItemText(item);
    } else {
        ::SetWindowTextA(item, value.c_str());
    }
}

void DDX_Text(CDataExchange* pDX, int id, int& value)
{
    HWND item = ExchangeItem(pDX, id);
    if (!item)
        return;
    if (pDX->m_bSaveAndValidate) {
        int parsed = 0;
        if (!framework::ParseDecimalInt(ItemText(item), &parsed)) {
            ::MessageBoxA(pDX->m_pDlgWnd->m_hWnd, "Please enter an integer.", nullptr,
                          MB_OK | MB_ICONEXCLAMATION);
            pDX->Fail();
            return;
        }
        value = parsed;
    } else {
        ::SetWindowTextA(item, std::to_string(value).c_str());
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    HWND item = ExchangeItem(pDX, id);
    if (!item)
        return;
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(item, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(item, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}
