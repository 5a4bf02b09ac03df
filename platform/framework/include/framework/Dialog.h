#pragma once
// CDialog: a dialog from a resource template, modal (DoModal, with the framework's own message
// loop so that PreTranslateMessage sees every message first) or modeless (Create).
#include <windows.h>

#include "framework/DataExchange.h"
#include "framework/Wnd.h"

class FRAMEWORK_API CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; returns the EndDialog result, or -1 when the template is
    // missing or the dialog could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless (shown only if the template says WS_VISIBLE), with the
    // given parent as it is (a child template becomes a page inside it), else owned by the
    // application's main window.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    // The same from a template in memory (built at run time, or loaded by the caller), which
    // must stay valid while the dialog is being created. `hModule` owns the template's
    // resources (icons, classes); null means the program.
    BOOL InitModalIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = nullptr,
                           HINSTANCE hModule = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = nullptr,
                        HINSTANCE hModule = nullptr);
    // Ends a modal dialog with `nResult` (DoModal returns it); hides a modeless one.
    void EndDialog(INT_PTR nResult);

    // Data exchange: FALSE moves member values into the controls (and binds controls on
    // the first run), TRUE reads and validates them. FALSE result: validation failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    BOOL IsModal() const { return m_bModal; }
    UINT GetTemplateID() const { return m_nIDTemplate; }
    // The module holding the template; null searches the program, then the modules added
    // with AfxAddResourceModule.
    void SetResourceModule(HINSTANCE hModule) { m_hResourceModule = hModule; }
    void GotoDlgCtrl(HWND control);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT id);
    DWORD GetDefID() const;

    // Keyboard navigation of the dialog (IsDialogMessage) for keyboard messages.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // Runs data exchange (UpdateData(FALSE)); TRUE lets the system set the focus.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    // IDOK: UpdateData(TRUE) and, if valid, EndDialog(IDOK). IDCANCEL: EndDialog(IDCANCEL).
    virtual void OnOK();
    virtual void OnCancel();
    // Commands: reflection and the command table first, then IDOK and IDCANCEL.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    CWnd* m_pParentWnd = nullptr;
    LPCSTR m_lpszTemplateName = nullptr;
    UINT m_nIDTemplate = 0;

private:
    friend struct DialogAccess;
    BOOL CreateFromTemplate(HWND owner, BOOL modal);
    HWND OwnerWindow() const;
    HWND ModelessParent() const;
    void RunModalLoop();

    HINSTANCE m_hResourceModule = nullptr;
    LPCDLGTEMPLATEA m_lpDialogTemplate = nullptr;
    BOOL m_bModal = FALSE;
    BOOL m_bEndModal = FALSE;
    INT_PTR m_nModalResult = -1;
};

// Modules (DLLs) whose dialog templates and window classes the framework also looks in,
// after the program itself, in the order they were added.
FRAMEWORK_API void AfxAddResourceModule(HINSTANCE hModule);
FRAMEWORK_API void AfxRemoveResourceModule(HINSTANCE hModule);
