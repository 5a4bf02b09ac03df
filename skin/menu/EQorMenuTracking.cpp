// The skinned menu while it is shown: choosing entries, sub-menus opened by resting the mouse
// on their entry and closed when it goes back to the parent, the keyboard, and closing when
// another window is activated.
#include "EQorMenu.h"

#include "MenuLayout.h"

namespace layout = skelda::menu;

namespace {

constexpr UINT_PTR kTrackTimer = 0x514D;        // private to this class
constexpr UINT kTrackPeriodMs = 60;
constexpr UINT kCheckActive = WM_APP + 0x51;  // posted when the menu lost activation

int EntryAtPoint(const std::vector<_QorMenuEntry>& entries, POINT client)
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (PtInRect(&entries[i].position, client))
            return static_cast<int>(i);
    return -1;
}

bool Enabled(const _QorMenuEntry& entry)
{
    return (entry.flag & (MF_GRAYED | MF_DISABLED)) == 0;
}

}  // namespace

void EQorMenu::StartTracking()
{
    SetTimer(kTrackTimer, kTrackPeriodMs);
}

void EQorMenu::ExitMenu(int id)
{
    if (m_closing)
        return;
    m_closing = true;
    m_selection = id;
    KillTimer(kTrackTimer);
    if (m_openSubMenu)
        m_openSubMenu->CloseQuietly();
    if (m_parentMenu)
        m_parentMenu->ExitMenu(id);
    EndDialog(id != -1 ? kChosen : kNothingChosen);
}

void EQorMenu::CloseQuietly()
{
    if (m_closing)
        return;
    m_closing = true;
    KillTimer(kTrackTimer);
    if (m_openSubMenu)
        m_openSubMenu->CloseQuietly();
    EndDialog(kNothingChosen);
}

void EQorMenu::ReturnToParent()
{
    if (m_closing || !m_parentMenu)
        return;
    CloseQuietly();
}

void EQorMenu::Choose(int index)
{
    if (m_closing || index < 0 || index >= static_cast<int>(m_entries.size()) || !Enabled(m_entries[index]))
        return;
    if (!m_entries[index].subMenu) {
        ExitMenu(m_entries[index].commandId);
        return;
    }
    // A click on an entry that owns a sub-menu opens it; the radio button's check goes back.
    RestoreMarks();
    OpenSubMenu(index);
}

void EQorMenu::OpenSubMenu(int index)
{
    EQorMenu* sub = m_entries[static_cast<size_t>(index)].subMenu;
    if (m_closing || m_openSubMenu || !sub || sub->m_hWnd)
        return;
    RECT mine{};
    GetWindowRect(&mine);
    POINT entryTop{0, m_entries[static_cast<size_t>(index)].position.top};
    ClientToScreen(&entryTop);
    sub->SetPlacement(4, {mine.right - 5, entryTop.y}, mine);
    CWnd* previousParent = sub->m_pParentWnd;
    sub->m_pParentWnd = this;
    sub->m_parentMenu = this;
    sub->m_parentEntry = index;
    m_openSubMenu = sub;
    sub->TrackQorMenu();
    m_openSubMenu = nullptr;
    sub->m_parentMenu = nullptr;
    sub->m_pParentWnd = previousParent;
    if (EQorButton* radio = Radio(index); radio && !m_closing)
        radio->SetState(radio->GetChecked() ? 1 : 0);
}

