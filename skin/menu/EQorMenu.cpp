// The skinned menu: its entries, the layout of its radio buttons and separators from the
// skin, where it opens and how its face is painted.
#include "EQorMenu.h"

#include <algorithm>

#include "MenuLayout.h"
#include "SkeldaDialogIds.h"
#include "SkinFileModel.h"
#include "framework/WinApp.h"

namespace layout = skelda::menu;
namespace skinfile = skelda::skinfile;

namespace {

HINSTANCE ThisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

// The work area of the monitor holding `point`; `onScreen` tells whether any monitor holds it.
RECT WorkAreaAt(POINT point, bool* onWorkArea)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONULL);
    if (onWorkArea)
        *onWorkArea = false;
    if (monitor && GetMonitorInfoA(monitor, &info)) {
        if (onWorkArea)
            *onWorkArea = PtInRect(&info.rcWork, point) != FALSE;
        return info.rcWork;
    }
    if (GetMonitorInfoA(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info))
        return info.rcWork;
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

COLORREF Scaled(COLORREF colour, int percent)
{
    const auto part = [percent](int value) { return std::min(255, value * percent / 100 + (percent > 100 ? 24 : 0)); };
    return RGB(part(GetRValue(colour)), part(GetGValue(colour)), part(GetBValue(colour)));
}

}  // namespace

EQorMenu::EQorMenu(CWnd* parent) : EQorStretchDlg(IDD_QOR_MENU, parent)
{
    m_dialogType = 2;
    m_sharedEntryMode = 2;
    SetResourceModule(ThisModule());
}

EQorMenu::~EQorMenu() = default;

bool EQorMenu::AddEntry(const std::string& text, int commandId, int flag)
{
    if (static_cast<int>(m_entries.size()) >= kMaxEntries)
        return false;
    _QorMenuEntry entry;
    entry.text = text;
    entry.commandId = commandId;
    entry.flag = flag;
    m_entries.push_back(entry);
    return true;
}

bool EQorMenu::AddPopupMenu(const std::string& text, EQorMenu* subMenu, int commandId, int flag)
{
    if (!subMenu || subMenu == this || !AddEntry(text, commandId, flag))
        return false;
    m_entries.back().subMenu = subMenu;
    return true;
}

bool EQorMenu::AddSeparator()
{
    m_separators.push_back(static_cast<int>(m_entries.size()));
    return true;
}

void EQorMenu::SetPlacement(int code)
{
    m_placement = layout::NormalisePlacement(code);
    m_hasPoint = m_hasExclusion = false;
}

void EQorMenu::SetPlacement(int code, POINT point)
{
    SetPlacement(code);
    m_point = point;
    m_hasPoint = true;
}

void EQorMenu::SetPlacement(int code, POINT point, const RECT& exclusion)
{
    SetPlacement(code, point);
    m_exclusion = exclusion;
    m_hasExclusion = true;
}

bool EQorMenu::SetCurrentEntry(int index)
{
    if (index < -1 || index >= static_cast<int>(m_entries.size()))
        return false;
    m_currentEntry = index;
    return true;
}

bool EQorMenu::SetCurrentEntryByID(int id)
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].commandId == id)
            return SetCurrentEntry(static_cast<int>(i));
    return false;
}

EQorButton* EQorMenu::Radio(int index) const
{
    return index >= 0 && index < static_cast<int>(m_radios.size()) ? m_radios[static_cast<size_t>(index)].get()
                                                                   : nullptr;
}

void EQorMenu::DoDataExchange(CDataExchange* pDX)
{
    EQorStretchDlg::DoDataExchange(pDX);
    // Only the radio buttons of the entries are bound; the others stay hidden in the template.
    for (size_t i = 0; i < m_radios.size(); ++i)
        DDX_Control(pDX, layout::EntryControlId(static_cast<int>(i)), *m_radios[i]);
}

BOOL EQorMenu::OnInitDialog()
{
    EQorStretchDlg::OnInitDialog();
    if (!InitializeQorDialog("MenuDlg", kTransparentColour) || !LayOut()) {
        EndDialog(-1);
        return FALSE;
    }
    // Like the system's popup menus the menu leaves its owner enabled: a click there
    // deactivates the menu and so closes it.
    if (m_reenableOwner && !m_editingSample)
        if (HWND owner = ::GetWindow(m_hWnd, GW_OWNER))
            ::EnableWindow(owner, TRUE);
    StartTracking();
    ::SetFocus(m_hWnd);
    return FALSE;
}

