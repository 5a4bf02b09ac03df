// CWnd: binding to windows, creation, routing, and the thin window-function wrappers.
#include "framework/Wnd.h"

#include <utility>
#include <vector>

#include "WndInternal.h"

using namespace framework::detail;

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (!m_hWnd)
        return;
    // A window outliving its object would route messages to freed memory. The object lets go
    // first, so no message reaches it half-destroyed; a subclassed window goes with its object,
    // an attached one only leaves the map.
    const HWND hWnd = m_hWnd;
    const bool subclassed = m_pfnSuper != nullptr;
    WndAccess::Unhook(this);
    if (subclassed)
        ::DestroyWindow(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return MapFind(hWnd);
}

size_t CWnd::GetBoundWindowCount()
{
    return MapSize();
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd || !::IsWindow(hWnd) || MapFind(hWnd))
        return FALSE;
    m_hWnd = hWnd;
    MapInsert(hWnd, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    if (m_pfnSuper)
        return UnsubclassWindow();
    const HWND hWnd = m_hWnd;
    if (hWnd)
        MapRemove(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || !::IsWindow(hWnd))
        return FALSE;
    DWORD process = 0;
    ::GetWindowThreadProcessId(hWnd, &process);
    if (process != ::GetCurrentProcessId())
        return FALSE;
    return WndAccess::Hook(this, hWnd) ? TRUE : FALSE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* pParent)
{
    if (!pParent || !pParent->m_hWnd)
        return FALSE;
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow()
{
    const HWND hWnd = m_hWnd;
    if (!hWnd || !m_pfnSuper)
        return nullptr;
    // Another procedure installed over ours still calls ours: unhooking would cut its chain.
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) != &WndAccess::WndProc)
        return nullptr;
    WndAccess::Unhook(this);
    return hWnd;
}

namespace {

// The system window of a framework window, its class looked up in the module that registered it.
HWND CreateNativeWindow(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                        HWND parent, UINT id, LPVOID param)
{
    EnsureCommonControls();
    HINSTANCE module = FindClassModule(className);
    if (!module)
        module = ::GetModuleHandleA(nullptr);
    return ::CreateWindowExA(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, parent,
                             (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr, module,
                             param);
}

}  // namespace

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                    const RECT& rect, HWND parent, UINT id, LPVOID param)
{
    if (m_hWnd)
        return FALSE;
    HWND hWnd = nullptr;
    {
        CreationHook hook(this);
        hWnd = CreateNativeWindow(exStyle, className, windowName, style, rect, parent, id, param);
    }
    if (!hWnd) {
        // Creation failed after binding (WM_NCCREATE or WM_CREATE refused): the window is
        // gone and WM_NCDESTROY has unbound it; otherwise nothing was bound.
        return FALSE;
    }
    // A window created by a hook-less path (the hook could not be installed) is bound now.
    if (m_hWnd != hWnd && !SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::CreateThenSubclass(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                              const RECT& rect, HWND parent, UINT id)
{
    if (m_hWnd)
        return FALSE;
    const HWND hWnd = CreateNativeWindow(exStyle, className, windowName, style, rect, parent, id, nullptr);
    if (!hWnd)
        return FALSE;
    if (!SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                  CWnd* pParent, UINT id)
{
    return CreateEx(0, className, windowName, style, rect, pParent ? pParent->m_hWnd : nullptr, id);
}

BOOL CWnd::CreateInPlaceOfDlgItem(HWND item, LPCSTR className)
{
    if (!item || !::IsWindow(item))
        return FALSE;
    char text[261] = {};
    ::GetWindowTextA(item, text, sizeof(text));
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(item, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrA(item, GWL_EXSTYLE));
    const HWND parent = ::GetParent(item);
    const UINT id = static_cast<UINT>(::GetDlgCtrlID(item));
    RECT rect{};
    ::GetWindowRect(item, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&rect), 2);
    // Keep the item's place in the tab order: the new window goes where the old one was.
    const HWND previous = ::GetWindow(item, GW_HWNDPREV);
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageA(item, WM_GETFONT, 0, 0));

    if (m_hWnd == item && !Detach())
        return FALSE;
    if (m_hWnd)
        return FALSE;
    ::DestroyWindow(item);
    if (!CreateEx(exStyle, className, text, style, rect, parent, id))
        return FALSE;
    ::SetWindowPos(m_hWnd, previous ? previous : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (font)
        ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    const HWND hWnd = m_hWnd;
    const BOOL ok = ::DestroyWindow(hWnd);
    // An attached (not subclassed) window never tells us about its end.
    if (ok && m_hWnd == hWnd && !m_pfnSuper)
        Detach();
    return ok;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd; ) {
        if (CWnd* wnd = MapFind(hWnd))
            if (wnd->PreTranslateMessage(pMsg))
                return TRUE;
        if (!(::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD))
            break;
        hWnd = ::GetParent(hWnd);
    }
    return FALSE;
}

LRESULT CWnd::Default()
{
    const CurrentMessage& current = Current();
    if (!m_hWnd || current.hWnd != m_hWnd)
        return 0;
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}

void CWnd::MapCommand(UINT id, std::function<void()> handler)
{
    MapCommand(id, framework::kCommandCode, std::move(handler));
}

void CWnd::MapCommand(UINT id, UINT code, std::function<void()> handler)
{
    m_messageMap.AddCommand(id, id, code, [h = std::move(handler)](UINT, UINT) { h(); });
}

void CWnd::MapCommandRange(UINT first, UINT last, UINT code, std::function<void(UINT)> handler)
{
    m_messageMap.AddCommand(first, last, code, [h = std::move(handler)](UINT id, UINT) { h(id); });
}

void CWnd::MapNotify(UINT id, UINT code, std::function<void(NMHDR*, LRESULT*)> handler)
{
    m_messageMap.AddNotify(id, id, code, std::move(handler));
}
