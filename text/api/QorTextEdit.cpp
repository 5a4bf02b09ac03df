// Editing operations of the text library: new control elements, templates, colours and fonts.
#include <algorithm>
#include <iterator>

#include "QorText_API.h"
#include "QorXML_API.h"
#include "QorXmlDom.h"
#include "TextFieldReader.h"
#include "TextLibraryState.h"

using namespace lorvane;

namespace {

constexpr int kBlack = 0, kGrey = 8421504, kWhite = 16777215;

void MarkChanged()
{
    State().changed = true;
}

struct DefaultAttribute {
    const char* name;
    const char* value;
};

// Values written into new elements: centred black text with grey shadow and white hilite.
const DefaultAttribute kButtonDefaults[] = {
    {"Caption", ""}, {"Caption1", ""}, {"Caption2", ""}, {"Caption3", ""},
    {"ToolTipText", ""}, {"ToolTipText1", ""}, {"ToolTipText2", ""}, {"ToolTipText3", ""},
    {"UseTemplate", ""},
};
const DefaultAttribute kStaticDefaults[] = {{"Caption", ""}, {"ToolTipText", ""}, {"UseTemplate", ""}};
const DefaultAttribute kSimpleDefaults[] = {{"Caption", ""}, {"TextColor1", "0"}, {"ToolTipText", ""}};
const DefaultAttribute kGenericTextDefaults[] = {
    {"Caption", ""}, {"TextColor1", "0"}, {"BackgroundColor", "16777215"}, {"ToolTipText", ""}};
const DefaultAttribute kEditExtras[] = {{"ToolTipText", ""}};

QorButtonTextSettings DefaultButtonSettings()
{
    QorButtonTextSettings s;
    s.centerHorizontally = s.centerVertically = true;
    s.xOffsetDown = s.yOffsetDown = 1;
    s.textColor[0] = kBlack, s.textColor[1] = kGrey, s.textColor[2] = kWhite;
    s.disabledTextColor[0] = kGrey, s.disabledTextColor[1] = kBlack, s.disabledTextColor[2] = kWhite;
    return s;
}

QorStaticTextSettings DefaultStaticSettings()
{
    QorStaticTextSettings s;
    s.centerVertically = true;
    s.textColor[0] = kBlack, s.textColor[1] = kGrey, s.textColor[2] = kWhite;
    s.disabledTextColor[0] = kGrey, s.disabledTextColor[1] = kBlack, s.disabledTextColor[2] = kWhite;
    return s;
}

QorTextColors DefaultButtonColors()
{
    QorTextColors c;
    for (COLORREF* triple : {c.text, c.down, c.focus})
        triple[0] = kBlack, triple[1] = kGrey, triple[2] = kWhite;
    c.disabled[0] = kGrey, c.disabled[1] = kBlack, c.disabled[2] = kWhite;
    return c;
}

LOGFONTA DefaultFont()
{
    LOGFONTA font{};
    font.lfHeight = -11;
    font.lfWeight = FW_NORMAL;
    lstrcpynA(font.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    return font;
}

template <size_t N>
bool WriteDefaults(IXMLDOMNode* element, const DefaultAttribute (&values)[N])
{
    for (const auto& v : values)
        if (!QorXML_API::SetXmlStringAttribute(element, v.name, v.value))
            return false;
    return true;
}

bool AddFontElement(IXMLDOMNode* parent)
{
    win::ComPtr<IXMLDOMNode> font;
    return qorxml::AppendChildElement(parent, "QorFontInfo", &font) && WriteLogFont(font.Get(), DefaultFont());
}

// The font element of `parent`, made with default values when it has none.
bool FontElement(IXMLDOMNode* parent, win::ComPtr<IXMLDOMNode>* font)
{
    if (qorxml::SelectSingle(parent, "QorFontInfo", font))
        return true;
    return qorxml::AppendChildElement(parent, "QorFontInfo", font);
}

bool FillControlDefaults(IXMLDOMNode* element, int kind)
{
    switch (kind) {
    case QorTextButton: {
        QorButtonTextSettings s = DefaultButtonSettings();
        QorTextColors c = DefaultButtonColors();
        return WriteDefaults(element, kButtonDefaults) && WriteFields(element, ButtonFields(&s)) &&
               WriteFields(element, ColorFields(&c)) && AddFontElement(element);
    }
    case QorTextEdit: {
        QorEditTextSettings s;
        s.centerVertically = true;
        s.disabledTextColor = kGrey;
        s.backgroundColor = kWhite;
        return WriteFields(element, EditFields(&s)) && WriteDefaults(element, kEditExtras) && AddFontElement(element);
    }
    case QorTextTransparentStatic: {
        QorStaticTextSettings s = DefaultStaticSettings();
        return WriteDefaults(element, kStaticDefaults) && WriteFields(element, StaticFields(&s)) &&
               AddFontElement(element);
    }
    case QorTextSlider:
    case QorTextGenericSimple: return WriteDefaults(element, kSimpleDefaults);
    case QorTextGenericWithTextInfo: return WriteDefaults(element, kGenericTextDefaults) && AddFontElement(element);
    default: return false;
    }
}

// The dialog's element, made under the document element when the file has none.
IXMLDOMNode* DialogElement(int dialogId)
{
    TextLibraryState& state = State();
    if (IXMLDOMNode* dialog = state.tables.Dialog(dialogId))
        return dialog;
    win::ComPtr<IXMLDOMElement> root;
    win::ComPtr<IXMLDOMNode> dialog;
    if (!qorxml::DocumentElement(state.document.Get(), "QorAppText", &root) ||
        !qorxml::AppendChildElement(root.Get(), "QorDlg", &dialog) ||
        !QorXML_API::SetXmlStringAttribute(dialog.Get(), "DlgName", "") ||
        !QorXML_API::SetXmlIntAttribute(dialog.Get(), "DlgIdValue", dialogId))
        return nullptr;
    state.tables.dialogs[dialogId] = dialog;
    return dialog.Get();
}

// The template group element ("QorTemplates/<group>"), made when absent.
bool TemplateGroup(const char* group, win::ComPtr<IXMLDOMNode>* out)
{
    win::ComPtr<IXMLDOMElement> root;
    win::ComPtr<IXMLDOMNode> templates;
    if (!qorxml::DocumentElement(State().document.Get(), "QorAppText", &root))
        return false;
    if (!qorxml::SelectSingle(root.Get(), "QorTemplates", &templates) &&
        !qorxml::AppendChildElement(root.Get(), "QorTemplates", &templates))
        return false;
    return qorxml::SelectSingle(templates.Get(), group, out) || qorxml::AppendChildElement(templates.Get(), group, out);
}

IXMLDOMNode* AddTemplate(int kind, const std::string& name)
{
    TextLibraryState& state = State();
    if (name.empty() || !state.document || state.tables.Template(kind, name))
        return nullptr;
    const bool button = kind == QorButtonTemplateKind;
    win::ComPtr<IXMLDOMNode> group, item;
    if (!TemplateGroup(button ? "QorButtonTemplates" : "TransparentStaticTemplates", &group) ||
        !qorxml::AppendChildElement(group.Get(), button ? "QorButtonTemplate" : "TransparentStaticTemplate", &item) ||
        !QorXML_API::SetXmlStringAttribute(item.Get(), "TemplateName", name))
        return nullptr;
    bool filled = false;
    if (button) {
        QorButtonTextSettings s = DefaultButtonSettings();
        QorTextColors c = DefaultButtonColors();
        filled = WriteFields(item.Get(), ButtonFields(&s)) && WriteFields(item.Get(), ColorFields(&c));
    } else {
        QorStaticTextSettings s = DefaultStaticSettings();
        filled = WriteFields(item.Get(), StaticFields(&s));
    }
    if (!filled || !AddFontElement(item.Get()))
        return nullptr;
    state.tables.Templates(kind)->emplace_back(name, item);
    MarkChanged();
    return item.Get();
}

// Copies every button text attribute and the font from one element to another.
bool CopyButtonText(IXMLDOMNode* from, IXMLDOMNode* to)
{
    QorButtonTextSettings s;
    QorTextColors c;
    LOGFONTA font{};
    win::ComPtr<IXMLDOMNode> fromFont, toFont;
    if (!from || !to)
        return false;
    // A value the element lacks copies as the default the control draws with; the colours
    // that both lists hold start from what the first read, so a short colour list keeps them.
    ReadFields(from, ButtonFields(&s));
    std::copy(std::begin(s.textColor), std::end(s.textColor), c.text);
    std::copy(std::begin(s.disabledTextColor), std::end(s.disabledTextColor), c.disabled);
    ReadFields(from, ColorFields(&c));
    const bool hasFont = qorxml::SelectSingle(from, "QorFontInfo", &fromFont) && ReadLogFont(fromFont.Get(), &font);
    if (!WriteFields(to, ButtonFields(&s)) || !WriteFields(to, ColorFields(&c)))
        return false;
    if (hasFont && (!FontElement(to, &toFont) || !WriteLogFont(toFont.Get(), font)))
        return false;
    MarkChanged();
    return true;
}

}  // namespace

bool QorText_API::AddControlNode(int dialogId, int controlId, IXMLDOMNode** element, int kind, const std::string& name)
{
    TextLibraryState& state = State();
    if (!state.document || kind < QorTextButton || kind > QorTextGenericWithTextInfo)
        return false;
    IXMLDOMNode* dialog = DialogElement(dialogId);
    win::ComPtr<IXMLDOMNode> control;
    if (!dialog || !qorxml::AppendChildElement(dialog, kControlElementNames[kind], &control) ||
        !QorXML_API::SetXmlIntAttribute(control.Get(), "ControlId", controlId) ||
        !QorXML_API::SetXmlStringAttribute(control.Get(), "ControlName", name) ||
        !FillControlDefaults(control.Get(), kind)) {
        if (control)
            dialog->removeChild(control.Get(), nullptr);
        return false;
    }
    state.tables.AddControl(dialogId, control.Get());
    MarkChanged();
    if (element)
        *element = control.Detach();
    return true;
}

bool QorText_API::SetMainTextColor(int dialogId, int controlId, COLORREF color)
{
    IXMLDOMNode* control = State().tables.Control(dialogId, controlId);
    if (!control || !QorXML_API::SetXmlIntAttribute(control, "TextColor1", static_cast<int>(color)))
        return false;
    MarkChanged();
    return true;
}

bool QorText_API::SetLogFontInfo(IXMLDOMNode* fontElement, const LOGFONTA& font)
{
    if (!WriteLogFont(fontElement, font))
        return false;
    MarkChanged();
    return true;
}

bool QorText_API::SetTemplateLogFontInfo(int kind, const std::string& templateName, const LOGFONTA& font)
{
    win::ComPtr<IXMLDOMNode> fontElement;
    IXMLDOMNode* item = State().tables.Template(kind, templateName);
    if (!item || !FontElement(item, &fontElement) || !WriteLogFont(fontElement.Get(), font))
        return false;
    MarkChanged();
    return true;
}

bool QorText_API::SetControlToNotUseTextTemplate(int dialogId, int controlId)
{
    IXMLDOMNode* control = State().tables.Control(dialogId, controlId);
    if (!control || !QorXML_API::SetXmlStringAttribute(control, "UseTemplate", ""))
        return false;
    MarkChanged();
    return true;
}

bool QorText_API::AddButtonTemplateNode(const std::string& templateName)
{
    return AddTemplate(QorButtonTemplateKind, templateName) != nullptr;
}

bool QorText_API::AddStaticTemplateNode(const std::string& templateName)
{
    return AddTemplate(QorStaticTemplateKind, templateName) != nullptr;
}

bool QorText_API::EditTemplate(const std::string& templateName, const QorButtonTextSettings& settings)
{
    QorButtonTextSettings copy = settings;
    if (!WriteFields(State().tables.Template(QorButtonTemplateKind, templateName), ButtonFields(&copy)))
        return false;
    MarkChanged();
    return true;
}

bool QorText_API::EditTemplate(const std::string& templateName, const QorStaticTextSettings& settings)
{
    QorStaticTextSettings copy = settings;
    if (!WriteFields(State().tables.Template(QorStaticTemplateKind, templateName), StaticFields(&copy)))
        return false;
    MarkChanged();
    return true;
}

bool QorText_API::CopyButtonButtonSettingsToTemplateVals(int dialogId, int controlId, const std::string& templateName)
{
    TextLibraryState& state = State();
    IXMLDOMNode* control = state.tables.Control(dialogId, controlId);
    if (!control)
        return false;
    IXMLDOMNode* item = state.tables.Template(QorButtonTemplateKind, templateName);
    if (!item)
        item = AddTemplate(QorButtonTemplateKind, templateName);
    return CopyButtonText(control, item);
}

bool QorText_API::CopyButtonTemplateValsToButtonSettingsForApp(const std::string& templateName, int dialogId,
                                                                int controlId)
{
    TextLibraryState& state = State();
    return CopyButtonText(state.tables.Template(QorButtonTemplateKind, templateName),
                          state.tables.Control(dialogId, controlId));
}

bool QorText_API::SetButtonCtrlInfo(int dialogId, int controlId, const QorButtonTextSettings& settings)
{
    QorButtonTextSettings copy = settings;
    if (!WriteFields(State().tables.Control(dialogId, controlId), ButtonFields(&copy)))
        return false;
    MarkChanged();
    return true;
}

bool QorText_API::SetEditCtrlInfo(int dialogId, int controlId, const QorEditTextSettings& settings)
{
    QorEditTextSettings copy = settings;
    if (!WriteFields(State().tables.Control(dialogId, controlId), EditFields(&copy)))
        return false;
    MarkChanged();
    return true;
}

bool QorText_API::SetStaticCtrlInfo(int dialogId, int controlId, const QorStaticTextSettings& settings)
{
    QorStaticTextSettings copy = settings;
    if (!WriteFields(State().tables.Control(dialogId, controlId), StaticFields(&copy)))
        return false;
    MarkChanged();
    return true;
}
