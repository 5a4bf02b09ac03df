// The template choice dialog over a TemplateChoice.
#include "EChooseTextTemplateDlg.h"

#include "EChooseNewTemplateNameDlg.h"
#include "QorTextUserInterface.h"
#include "TextDialogIds.h"
#include "TextDialogSupport.h"
#include "TextLibraryState.h"

namespace lorvane {

EChooseTextTemplateDlg::EChooseTextTemplateDlg(editing::TemplateChoice& choice, bool assigning)
    : CDialog(IDD_CHOOSE_TEXT_TEMPLATE), m_choice(choice), m_assigning(assigning)
{
    SetResourceModule(TextDialogModule());
    MapCommand(IDC_TEMPLATE_LIST, LBN_SELCHANGE, [this] {
        m_choice.Choose(Selected());
        ::SetDlgItemTextA(m_hWnd, IDC_TEMPLATE_CURRENT, m_choice.CurrentText().c_str());
    });
    MapCommand(IDC_TEMPLATE_DELETE, BN_CLICKED, [this] { OnDelete(); });
    MapCommand(IDC_TEMPLATE_ADD, BN_CLICKED, [this] { OnAdd(); });
    MapCommand(IDC_TEMPLATE_COPY, BN_CLICKED, [this] { OnCopy(); });
    MapCommand(IDC_TEMPLATE_STOP, BN_CLICKED, [this] {
        m_choice.StopUsing();
        Refill();
    });
}

BOOL EChooseTextTemplateDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_TEMPLATE_STOP), m_assigning);
    Refill();
    return result;
}

void EChooseTextTemplateDlg::Refill()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_TEMPLATE_LIST);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : m_choice.Names())
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    const LRESULT at = m_choice.Current().empty()
                           ? LB_ERR
                           : ::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(m_choice.Current().c_str()));
    ::SendMessageA(list, LB_SETCURSEL, at == LB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(at), 0);
    ::SetDlgItemTextA(m_hWnd, IDC_TEMPLATE_CURRENT, m_choice.CurrentText().c_str());
}

std::string EChooseTextTemplateDlg::Selected() const
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_TEMPLATE_LIST);
    const LRESULT at = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
    const LRESULT length = at == LB_ERR ? LB_ERR : ::SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(at), 0);
    if (length == LB_ERR)
        return {};
    std::string name(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(name.data()));
    name.resize(static_cast<size_t>(length));
    return name;
}

bool EChooseTextTemplateDlg::AskNewName(std::string* name)
{
    EChooseNewTemplateNameDlg ask(m_choice.Names());
    if (ask.DoModal() != IDOK)
        return false;
    *name = ask.Name();
    return true;
}

void EChooseTextTemplateDlg::Report(const editing::NameCheck& check)
{
    if (check.accepted)
        Refill();
    else
        ShowRefusal(check.message, check.caption);
}

void EChooseTextTemplateDlg::OnDelete()
{
    Report(m_choice.Delete(Selected()));
}

void EChooseTextTemplateDlg::OnAdd()
{
    std::string name;
    if (AskNewName(&name))
        Report(m_choice.Add(name));
}

void EChooseTextTemplateDlg::OnCopy()
{
    const std::string from = Selected();
    std::string name;
    if (from.empty())
        Report(m_choice.CopyTo(from, name));  // says what to do first
    else if (AskNewName(&name))
        Report(m_choice.CopyTo(from, name));
}

void EChooseTextTemplateDlg::OnOK()
{
    if (!m_assigning && m_choice.Current().empty()) {
        UserInterface().ShowMessage("Choose a template in the list first.", "Choose Template",
                                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}

}  // namespace lorvane
