// The text template commands of the button and transparent static menus: choosing, editing,
// creating and copying templates. A template is shared, so every control of every open
// dialog takes its text again afterwards.
#include "EQorDialog.h"
#include "EditMenus.h"
#include "GraphicsEngineState.h"

using skelda::EngineState;
namespace editing = skelda::editing;

namespace {

constexpr const char* kCreateCaption = "Create a new Button Text Template";

void Report(const char* text, const char* caption)
{
    skelda::EngineUserInterface().ShowMessage(text, caption, MB_OK | MB_ICONERROR);
}

// "Choose Template" to pick the template to work on, starting at `*name`; false when the
// designer cancelled.
bool PickTemplate(int kind, std::string* name)
{
    return EngineState().text.ShowPickTextTemplateDlg(kind, name) && !name->empty();
}

}  // namespace

void EQorDialog::ReloadTextOfOpenDialogs()
{
    for (int i = 0; i < GetOpenDialogCount(); ++i) {
        EQorDialog* dialog = GetOpenDialog(i);
        for (const ControlEntry& entry : dialog->m_controls)
            if (entry.type == eQorButton || entry.type == eQorTransparentStatic)
                dialog->ReloadControlText(entry);
    }
}

bool EQorDialog::RunTextTemplateCommand(const ControlEntry& entry, int command)
{
    QorText_API& text = EngineState().text;
    const int dialogId = GetDlgResID();
    const int kind = entry.type == eQorButton ? QorButtonTemplateKind : QorStaticTemplateKind;
    bool usesTemplate = false;
    std::string current;
    if (!text.IsControlUsingTemplate(dialogId, entry.id, &usesTemplate, &current))
        return false;
    const bool templateExists = usesTemplate && (kind == QorButtonTemplateKind ? text.ButtonTemplateExists(current)
                                                                               : text.TransStaticTemplateExists(current));
    bool changed = false;
    std::string name = current;
    switch (command) {
    case editing::kChooseTextTemplate:
        changed = text.ShowSelectControlTemplateDlg(dialogId, entry.id, kind);
        break;
    case editing::kEditButtonTextTemplates:
        // The control's own template, or, when it uses none, one the designer picks.
        changed = templateExists ? text.ShowEditControlTemplateDialog(dialogId, entry.id, kind)
                                 : PickTemplate(kind, &name) && text.ShowEditTemplateDialog(kind, name);
        break;
    case editing::kAlterNonTemplateText:
        changed = text.InvokeSetControlNonTemplateTextValsDlg(dialogId, entry.id);
        break;
    case editing::kCopyTextTemplate:
        changed = PickTemplate(kind, &name) && text.CopyButtonTemplateValsToButtonSettingsForApp(name, dialogId, entry.id);
        break;
    case editing::kCreateTextTemplate:
        name.clear();
        if (!text.ChooseNewTemplateName(kind, &name, true))
            break;
        if (!text.AddButtonTemplateNode(name)) {
            Report("Unable to add template.", kCreateCaption);
            break;
        }
        changed = true;
        text.ShowEditTemplateDialog(kind, name);  // Cancel keeps the default values
        break;
    case editing::kCopyTextToTemplate:
        changed = text.ShowCopyButtonSettingsToTemplateValsDlg(dialogId, entry.id);
        break;
    default:
        return false;
    }
    // Templates added or deleted in "Choose Template" count even when its result was dropped.
    if (changed || text.TextChanged())
        EngineState().textChanged = true;
    if (changed)
        ReloadTextOfOpenDialogs();
    return changed;
}
