// CDialog: creation from templates, the modal loop and the default command handling.
#include "framework/Dialog.h"

#include "WndInternal.h"
#include "framework/WinApp.h"

using namespace framework::detail;

struct DialogAccess {
    // Dialog procedure of every framework dialog: only WM_INITDIALOG is answered here; all
    // other messages reach the object through subclassing before the dialog manager.
    static INT_PTR CALLBACK DlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
    {
        if (message != WM_INITDIALOG)
            return FALSE;
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        if (!dialog || dialog->m_hWnd != hWnd)
            return FALSE;
        try {
            return dialog->OnInitDialog();
        } catch (...) {
            OutputDebugStringA("Framework:  exception escaped OnInitDialog\r\n");
            return FALSE;
        }
    }
};

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd), m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDTemplate(nIDTemplate)
{
}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd), m_lpszTemplateName(lpszTemplateName)
{
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDTemplate = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
}

CDialog::~CDialog() = default;

HWND CDialog::OwnerWindow() const
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd && app->m_pMainWnd != this)
            owner = app->m_pMainWnd->m_hWnd;
    }
    // Dialogs are owned by top-level windows, never by a child.
    return owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
}

HWND CDialog::ModelessParent() const
{
    // A modeless dialog may be a child (a page inside another window): its parent is used
    // as given.
    if (m_pParentWnd && m_pParentWnd->m_hWnd)
        return m_pParentWnd->m_hWnd;
    return OwnerWindow();
}

BOOL CDialog::CreateFromTemplate(HWND owner, BOOL modal)
{
    if (m_hWnd)
        return FALSE;
    HINSTANCE module = m_hResourceModule ? m_hResourceModule : ::GetModuleHandleA(nullptr);
    LPCDLGTEMPLATEA dialogTemplate = m_lpDialogTemplate;
    if (!dialogTemplate)
        dialogTemplate = FindDialogTemplate(m_lpszTemplateName, m_hResourceModule, &module);
    if (!dialogTemplate) {
        OutputDebugStringA("Framework:  dialog template not found\r\n");
        return FALSE;
    }
    EnsureCommonControls();
    m_bModal = modal;
    m_bEndModal = FALSE;
    m_nModalResult = -1;
    HWND hWnd = nullptr;
    {
        CreationHook hook(this);
        hWnd = ::CreateDialogIndirectParamA(module, dialogTemplate, owner, &DialogAccess::DlgProc,
                                            reinterpret_cast<LPARAM>(this));
    }
    if (!hWnd || m_hWnd != hWnd) {
        if (hWnd)
            ::DestroyWindow(hWnd);
        m_bModal = FALSE;
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    m_lpDialogTemplate = nullptr;
    m_nIDTemplate = IS_INTRESOURCE(lpszTemplateName)
                        ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName)) : 0;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return CreateFromTemplate(ModelessParent(), FALSE);
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hModule)
{
    if (!lpDialogTemplate)
        return FALSE;
    m_lpDialogTemplate = lpDialogTemplate;
    m_hResourceModule = hModule;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return TRUE;
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hModule)
{
    if (!InitModalIndirect(lpDialogTemplate, pParentWnd, hModule))
        return FALSE;
    return CreateFromTemplate(ModelessParent(), FALSE);
}

INT_PTR CDialog::DoModal()
{
    const HWND owner = OwnerWindow();
    BOOL reenableOwner = FALSE;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        reenableOwner = TRUE;
    }
    INT_PTR result = -1;
    if (CreateFromTemplate(owner, TRUE)) {
        if (!m_bEndModal) {
            if (!IsWindowVisible())
                ShowWindow(SW_SHOWNORMAL);
            RunModalLoop();
        }
        result = m_nModalResult;
    }
    // The owner is enabled before the dialog goes, so the system activates it, not some
    // other program's window.
    if (reenableOwner)
        ::EnableWindow(owner, TRUE);
    if (m_hWnd) {
        const bool wasActive = ::GetActiveWindow() == m_hWnd;
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (wasActive && owner)
            ::SetActiveWindow(owner);
        DestroyWindow();
    }
    m_bModal = FALSE;
    return result;
}

void CDialog::RunModalLoop()
{
    MSG msg;
    while (!m_bEndModal && m_hWnd) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1)
            break;
        if (!got) {
            // WM_QUIT ends the dialog; the quit is passed on to the loop that runs us.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!CWnd::WalkPreTranslateTree(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

void CDialog::EndDialog(INT_PTR nResult)
{
    if (m_bModal) {
        m_nModalResult = nResult;
        m_bEndModal = TRUE;
        if (m_hWnd)
            ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the modal loop
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, nResult);
    }
}

void CDialog::PostNcDestroy()
{
    // A modal dialog destroyed from outside its loop: wake the loop so DoModal returns.
    if (m_bModal && !m_bEndModal)
        ::PostThreadMessageA(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE)) {
        OutputDebugStringA("Framework:  data exchange failed in OnInitDialog\r\n");
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    const UINT code = framework::CommandCodeOf(wParam, lParam);
    if (code != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: OnOK(); return TRUE;
    case IDCANCEL: OnCancel(); return TRUE;
    default: return FALSE;
    }
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (!m_hWnd || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

void CDialog::GotoDlgCtrl(HWND control)
{
    if (m_hWnd && control)
        ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, FALSE); }
void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, FALSE); }
void CDialog::SetDefID(UINT id) { ::SendMessageA(m_hWnd, DM_SETDEFID, id, 0); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }
