// Text templates in the editing mode: choosing a control's template, picking one to work on,
// editing, copying and deleting templates.
#include "EChooseTextTemplateDlg.h"
#include "QorText_API.h"
#include "QorXML_API.h"
#include "QorXmlDom.h"
#include "TemplateChoice.h"
#include "TextLibraryState.h"
#include "TextSettingsEditing.h"

using namespace lorvane;

namespace {

constexpr const char* kSaveOrCreate =
    "Do you wish to save to the current template (Yes), or create a new Template (No)?";
constexpr const char* kSaveOrCreateCaption = "Save Current or Create New";
constexpr const char* kCopyToTemplateCaption = "Copy Current Button Text Values to Text Template";

bool IsTextTemplateKind(int kind)
{
    return kind == QorButtonTemplateKind || kind == QorStaticTemplateKind;
}

// The control elements that refer to templates of `kind`.
const char* UserElementName(int kind)
{
    return kControlElementNames[kind == QorButtonTemplateKind ? QorTextButton : QorTextTransparentStatic];
}

std::vector<std::string> TemplateNames(int kind)
{
    std::vector<std::string> names;
    if (const auto* templates = State().tables.Templates(kind))
        for (const auto& entry : *templates)
            names.push_back(entry.first);
    return names;
}

std::string UseTemplateOf(IXMLDOMNode* control)
{
    std::string name;
    QorXML_API::GetXmlStringAttribute(control, "UseTemplate", &name);
    return name;
}

// Templates of `kind` that controls other than `except` use.
std::vector<std::string> TemplatesUsedBy(int kind, IXMLDOMNode* except)
{
    std::vector<std::string> used;
    for (const auto& entry : State().tables.controls) {
        std::string element;
        if (entry.second.Get() == except || !qorxml::NodeName(entry.second.Get(), &element) ||
            element != UserElementName(kind))
            continue;
        if (std::string name = UseTemplateOf(entry.second.Get()); !name.empty())
            used.push_back(std::move(name));
    }
    return used;
}

bool ApplyEdits(QorText_API& text, int kind, const std::vector<editing::TemplateEdit>& edits)
{
    for (const editing::TemplateEdit& edit : edits) {
        bool done = false;
        switch (edit.action) {
        case editing::TemplateEdit::kAdd:
            done = kind == QorButtonTemplateKind ? text.AddButtonTemplateNode(edit.name)
                                                 : text.AddStaticTemplateNode(edit.name);
            break;
        case editing::TemplateEdit::kCopy: done = text.CopyTextTemplate(kind, edit.from, edit.name); break;
        case editing::TemplateEdit::kDelete: done = text.DeleteTextTemplate(kind, edit.name); break;
        }
        if (!done)
            return false;
    }
    return true;
}

bool ShowChooser(QorText_API& text, int kind, editing::TemplateChoice& choice, bool assigning)
{
    EChooseTextTemplateDlg dialog(choice, assigning);
    if (dialog.DoModal() != IDOK)
        return false;
    if (!ApplyEdits(text, kind, choice.Edits())) {
        UserInterface().ShowMessage("Unable to add template.", "Choose Template", MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

editing::TextSettingsKind TemplateSettingsKind(int kind)
{
    return kind == QorButtonTemplateKind ? editing::TextSettingsKind::kButtonTemplate
                                         : editing::TextSettingsKind::kStaticTemplate;
}

// The text values dialog on a template's values; true with what to write on OK.
bool AskTemplateValues(int kind, const std::string& name, TextSettingsEdit* edit)
{
    return AskTextSettings(State().tables.Template(kind, name), TemplateSettingsKind(kind), edit);
}

bool WriteTemplateValues(int kind, const std::string& name, const TextSettingsEdit& edit)
{
    return ApplyTextSettings(State().tables.Template(kind, name), edit);
}

}  // namespace

bool QorText_API::SetControlTextTemplate(int dialogId, int controlId, const std::string& templateName)
{
    IXMLDOMNode* control = State().tables.Control(dialogId, controlId);
    if (!control || !QorXML_API::SetXmlStringAttribute(control, "UseTemplate", templateName))
        return false;
    State().changed = true;
    return true;
}

bool QorText_API::DeleteTextTemplate(int kind, const std::string& templateName)
{
    auto* templates = State().tables.Templates(kind);
    if (!IsTextTemplateKind(kind) || !templates)
        return false;
    for (auto at = templates->begin(); at != templates->end(); ++at) {
        if (at->first != templateName)
            continue;
        win::ComPtr<IXMLDOMNode> parent, removed;
        if (FAILED(at->second->get_parentNode(parent.Put())) || !parent ||
            FAILED(parent->removeChild(at->second.Get(), removed.Put())))
            return false;
        templates->erase(at);
        State().changed = true;
        return true;
    }
    return false;
}

bool QorText_API::CopyTextTemplate(int kind, const std::string& from, const std::string& to)
{
    auto* templates = State().tables.Templates(kind);
    IXMLDOMNode* source = State().tables.Template(kind, from);
    win::ComPtr<IXMLDOMNode> parent, clone, added;
    if (!IsTextTemplateKind(kind) || !source || to.empty() || State().tables.Template(kind, to) ||
        FAILED(source->get_parentNode(parent.Put())) || !parent ||
        FAILED(source->cloneNode(VARIANT_TRUE, clone.Put())) ||
        !QorXML_API::SetXmlStringAttribute(clone.Get(), "TemplateName", to) ||
        FAILED(parent->appendChild(clone.Get(), added.Put())))
        return false;
    templates->emplace_back(to, added);
    State().changed = true;
    return true;
}

bool QorText_API::ShowSelectControlTemplateDlg(int dialogId, int controlId, int kind)
{
    IXMLDOMNode* control = State().tables.Control(dialogId, controlId);
    if (!control || !IsTextTemplateKind(kind))
        return false;
    const std::string original = UseTemplateOf(control);
    editing::TemplateChoice choice(TemplateNames(kind), original, TemplatesUsedBy(kind, control));
    if (!ShowChooser(*this, kind, choice, true))
        return false;
    if (choice.Current() != original && !SetControlTextTemplate(dialogId, controlId, choice.Current()))
        return false;
    return choice.Changed(original);
}

bool QorText_API::ShowPickTextTemplateDlg(int kind, std::string* name)
{
    if (!name || !IsTextTemplateKind(kind))
        return false;
    editing::TemplateChoice choice(TemplateNames(kind), State().tables.Template(kind, *name) ? *name : "",
                                   TemplatesUsedBy(kind, nullptr));
    if (!ShowChooser(*this, kind, choice, false))
        return false;
    *name = choice.Current();
    return true;
}

bool QorText_API::ShowCopyButtonSettingsToTemplateValsDlg(int dialogId, int controlId)
{
    std::string name;
    if (!ShowPickTextTemplateDlg(QorButtonTemplateKind, &name) || name.empty())
        return false;
    if (CopyButtonButtonSettingsToTemplateVals(dialogId, controlId, name))
        return true;
    UserInterface().ShowMessage("Unable to Set Template Values", kCopyToTemplateCaption, MB_OK | MB_ICONERROR);
    return false;
}

bool QorText_API::ShowEditTemplateDialog(int kind, const std::string& templateName)
{
    TextSettingsEdit values;
    if (!IsTextTemplateKind(kind) || !State().tables.Template(kind, templateName) ||
        !AskTemplateValues(kind, templateName, &values) || values.Empty())
        return false;
    if (WriteTemplateValues(kind, templateName, values))
        return true;
    UserInterface().ShowMessage("Unable to Set Template Values", kSaveOrCreateCaption, MB_OK | MB_ICONERROR);
    return false;
}

bool QorText_API::ShowEditControlTemplateDialog(int dialogId, int controlId, int kind)
{
    IXMLDOMNode* control = State().tables.Control(dialogId, controlId);
    const std::string current = control ? UseTemplateOf(control) : "";
    TextSettingsEdit values;
    if (!IsTextTemplateKind(kind) || !State().tables.Template(kind, current) ||
        !AskTemplateValues(kind, current, &values) || values.Empty())
        return false;
    const int answer = UserInterface().ShowMessage(kSaveOrCreate, kSaveOrCreateCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES) {
        if (WriteTemplateValues(kind, current, values))
            return true;
        UserInterface().ShowMessage("Unable to Set Template Values", kSaveOrCreateCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    std::string name;
    if (answer != IDNO || !ChooseNewTemplateName(kind, &name))
        return false;
    // The new template starts as a copy, so that its font and other states come along.
    if (!CopyTextTemplate(kind, current, name) || !WriteTemplateValues(kind, name, values) ||
        !SetControlTextTemplate(dialogId, controlId, name)) {
        UserInterface().ShowMessage("Unknown Error", kSaveOrCreateCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}
