#include "SettingsWindow.h"

#include <cstdio>
#include <optional>

#include "ControlIds.h"
#include "EQorButton.h"

#include <win/Busy.h>

namespace pages {
namespace {

constexpr int kTabs[SettingsWindow::kPageCount] = {IDC_TAB_CAPTURE, IDC_TAB_RECORDING, IDC_TAB_TV, IDC_TAB_COLOR};

}  // namespace

SettingsWindow::SettingsWindow(HWND window) : m_window(window) {}

int SettingsWindow::TabOf(int index)
{
    return index >= 0 && index < kPageCount ? kTabs[index] : 0;
}

void SettingsWindow::SetPage(int index, std::unique_ptr<SettingsPage> page)
{
    if (index < 0 || index >= kPageCount)
        return;
    if (m_pages[index] && index == m_current)
        ShowControls(index, false);
    m_pages[index] = std::move(page);
    m_created[index] = false;
    m_prepared[index] = false;
    // A page put in while its tab is up is built and shown at once.
    if (index == m_current) {
        m_current = -1;
        ShowPage(index);
    }
}

SettingsPage* SettingsWindow::Page(int index) const
{
    return index >= 0 && index < kPageCount ? m_pages[index].get() : nullptr;
}

bool SettingsWindow::Created(int index) const
{
    return index >= 0 && index < kPageCount && m_created[index];
}

void SettingsWindow::ShowPage(int index)
{
    if (index < 0 || index >= kPageCount)
        return;
    if (index != m_current) {
        // A page the window makes the controls of at its first showing has none before.
        for (int other = 0; other < kPageCount; ++other)
            if (other != index && (m_created[other] || !m_makeControls))
                ShowControls(other, false);
        SettingsPage* page = m_pages[index].get();
        // A page's first showing builds it; its pictures load as its controls first paint, so
        // that painting belongs to the building too, under the same wait cursor.
        std::optional<win::WaitCursor> wait;
        const ULONGLONG begin = ::GetTickCount64();
        if (page && !m_created[index]) {
            wait.emplace();
            if (m_makeControls && !m_prepared[index])
                m_makeControls(page->Controls());
            m_prepared[index] = true;
            page->Create();
            m_created[index] = true;
            page->Lock(m_locked);
        }
        if (page)
            ShowControls(index, true);
        m_current = index;
        if (page)
            page->Show();
        if (wait) {
            ::UpdateWindow(m_window);
            char line[96];
            std::snprintf(line, sizeof line, "Marovin:  settings page %d built and shown in %llu ms\r\n", index,
                          static_cast<unsigned long long>(::GetTickCount64() - begin));
            ::OutputDebugStringA(line);
        }
    }
    MarkTabs();
}

bool SettingsWindow::PrepareNextPage()
{
    for (int index = 0; index < kPageCount; ++index) {
        if (!m_pages[index] || m_created[index] || m_prepared[index])
            continue;
        m_prepared[index] = true;
        if (m_makeControls)
            m_makeControls(m_pages[index]->Controls());
        return true;
    }
    return false;
}

void SettingsWindow::ShowControls(int index, bool show)
{
    if (!m_pages[index])
        return;
    for (int id : m_pages[index]->Controls())
        if (HWND control = ::GetDlgItem(m_window, id))
            ::ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

void SettingsWindow::MarkTabs()
{
    for (int index = 0; index < kPageCount; ++index) {
        HWND tab = ::GetDlgItem(m_window, kTabs[index]);
        if (!tab)
            continue;
        ::SendMessageA(tab, BM_SETCHECK, index == m_current ? BST_CHECKED : BST_UNCHECKED, 0);
        // The chosen tab stays down, even disabled; the others show up, or their disabled look.
        if (auto* button = dynamic_cast<EQorButton*>(CWnd::FromHandlePermanent(tab)))
            button->SetState(index == m_current ? 1 : (::IsWindowEnabled(tab) ? 0 : 3));
    }
}

void SettingsWindow::EnableTabs(bool enable)
{
    for (int tab : kTabs)
        if (HWND control = ::GetDlgItem(m_window, tab))
            ::EnableWindow(control, enable);
    MarkTabs();
}

bool SettingsWindow::ApplyAll()
{
    for (int index = 0; index < kPageCount; ++index) {
        if (!m_pages[index] || !m_created[index])
            continue;
        if (!m_pages[index]->Apply()) {
            ShowPage(index);
            return false;
        }
    }
    EnableApply(false);
    return true;
}

void SettingsWindow::EnableApply(bool enable)
{
    if (HWND apply = ::GetDlgItem(m_window, IDC_APPLY))
        ::EnableWindow(apply, enable && !m_locked);
}

void SettingsWindow::Lock(bool locked)
{
    m_locked = locked;
    for (int index = 0; index < kPageCount; ++index)
        if (m_pages[index] && m_created[index])
            m_pages[index]->Lock(locked);
    if (locked)
        EnableApply(false);
    if (!locked)
        MarkTabs();
}

void SettingsWindow::DeviceChanged()
{
    for (int index = 0; index < kPageCount; ++index)
        if (m_pages[index] && m_created[index])
            m_pages[index]->DeviceChanged();
}

bool SettingsWindow::OnCommand(int id, int code)
{
    for (int index = 0; index < kPageCount; ++index) {
        if (id == kTabs[index]) {
            if (code == BN_CLICKED && !m_locked)
                ShowPage(index);
            return true;
        }
    }
    if (id == IDC_APPLY) {
        if (code == BN_CLICKED && !m_locked)
            ApplyAll();
        return true;
    }
    SettingsPage* page = OwnerOf(id);
    return page && page->OnCommand(id, code);
}

bool SettingsWindow::OnScroll(HWND bar, UINT code)
{
    SettingsPage* page = bar ? OwnerOf(::GetDlgCtrlID(bar)) : nullptr;
    return page && page->OnScroll(bar, code);
}

bool SettingsWindow::OnNotify(NMHDR* header, LRESULT* result)
{
    SettingsPage* page = header ? OwnerOf(static_cast<int>(header->idFrom)) : nullptr;
    return page && page->OnNotify(header, result);
}

SettingsPage* SettingsWindow::OwnerOf(int id) const
{
    for (int index = 0; index < kPageCount; ++index) {
        if (!m_pages[index] || !m_created[index])
            continue;
        for (int control : m_pages[index]->Controls())
            if (control == id)
                return m_pages[index].get();
    }
    return nullptr;
}

}  // namespace pages
