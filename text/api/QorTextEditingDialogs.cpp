// The text library's editing dialogs that stand on their own: colours by numbers, new
// template names and the naming of a new control.
#include "EChooseNewTemplateNameDlg.h"
#include "EGetNameForResourceDlg.h"
#include "ESetEditTextValuesDlg.h"
#include "ESetRGBByNumbersDlg.h"
#include "QorText_API.h"
#include "QorUtils_API.h"
#include "TextLibraryState.h"
#include "TextSettingsEditing.h"

using namespace lorvane;

bool QorText_API::ShowSetRGBByNumbersDialog(COLORREF* colour)
{
    if (!colour)
        return false;
    ESetRGBByNumbersDlg dialog(*colour);
    if (dialog.DoModal() != IDOK)
        return false;
    *colour = dialog.Colour();
    return true;
}

bool QorText_API::ChooseNewTemplateName(int kind, std::string* name, bool editingMenuTexts)
{
    const auto* templates = State().tables.Templates(kind);
    if (!name || !templates)
        return false;
    std::vector<std::string> existing;
    for (const auto& entry : *templates)
        existing.push_back(entry.first);
    EChooseNewTemplateNameDlg dialog(existing, editingMenuTexts ? editing::NameTexts::kEditingMenu
                                                                : editing::NameTexts::kTextLibrary);
    if (dialog.DoModal() != IDOK)
        return false;
    *name = dialog.Name();
    return true;
}

bool QorUtils_API::GetNameResourceID(std::string* name, int id)
{
    if (!name)
        return false;
    EGetNameForResourceDlg dialog(id, *name);
    if (dialog.DoModal() != IDOK)
        return false;
    *name = dialog.Name();
    return true;
}

bool QorText_API::ShowSetTextValuesDialog(int dialogId, int controlId, bool)
{
    // What is edited follows from the element itself, generic controls included.
    IXMLDOMNode* control = State().tables.Control(dialogId, controlId);
    editing::TextSettingsKind kind{};
    TextSettingsEdit edit;
    if (!TextSettingsKindOf(control, &kind) || !AskTextSettings(control, kind, &edit) || edit.Empty())
        return false;
    return ApplyTextSettings(control, edit);
}

bool QorText_API::InvokeSetControlNonTemplateTextValsDlg(int dialogId, int controlId)
{
    return ShowSetTextValuesDialog(dialogId, controlId, false);
}

bool QorText_API::ShowSetEditTextValuesDialog(int dialogId, int controlId)
{
    QorEditTextSettings settings;
    if (!State().tables.Control(dialogId, controlId))
        return false;
    // The reading stops at the first missing value; what it did not reach keeps its default.
    GetEditCtrlInfo(dialogId, controlId, &settings);
    ESetEditTextValuesDlg dialog(settings);
    if (dialog.DoModal() != IDOK)
        return false;
    const QorEditTextSettings& v = dialog.Values();
    if (v.alignment == settings.alignment && v.centerHorizontally == settings.centerHorizontally &&
        v.centerVertically == settings.centerVertically && v.textColor == settings.textColor &&
        v.disabledTextColor == settings.disabledTextColor && v.backgroundColor == settings.backgroundColor)
        return false;
    return SetEditCtrlInfo(dialogId, controlId, v);
}
