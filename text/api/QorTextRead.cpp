// Read operations of the text library: messages, captions, tooltips and text settings.
#include <cwchar>

#include "QorText_API.h"
#include "QorXML_API.h"
#include "QorXmlDom.h"
#include "TextFieldReader.h"
#include "TextLibraryState.h"

using namespace lorvane;

namespace {

IXMLDOMNode* ControlElement(int dialogId, int controlId)
{
    return State().tables.Control(dialogId, controlId);
}

bool LookUp(const std::map<ControlKey, std::string>& table, int dialogId, int controlId, std::string* out)
{
    if (!out)
        return false;
    auto it = table.find(ControlKey(dialogId, controlId));
    if (it == table.end()) {
        out->clear();
        return false;
    }
    *out = it->second;
    return true;
}

// The four identity values "<base>", "<base>1", "<base>2", "<base>3"; missing ones are empty.
bool ReadFour(int dialogId, int controlId, const std::string& base, std::string values[4])
{
    IXMLDOMNode* control = ControlElement(dialogId, controlId);
    for (int i = 0; i < 4; ++i)
        values[i].clear();
    if (!control)
        return false;
    for (int i = 0; i < 4; ++i) {
        const std::string name = i == 0 ? base : base + std::to_string(i);
        QorXML_API::GetXmlStringAttribute(control, name.c_str(), &values[i]);
    }
    return true;
}

bool ReadColor(IXMLDOMNode* element, const char* name, COLORREF* color)
{
    int value = 0;
    if (!color || !QorXML_API::GetXmlIntAttribute(element, name, &value))
        return false;
    *color = static_cast<COLORREF>(value);
    return true;
}

}  // namespace

bool QorText_API::GetText(int messageId, std::string* text)
{
    const auto& messages = State().tables.messages;
    auto it = messages.find(messageId);
    if (!text || it == messages.end())
        return false;
    *text = it->second;
    return true;
}

bool QorText_API::GetWideText(int messageId, wchar_t* buffer)
{
    if (!buffer)
        return false;
    buffer[0] = L'\0';
    const auto& wide = State().tables.wideMessages;
    auto it = wide.find(messageId);
    if (it == wide.end())
        return false;
    wmemcpy(buffer, it->second.c_str(), it->second.size() + 1);
    return true;
}

bool QorText_API::GetControlCaptionText(int dialogId, int controlId, std::string* caption)
{
    return LookUp(State().tables.captions, dialogId, controlId, caption);
}

bool QorText_API::GetControlTooltipText(int dialogId, int controlId, std::string* tooltip)
{
    return LookUp(State().tables.tooltips, dialogId, controlId, tooltip);
}

bool QorText_API::GetSliderControlTooltip(int dialogId, int controlId, std::string* tooltip)
{
    return LookUp(State().tables.tooltips, dialogId, controlId, tooltip);
}

bool QorText_API::GetButtonControlCaptions(int dialogId, int controlId, std::string captions[4])
{
    return captions && ReadFour(dialogId, controlId, "Caption", captions);
}

bool QorText_API::GetButtonControlTooltips(int dialogId, int controlId, std::string tooltips[4])
{
    return tooltips && ReadFour(dialogId, controlId, "ToolTipText", tooltips);
}

bool QorText_API::GetButtonCtrlInfo(int dialogId, int controlId, QorButtonTextSettings* settings)
{
    return settings && ReadFields(ControlElement(dialogId, controlId), ButtonFields(settings));
}

bool QorText_API::GetStaticCtrlInfo(int dialogId, int controlId, QorStaticTextSettings* settings)
{
    return settings && ReadFields(ControlElement(dialogId, controlId), StaticFields(settings));
}

bool QorText_API::GetEditCtrlInfo(int dialogId, int controlId, QorEditTextSettings* settings)
{
    return settings && ReadFields(ControlElement(dialogId, controlId), EditFields(settings));
}

