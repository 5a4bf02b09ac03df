// Reading an element's text settings for the dialog and writing back only what changed.
#include "TextSettingsEditing.h"

#include "ESetTextValuesDlg.h"
#include "QorXML_API.h"
#include "QorXmlDom.h"
#include "TextFieldReader.h"
#include "TextLibraryState.h"

namespace lorvane {
namespace {

using editing::TextSettingsKind;

editing::SettingValues StoredSettings(IXMLDOMNode* element, TextSettingsKind kind)
{
    editing::SettingValues stored;
    for (const editing::SettingSlot& slot : editing::SlotsOf(kind)) {
        int value = 0;
        if (QorXML_API::GetXmlIntAttribute(element, slot.attribute, &value))
            stored[slot.attribute] = value;
    }
    return stored;
}

}  // namespace

bool TextSettingsKindOf(IXMLDOMNode* control, editing::TextSettingsKind* kind)
{
    std::string name;
    if (!control || !kind || !qorxml::NodeName(control, &name))
        return false;
    if (name == "QorBtnControl")
        *kind = TextSettingsKind::kButton;
    else if (name == "QorTransparentStaticControl")
        *kind = TextSettingsKind::kStatic;
    else if (name == "QorGenericControlSimple" || name == "QorSliderControl")
        *kind = TextSettingsKind::kGenericSimple;
    else if (name == "QorGenericControlWithTextInfo")
        *kind = TextSettingsKind::kGenericWithTextInfo;
    else
        return false;
    return true;
}

bool AskTextSettings(IXMLDOMNode* element, editing::TextSettingsKind kind, TextSettingsEdit* edit)
{
    if (!element || !edit)
        return false;
    const editing::SettingValues stored = StoredSettings(element, kind);
    const editing::SettingValues shown = editing::ShownValues(kind, stored);
    // A missing font element reads as a cleared structure: the system's font.
    LOGFONTA font{};
    win::ComPtr<IXMLDOMNode> fontElement;
    if (qorxml::SelectSingle(element, "QorFontInfo", &fontElement))
        ReadLogFont(fontElement.Get(), &font);
    ESetTextValuesDlg dialog(kind, shown, font);
    if (dialog.DoModal() != IDOK)
        return false;
    *edit = TextSettingsEdit{};
    edit->changes = editing::ChangedSettings(kind, stored, shown, dialog.Values());
    edit->fontChanged = editing::HasFont(kind) && !editing::SameFont(font, dialog.Font());
    edit->font = dialog.Font();
    return true;
}

bool ApplyTextSettings(IXMLDOMNode* element, const TextSettingsEdit& edit)
{
    if (!element)
        return false;
    if (edit.Empty())
        return true;
    bool all = true;
    for (const auto& [attribute, value] : edit.changes)
        all = QorXML_API::SetXmlIntAttribute(element, attribute.c_str(), static_cast<int>(value)) && all;
    if (edit.fontChanged) {
        win::ComPtr<IXMLDOMNode> fontElement;
        all = (qorxml::SelectSingle(element, "QorFontInfo", &fontElement) ||
               qorxml::AppendChildElement(element, "QorFontInfo", &fontElement)) &&
              WriteLogFont(fontElement.Get(), edit.font) && all;
    }
    State().changed = true;
    return all;
}

}  // namespace lorvane
