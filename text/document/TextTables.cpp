// One walk over the text document fills the lookup tables.
#include "TextTables.h"

#include "QorTextTypes.h"
#include "QorXML_API.h"
#include "QorXmlDom.h"
#include "QorXmlText.h"

namespace lorvane {

const char* const kControlElementNames[6] = {
    "QorBtnControl",    "QorEditControl",          "QorTransparentStaticControl",
    "QorSliderControl", "QorGenericControlSimple", "QorGenericControlWithTextInfo",
};

bool IsControlElementName(const std::string& name)
{
    for (const char* known : kControlElementNames)
        if (name == known)
            return true;
    return false;
}

namespace {

void CollectTemplates(IXMLDOMNode* group, const char* itemName, std::vector<NamedElement>* list)
{
    qorxml::ForEachChildElement(group, [&](IXMLDOMNode* item) {
        std::string tag, name;
        if (qorxml::NodeName(item, &tag) && tag == itemName && QorXML_API::GetXmlStringAttribute(item, "TemplateName", &name))
            list->emplace_back(name, win::ComPtr<IXMLDOMNode>::Share(item));
        return true;
    });
}

void VisitTemplates(IXMLDOMNode* templates, TextTables* tables)
{
    qorxml::ForEachChildElement(templates, [&](IXMLDOMNode* group) {
        std::string tag;
        qorxml::NodeName(group, &tag);
        if (tag == "QorButtonTemplates")
            CollectTemplates(group, "QorButtonTemplate", &tables->buttonTemplates);
        else if (tag == "TransparentStaticTemplates")
            CollectTemplates(group, "TransparentStaticTemplate", &tables->staticTemplates);
        else if (tag == "QorEditTemplates")
            CollectTemplates(group, "QorEditTemplate", &tables->editTemplates);
        return true;
    });
}

void VisitMessages(IXMLDOMNode* messages, TextTables* tables)
{
    qorxml::ForEachChildElement(messages, [&](IXMLDOMNode* message) {
        std::string tag;
        int id = 0;
        if (!qorxml::NodeName(message, &tag) || tag != "QorMessage" ||
            !QorXML_API::GetXmlIntAttribute(message, "MessageId", &id))
            return true;
        std::wstring text;
        if (!QorXML_API::GetXmlWideStringAttribute(message, "Text", &text))
            return true;
        tables->messages[id] = qorxml::WideToAnsi(text);
        if (tables->wideMessages.size() < kMaxWideMessages || tables->wideMessages.count(id))
            tables->wideMessages[id] = text;
        return true;
    });
}

}  // namespace

void TextTables::Clear()
{
    *this = TextTables();
}

void TextTables::AddControl(int dialogId, IXMLDOMNode* control)
{
    int controlId = 0;
    if (!QorXML_API::GetXmlIntAttribute(control, "ControlId", &controlId))
        return;
    const ControlKey key(dialogId, controlId);
    std::string text;
    captions[key] = QorXML_API::GetXmlStringAttribute(control, "Caption", &text) ? text : std::string();
    tooltips[key] = QorXML_API::GetXmlStringAttribute(control, "ToolTipText", &text) ? text : std::string();
    controls[key] = win::ComPtr<IXMLDOMNode>::Share(control);
}

IXMLDOMNode* TextTables::Control(int dialogId, int controlId) const
{
    auto it = controls.find(ControlKey(dialogId, controlId));
    return it == controls.end() ? nullptr : it->second.Get();
}

IXMLDOMNode* TextTables::Dialog(int dialogId) const
{
    auto it = dialogs.find(dialogId);
    return it == dialogs.end() ? nullptr : it->second.Get();
}

std::vector<NamedElement>* TextTables::Templates(int kind)
{
    switch (kind) {
    case QorButtonTemplateKind: return &buttonTemplates;
    case QorStaticTemplateKind: return &staticTemplates;
    case QorEditTemplateKind: return &editTemplates;
    default: return nullptr;
    }
}

IXMLDOMNode* TextTables::Template(int kind, const std::string& name) const
{
    const auto* list = const_cast<TextTables*>(this)->Templates(kind);
    if (list)
        for (const auto& entry : *list)
            if (entry.first == name)
                return entry.second.Get();
    return nullptr;
}

void BuildTextTables(IXMLDOMNode* documentElement, TextTables* tables)
{
    tables->Clear();
    qorxml::ForEachChildElement(documentElement, [&](IXMLDOMNode* child) {
        std::string tag;
        qorxml::NodeName(child, &tag);
        if (tag == "QorDlg") {
            int dialogId = 0;
            if (!QorXML_API::GetXmlIntAttribute(child, "DlgIdValue", &dialogId))
                return true;
            tables->dialogs[dialogId] = win::ComPtr<IXMLDOMNode>::Share(child);
            qorxml::ForEachChildElement(child, [&](IXMLDOMNode* control) {
                std::string kind;
                if (qorxml::NodeName(control, &kind) && IsControlElementName(kind))
                    tables->AddControl(dialogId, control);
                return true;
            });
        } else if (tag == "QorAppMessages") {
            VisitMessages(child, tables);
        } else if (tag == "QorTemplates") {
            VisitTemplates(child, tables);
        }
        return true;
    });
}

}  // namespace lorvane
