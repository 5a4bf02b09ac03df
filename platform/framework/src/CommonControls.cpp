// The common-control operations that need more than one message.
#include "framework/CommonControls.h"

#include <vector>

std::string CComboBox::GetLBText(int index) const
{
    const LRESULT length = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR)
        return {};
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

int CListCtrl::InsertColumn(int column, LPCSTR heading, int format, int width)
{
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM | (width >= 0 ? LVCF_WIDTH : 0);
    col.fmt = format;
    col.cx = width;
    col.pszText = const_cast<LPSTR>(heading ? heading : "");
    col.iSubItem = column;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col)));
}

int CListCtrl::InsertItem(int item, LPCSTR text)
{
    LVITEMA row{};
    row.mask = LVIF_TEXT;
    row.iItem = item;
    row.pszText = const_cast<LPSTR>(text ? text : "");
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCSTR text)
{
    LVITEMA row{};
    row.iSubItem = subItem;
    row.pszText = const_cast<LPSTR>(text ? text : "");
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&row)));
}

std::string CListCtrl::GetItemText(int item, int subItem) const
{
    // The control copies at most the buffer's size; grow until the text fits.
    for (size_t size = 256; size <= 65536; size *= 4) {
        std::vector<char> text(size, '\0');
        LVITEMA row{};
        row.iSubItem = subItem;
        row.pszText = text.data();
        row.cchTextMax = static_cast<int>(size);
        const LRESULT copied = SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&row));
        if (copied < static_cast<LRESULT>(size) - 1)
            return text.data();
    }
    return {};
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    LVITEMA row{};
    row.state = state;
    row.stateMask = mask;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&row)));
}

BOOL CToolTipCtrl::Create(CWnd* pParent, DWORD style)
{
    const HWND owner = pParent ? pParent->m_hWnd : nullptr;
    const RECT none{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    if (!CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | style, none, owner, 0))
        return FALSE;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

namespace {

// Tooltip texts are cut to what GetText can read back.
constexpr size_t kMaxTipText = 1023;

std::string Clipped(LPCSTR text)
{
    std::string clipped = text ? text : "";
    if (clipped.size() <= kMaxTipText)
        return clipped;
    // Never between the two bytes of a double-byte character.
    size_t cut = 0;
    for (size_t i = 0; i < clipped.size();) {
        const size_t step = ::IsDBCSLeadByte(static_cast<BYTE>(clipped[i])) && i + 1 < clipped.size() ? 2 : 1;
        if (i + step > kMaxTipText)
            break;
        i += step;
        cut = i;
    }
    clipped.resize(cut);
    return clipped;
}

}  // namespace

TOOLINFOA CToolTipCtrl::ToolInfo(HWND tool, LPCSTR text) const
{
    TOOLINFOA info{};
    // The size every comctl32 version accepts, manifest or not.
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = ::GetParent(tool) ? ::GetParent(tool) : tool;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<LPSTR>(text);
    return info;
}

BOOL CToolTipCtrl::AddTool(HWND tool, LPCSTR text)
{
    if (!tool)
        return FALSE;
    const std::string clipped = Clipped(text);
    TOOLINFOA info = ToolInfo(tool, clipped.c_str());
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::UpdateTipText(LPCSTR text, HWND tool)
{
    const std::string clipped = Clipped(text);
    TOOLINFOA info = ToolInfo(tool, clipped.c_str());
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::DelTool(HWND tool)
{
    TOOLINFOA info = ToolInfo(tool, nullptr);
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

std::string CToolTipCtrl::GetText(HWND tool) const
{
    // TTM_GETTEXT has no size argument; AddTool and UpdateTipText keep texts within this.
    std::vector<char> text(kMaxTipText + 1, '\0');
    TOOLINFOA info = ToolInfo(tool, text.data());
    SendMessage(TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    return text.data();
}

void CToolTipCtrl::RelayEvent(LPMSG msg)
{
    if (!m_hWnd || !msg)
        return;
    switch (msg->message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP:
    case WM_NCMOUSEMOVE:
        SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
        break;
    default:
        break;
    }
}