void EQorMenu::TrackMouse()
{
    if (m_closing || m_openSubMenu)
        return;  // an open sub-menu follows the mouse now
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT mine{};
    GetWindowRect(&mine);
    const bool inside = PtInRect(&mine, cursor) != FALSE;
    if (m_parentMenu) {
        // The entry that opened this menu stays lit while it is open.
        if (EQorButton* owning = m_parentMenu->Radio(m_parentEntry))
            owning->SetState(2);
        RECT parent{};
        m_parentMenu->GetWindowRect(&parent);
        if (!inside && PtInRect(&parent, cursor)) {
            POINT client = cursor;
            m_parentMenu->ScreenToClient(&client);
            if (EntryAtPoint(m_parentMenu->m_entries, client) != m_parentEntry) {
                ReturnToParent();
                return;
            }
        }
    }
    if (!inside)
        return;
    POINT client = cursor;
    ScreenToClient(&client);
    const int index = EntryAtPoint(m_entries, client);
    if (index >= 0 && m_entries[static_cast<size_t>(index)].subMenu && Enabled(m_entries[static_cast<size_t>(index)]))
        OpenSubMenu(index);
}

void EQorMenu::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kTrackTimer)
        TrackMouse();
    else
        EQorStretchDlg::OnTimer(nIDEvent);
}

BOOL EQorMenu::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int index = layout::EntryIndexOfControl(LOWORD(wParam));
    if (index >= 0 && index < static_cast<int>(m_entries.size()) && lParam != 0) {
        if (HIWORD(wParam) == BN_CLICKED)
            Choose(index);
        return TRUE;
    }
    return EQorStretchDlg::OnCommand(wParam, lParam);
}

void EQorMenu::OnOK()
{
    Choose(m_hot);
}

void EQorMenu::OnCancel()
{
    if (m_parentMenu)
        ReturnToParent();
    else
        ExitMenu(-1);
}

void EQorMenu::OnClose()
{
    ExitMenu(-1);
}

void EQorMenu::SetLit(int index, bool lit)
{
    if (EQorButton* radio = Radio(index))
        radio->SetState(lit ? 2 : (radio->GetChecked() ? 1 : 0));
}

void EQorMenu::MoveHot(int step)
{
    const int count = static_cast<int>(m_entries.size());
    int next = m_hot;
    for (int tries = 0; tries < count; ++tries) {
        next = next < 0 ? (step > 0 ? 0 : count - 1) : (next + step + count) % count;
        if (Enabled(m_entries[static_cast<size_t>(next)]))
            break;
    }
    if (next < 0 || !Enabled(m_entries[static_cast<size_t>(next)]))
        return;
    SetLit(m_hot, false);
    m_hot = next;
    SetLit(m_hot, true);
}

BOOL EQorMenu::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        switch (pMsg->wParam) {
        case VK_UP:
        case VK_DOWN:
            MoveHot(pMsg->wParam == VK_DOWN ? 1 : -1);
            return TRUE;
        case VK_RIGHT:
            if (m_hot >= 0 && m_entries[static_cast<size_t>(m_hot)].subMenu)
                OpenSubMenu(m_hot);
            return TRUE;
        case VK_LEFT:
            ReturnToParent();
            return TRUE;
        case VK_RETURN:
            Choose(m_hot);
            return TRUE;
        default:
            break;
        }
    }
    return EQorStretchDlg::PreTranslateMessage(pMsg);
}

bool EQorMenu::InChain(HWND window) const
{
    for (const EQorMenu* menu = this; menu; menu = menu->m_parentMenu)
        if (menu->m_hWnd == window)
            return true;
    for (const EQorMenu* menu = m_openSubMenu; menu; menu = menu->m_openSubMenu)
        if (menu->m_hWnd == window)
            return true;
    return false;
}

void EQorMenu::OnActivate(UINT nState, HWND hWndOther, BOOL bMinimized)
{
    EQorStretchDlg::OnActivate(nState, hWndOther, bMinimized);
    // Decided once the activation has settled: a sub-menu taking over keeps the menus open.
    if (nState == WA_INACTIVE && !m_closing)
        PostMessage(kCheckActive, 0, 0);
}

LRESULT EQorMenu::OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kCheckActive)
        return EQorStretchDlg::OnPrivateMessage(message, wParam, lParam);
    if (!m_closing && !m_editingSample && !InChain(::GetActiveWindow()))
        ExitMenu(-1);
    return 0;
}
