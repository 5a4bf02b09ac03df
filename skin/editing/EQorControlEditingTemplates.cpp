// The design-time editing mode's button graphics template commands: using a template or not,
// choosing another, copying one's bitmaps into the button's own settings and editing a
// template's bitmaps (every button on it shows the change).
#include "EAttributeDlg.h"
#include "EQorButton.h"
#include "EQorDialog.h"
#include "ESelectGraphicsTemplateDlg.h"
#include "EditMenus.h"
#include "GraphicsEngineState.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"

using skelda::EngineState;
namespace editing = skelda::editing;

namespace {

std::vector<std::string> TemplateNames()
{
    std::vector<std::string> names;
    for (const auto& entry : EngineState().buttonTemplates)
        names.push_back(entry.first);
    return names;
}

}  // namespace

bool EQorDialog::RunButtonTemplateCommand(const ControlEntry& entry, IXMLDOMNode* element, int command)
{
    std::string current;
    qorxml::GetAttribute(element, "GraphicsTemplate", &current);
    const bool usingTemplate = !current.empty() && skelda::FindButtonTemplate(current);
    if (command == editing::kToggleGraphicsTemplate && usingTemplate) {
        // Its own bitmap attributes show again.
        entry.common->WriteGraphicsEditChangesToXMLObject();
        if (!qorxml::SetAttribute(element, "GraphicsTemplate", ""))
            return false;
        MarkGraphicsEdited();
        ApplyControlGraphicsEdit(entry);
        return true;
    }
    if (command != editing::kToggleGraphicsTemplate && command != editing::kChooseGraphicsTemplate &&
        command != editing::kCopyGraphicsTemplate && command != editing::kEditButtonGraphicsTemplates)
        return false;
    editing::ESelectGraphicsTemplateDlg chooser(TemplateNames(), current, this);
    if (chooser.DoModal() != IDOK)
        return false;
    const std::string& chosen = chooser.Chosen();
    IXMLDOMNode* templateElement = skelda::FindButtonTemplate(chosen);
    if (!templateElement)
        return false;
    if (command == editing::kEditButtonGraphicsTemplates)
        return EditButtonGraphicsTemplate(chosen, templateElement);
    entry.common->WriteGraphicsEditChangesToXMLObject();
    bool written = true;
    if (command == editing::kCopyGraphicsTemplate) {
        // The copy becomes the button's own bitmaps, shown from now on instead of a template's.
        for (int slot = 0; slot < 16; ++slot) {
            const std::string name = editing::ButtonBitmapAttribute(slot % 4, slot / 4);
            std::string value;
            qorxml::GetAttribute(templateElement, name.c_str(), &value);
            written = qorxml::SetAttribute(element, name.c_str(), value) && written;
        }
        written = qorxml::SetAttribute(element, "GraphicsTemplate", "") && written;
    } else {
        written = qorxml::SetAttribute(element, "GraphicsTemplate", chosen);
    }
    MarkGraphicsEdited();
    ApplyControlGraphicsEdit(entry);
    return written;
}

bool EQorDialog::EditButtonGraphicsTemplate(const std::string& name, IXMLDOMNode* templateElement)
{
    const editing::AttributeForm& form = editing::ButtonBitmapsForm();
    editing::AttributeValues values;
    for (const editing::FormField& field : form.fields)
        qorxml::GetAttribute(templateElement, field.attribute, &values[field.attribute]);
    editing::EAttributeDlg dialog(form, values, this);
    if (dialog.DoModal() != IDOK || dialog.Changed().empty())
        return false;
    bool written = true;
    for (const std::string& name : dialog.Changed())
        written = qorxml::SetAttribute(templateElement, name.c_str(), dialog.Values().at(name)) && written;
    MarkGraphicsEdited();
    // The buttons on this template in every open dialog take its new bitmaps.
    for (int i = 0; i < GetOpenDialogCount(); ++i) {
        EQorDialog* dialog = GetOpenDialog(i);
        if (!dialog || !dialog->m_dialogElement)
            continue;
        for (const ControlEntry& entry : dialog->m_controls) {
            win::ComPtr<IXMLDOMNode> element;
            std::string used;
            const int elementId = dialog->m_sharedEntryMode == 2 ? kSharedControlEntryId : entry.id;
            if (entry.type != eQorButton || !entry.common ||
                !skelda::skinfile::FindButtonById(dialog->m_dialogElement.Get(), elementId, &element) ||
                !qorxml::GetAttribute(element.Get(), "GraphicsTemplate", &used) || used != name)
                continue;
            entry.common->WriteGraphicsEditChangesToXMLObject();
            dialog->ApplyControlGraphicsEdit(entry);
        }
    }
    return written;
}