bool QorText_API::GetCtrlTextColors(int dialogId, int controlId, QorTextColors* colors)
{
    return colors && ReadFields(ControlElement(dialogId, controlId), ColorFields(colors));
}

bool QorText_API::GetMainTextColor(int dialogId, int controlId, COLORREF* color)
{
    return ReadColor(ControlElement(dialogId, controlId), "TextColor1", color);
}

bool QorText_API::GetBackgroundColor(int dialogId, int controlId, COLORREF* color)
{
    return ReadColor(ControlElement(dialogId, controlId), "BackgroundColor", color);
}

bool QorText_API::GetFontInfo(int dialogId, int controlId, LOGFONTA* font)
{
    win::ComPtr<IXMLDOMNode> fontElement;
    if (!font)
        return false;
    if (!qorxml::SelectSingle(ControlElement(dialogId, controlId), "QorFontInfo", &fontElement)) {
        ReadLogFont(nullptr, font);
        return false;
    }
    return ReadLogFont(fontElement.Get(), font);
}

bool QorText_API::GetLogFontInfo(IXMLDOMNode* fontElement, LOGFONTA* font)
{
    return ReadLogFont(fontElement, font);
}

bool QorText_API::GetControlFontInfo(int dialogId, int controlId, IXMLDOMNode** fontElement)
{
    win::ComPtr<IXMLDOMNode> found;
    if (!fontElement || !qorxml::SelectSingle(ControlElement(dialogId, controlId), "QorFontInfo", &found))
        return false;
    *fontElement = found.Detach();
    return true;
}

bool QorText_API::GetTemplateLogFontInfo(int kind, const std::string& templateName, LOGFONTA* font)
{
    win::ComPtr<IXMLDOMNode> fontElement;
    if (!font)
        return false;
    if (!qorxml::SelectSingle(State().tables.Template(kind, templateName), "QorFontInfo", &fontElement)) {
        ReadLogFont(nullptr, font);
        return false;
    }
    return ReadLogFont(fontElement.Get(), font);
}

bool QorText_API::IsControlUsingTemplate(int dialogId, int controlId, bool* usesTemplate, std::string* templateName)
{
    IXMLDOMNode* control = ControlElement(dialogId, controlId);
    std::string name;
    if (usesTemplate)
        *usesTemplate = false;
    if (templateName)
        templateName->clear();
    if (!control)
        return false;
    QorXML_API::GetXmlStringAttribute(control, "UseTemplate", &name);
    if (usesTemplate)
        *usesTemplate = !name.empty();
    if (templateName)
        *templateName = name;
    return true;
}

bool QorText_API::GetButtonTemplateInfo(const std::string& templateName, QorButtonTextSettings* settings)
{
    return settings && ReadFields(State().tables.Template(QorButtonTemplateKind, templateName), ButtonFields(settings));
}

bool QorText_API::GetButtonTemplateTextColors(const std::string& templateName, QorTextColors* colors)
{
    return colors && ReadFields(State().tables.Template(QorButtonTemplateKind, templateName), ColorFields(colors));
}

bool QorText_API::GetStaticTemplateInfo(const std::string& templateName, QorStaticTextSettings* settings)
{
    return settings && ReadFields(State().tables.Template(QorStaticTemplateKind, templateName), StaticFields(settings));
}

bool QorText_API::ButtonTemplateExists(const std::string& templateName)
{
    return State().tables.Template(QorButtonTemplateKind, templateName) != nullptr;
}

bool QorText_API::TransStaticTemplateExists(const std::string& templateName)
{
    return State().tables.Template(QorStaticTemplateKind, templateName) != nullptr;
}

bool QorText_API::GetQorMsgDlglNode(IXMLDOMNode** element)
{
    IXMLDOMNode* dialog = State().tables.Dialog(99);
    if (!element || !dialog)
        return false;
    dialog->AddRef();
    *element = dialog;
    return true;
}