bool EQorMenu::LayOut()
{
    IXMLDOMNode* dialog = GetDlgRootNode();
    if (!dialog)
        return false;
    layout::MenuMetrics metrics;
    skinfile::ReadInt(dialog, "LeftOffset", &metrics.left);
    skinfile::ReadInt(dialog, "TopOffset", &metrics.top);
    skinfile::ReadInt(dialog, "RightOffset", &metrics.right);
    skinfile::ReadInt(dialog, "BottomOffset", &metrics.bottom);
    skinfile::ReadInt(dialog, "SpaceBetween", &metrics.spaceBetween);
    m_markSelection = false;
    skinfile::ReadBool(dialog, "MarkSelection", &m_markSelection);
    const StretchValues stretch = GetStretchValues();
    metrics.minWidth = stretch.minWidth;
    metrics.minHeight = stretch.minHeight;

    // The entries' size: the radio size of the shared element, else its Up bitmap's.
    win::ComPtr<IXMLDOMNode> entry;
    if (skinfile::FindButtonById(dialog, kSharedControlEntryId, &entry)) {
        int width = 0, height = 0;
        skinfile::ReadInt(entry.Get(), "TransparentRadioWidth", &width);
        skinfile::ReadInt(entry.Get(), "TransparentRadioHeight", &height);
        metrics.entry = {width, height};
    }
    BITMAP up{};
    if ((metrics.entry.cx <= 0 || metrics.entry.cy <= 0) && Radio(0) && GetObjectA(Radio(0)->StateBitmap(0), sizeof(up), &up))
        metrics.entry = {up.bmWidth, up.bmHeight};
    if (metrics.entry.cx <= 0 || metrics.entry.cy <= 0)
        metrics.entry = {150, 20};

    const layout::MenuLayout placed = layout::LayOutMenu(metrics, static_cast<int>(m_entries.size()), m_separators);
    m_separatorLines = placed.separators;
    m_separatorLeft = metrics.left + 6;
    m_separatorRight = metrics.left + metrics.entry.cx - 6;
    for (size_t i = 0; i < placed.entries.size(); ++i) {
        _QorMenuEntry& item = m_entries[i];
        item.position = placed.entries[i];
        EQorButton* radio = Radio(static_cast<int>(i));
        if (!radio || !radio->GetSafeHwnd())
            continue;
        radio->SetHighlightOnMouseOver(true);
        // The window text keeps the entry's text for accessibility tools; the face shows the caption.
        ::SetWindowTextA(radio->GetSafeHwnd(), item.text.c_str());
        radio->SetCaption(m_markSelection ? "  " + item.text : item.text);
        const RECT& r = item.position;
        ::SetWindowPos(radio->GetSafeHwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        ::EnableWindow(radio->GetSafeHwnd(), (item.flag & (MF_GRAYED | MF_DISABLED)) == 0);
    }
    RestoreMarks();
    if (!ResizeFace(placed.size.cx, placed.size.cy))
        SetWindowPos(nullptr, 0, 0, placed.size.cx, placed.size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Place(placed.size);
    return true;
}

void EQorMenu::StretchSettingsChanged()
{
    LayOut();
}

void EQorMenu::RestoreMarks()
{
    for (size_t i = 0; i < m_radios.size(); ++i)
        if (m_radios[i]->GetSafeHwnd())
            m_radios[i]->SetChecked(m_markSelection && static_cast<int>(i) == m_currentEntry);
}

void EQorMenu::Place(SIZE size)
{
    POINT cursor{};
    GetCursorPos(&cursor);
    bool pointOnWorkArea = false;
    if (m_hasPoint)
        WorkAreaAt(m_point, &pointOnWorkArea);
    layout::PlacementRequest request;
    request.code = m_placement;
    request.anchor = m_hasPoint && pointOnWorkArea ? m_point : cursor;
    request.size = size;
    request.workArea = WorkAreaAt(request.anchor, nullptr);
    request.hasExclusion = m_hasExclusion;
    request.exclusion = m_exclusion;
    const RECT at = layout::PlaceMenu(request);
    SetWindowPos(nullptr, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL EQorMenu::OnEraseBkgnd(HDC hDC)
{
    const BOOL erased = EQorStretchDlg::OnEraseBkgnd(hDC);
    HBITMAP face = FaceBitmap();
    CDC memory;
    if (m_separatorLines.empty() || !face || !memory.CreateCompatibleDC(hDC))
        return erased;
    CSelectObject select(memory, face);
    for (int y : m_separatorLines) {
        // An etched line in shades of the face under it, so it suits any skin.
        const COLORREF under = GetPixel(memory, (m_separatorLeft + m_separatorRight) / 2, y);
        CBrush dark, light;
        dark.CreateSolidBrush(Scaled(under, 55));
        light.CreateSolidBrush(Scaled(under, 130));
        RECT line{m_separatorLeft, y - 1, m_separatorRight, y};
        FillRect(hDC, &line, dark);
        OffsetRect(&line, 0, 1);
        FillRect(hDC, &line, light);
    }
    return erased;
}

INT_PTR EQorMenu::TrackQorMenu()
{
    m_selection = -1;
    m_closing = false;
    m_openSubMenu = nullptr;
    m_hot = -1;
    if (m_entries.empty())
        return kNothingChosen;
    m_radios.clear();
    for (size_t i = 0; i < m_entries.size(); ++i)
        m_radios.push_back(std::make_unique<EQorTransparentRadio>(true));
    // The dialog disables its owner while it runs; the menu gives it back only when it was
    // enabled before (see OnInitDialog).
    CWnd* app = AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr;
    HWND owner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : (app && app != this ? app->GetSafeHwnd() : nullptr);
    owner = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
    m_reenableOwner = owner && ::IsWindowEnabled(owner);
    const INT_PTR result = DoModal();
    m_radios.clear();
    m_openSubMenu = nullptr;
    return result == -1 ? -1 : (m_selection != -1 ? kChosen : kNothingChosen);
}
