// The text values of a whole dialog: its name, and one text colour and one font for all of its
// controls. A dialog's entry carries no colours or fonts of its own, so those go to every
// control element that draws with its own values; controls using a text template draw with
// the template's and are left to it.
#include <windows.h>

#include <cstdlib>

#include "ESetDialogTextValuesDlg.h"
#include "QorText_API.h"
#include "QorXML_API.h"
#include "QorXmlDom.h"
#include "TextFieldReader.h"
#include "TextLibraryState.h"
#include "TextTables.h"

using namespace lorvane;

namespace {

// The control elements of the dialog that do not use a text template, with their kind.
template <class Visit>
void ForEachOwnValuesControl(IXMLDOMNode* dialog, Visit visit)
{
    qorxml::ForEachChildElement(dialog, [&](IXMLDOMNode* control) {
        std::string kind, templateName;
        if (qorxml::NodeName(control, &kind) && IsControlElementName(kind) &&
            !(qorxml::GetAttribute(control, "UseTemplate", &templateName) && !templateName.empty()))
            visit(control, kind);
        return true;
    });
}

struct DefaultValue {
    const char* name;
    int value;
};

constexpr int kBlack = 0, kGrey = 8421504, kWhite = 16777215;
constexpr int kMessageBoxDialogId = 99;
constexpr const char* kMessageColour = "MessageTextColor";
constexpr const char* kCaptionColour = "CaptionTextColor";

// A colour of the dialog's own entry; the box draws a missing one in the system's text colour.
COLORREF OwnColour(IXMLDOMNode* dialog, const char* name)
{
    int colour = 0;
    if (!QorXML_API::GetXmlIntAttribute(dialog, name, &colour))
        colour = static_cast<int>(::GetSysColor(COLOR_BTNTEXT));
    return static_cast<COLORREF>(colour) & 0xFFFFFF;
}

bool SetOwnColour(IXMLDOMNode* dialog, const char* name, COLORREF colour)
{
    int stored = 0;
    if (QorXML_API::GetXmlIntAttribute(dialog, name, &stored) && static_cast<COLORREF>(stored) == colour)
        return true;
    return QorXML_API::SetXmlIntAttribute(dialog, name, static_cast<int>(colour));
}

// A control reads its colours only when the whole set is there, so a colour given to an
// element that lacks some of them comes with the others, as the control draws them by default.
const DefaultValue kButtonColours[] = {
    {"TextColor1", kBlack},         {"TextColor2", kGrey},         {"TextColor3", kWhite},
    {"DownTextColor1", kBlack},     {"DownTextColor2", kGrey},     {"DownTextColor3", kWhite},
    {"FocusTextColor1", kBlack},    {"FocusTextColor2", kGrey},    {"FocusTextColor3", kWhite},
    {"DisabledTextColor1", kGrey},  {"DisabledTextColor2", kBlack}, {"DisabledTextColor3", kWhite}};
const DefaultValue kStaticValues[] = {
    {"CenterTextHorizontally", 0}, {"CenterTextVertically", 1}, {"Xoffset", 0}, {"Yoffset", 0},
    {"TextColor1", kBlack},        {"TextColor2", kGrey},        {"TextColor3", kWhite},
    {"DisabledTextColor1", kGrey}, {"DisabledTextColor2", kBlack}, {"DisabledTextColor3", kWhite},
    {"ThreeD", 0},                 {"Indented", 0},              {"UseHilite", 0}, {"UseShadow", 0}};

template <size_t N>
bool FillMissing(IXMLDOMNode* element, const DefaultValue (&values)[N])
{
    bool all = true;
    for (const DefaultValue& v : values) {
        std::string present;
        if (!qorxml::GetAttribute(element, v.name, &present) || present.empty())
            all = QorXML_API::SetXmlIntAttribute(element, v.name, v.value) && all;
    }
    return all;
}

// The attributes that hold the main text colour of each state that shows it.
std::vector<const char*> MainColourAttributes(const std::string& kind)
{
    if (kind == "QorBtnControl")
        return {"TextColor1", "DownTextColor1", "FocusTextColor1"};
    if (kind == "QorEditControl")
        return {"TextColor"};
    return {"TextColor1"};
}

// Gives `element` the dialog's font; what the dialog does not set (width, character set,
// quality) is kept.
bool SetFontOf(IXMLDOMNode* element, const QorDialogTextValues& values)
{
    win::ComPtr<IXMLDOMNode> fontElement;
    LOGFONTA font{};
    if (!qorxml::SelectSingle(element, "QorFontInfo", &fontElement) &&
        !qorxml::AppendChildElement(element, "QorFontInfo", &fontElement))
        return false;
    ReadLogFont(fontElement.Get(), &font);
    font.lfHeight = -values.size;
    font.lfWeight = values.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = values.italic ? TRUE : FALSE;
    lstrcpynA(font.lfFaceName, values.face.c_str(), LF_FACESIZE);
    return WriteLogFont(fontElement.Get(), font);
}

}  // namespace

bool QorText_API::GetDialogTextValues(int dialogId, QorDialogTextValues* values)
{
    IXMLDOMNode* dialog = State().tables.Dialog(dialogId);
    if (!dialog || !values)
        return false;
    *values = QorDialogTextValues{};
    qorxml::GetAttribute(dialog, "DlgName", &values->name);
    if (dialogId == kMessageBoxDialogId) {
        values->messageBox = true;
        values->messageColour = OwnColour(dialog, kMessageColour);
        values->captionColour = OwnColour(dialog, kCaptionColour);
    }
    // The first control that has them proposes the colour and the font.
    bool colourFound = false, fontFound = false;
    ForEachOwnValuesControl(dialog, [&](IXMLDOMNode* control, const std::string& kind) {
        int colour = 0;
        if (!colourFound && QorXML_API::GetXmlIntAttribute(control, MainColourAttributes(kind).front(), &colour)) {
            values->colour = static_cast<COLORREF>(colour) & 0xFFFFFF;
            colourFound = true;
        }
        win::ComPtr<IXMLDOMNode> fontElement;
        LOGFONTA font{};
        if (!fontFound && qorxml::SelectSingle(control, "QorFontInfo", &fontElement) &&
            ReadLogFont(fontElement.Get(), &font) && font.lfFaceName[0]) {
            values->face = font.lfFaceName;
            values->size = font.lfHeight ? std::abs(static_cast<int>(font.lfHeight)) : values->size;
            values->bold = font.lfWeight >= FW_BOLD;
            values->italic = font.lfItalic != 0;
            fontFound = true;
        }
    });
    if (!fontFound)
        values->face = "MS Sans Serif";
    return true;
}

bool QorText_API::SetDialogTextValues(int dialogId, const QorDialogTextValues& values)
{
    IXMLDOMNode* dialog = State().tables.Dialog(dialogId);
    if (!dialog)
        return false;
    bool all = true;
    std::string name;
    qorxml::GetAttribute(dialog, "DlgName", &name);
    if (name != values.name)
        all = QorXML_API::SetXmlStringAttribute(dialog, "DlgName", values.name);
    if (values.messageBox && dialogId == kMessageBoxDialogId) {
        all = SetOwnColour(dialog, kMessageColour, values.messageColour) && all;
        all = SetOwnColour(dialog, kCaptionColour, values.captionColour) && all;
        // The box draws its message itself, in the font of its own entry.
        if (values.setFont)
            all = SetFontOf(dialog, values) && all;
    }
    ForEachOwnValuesControl(dialog, [&](IXMLDOMNode* control, const std::string& kind) {
        if (values.setColour && kind == "QorBtnControl")
            all = FillMissing(control, kButtonColours) && all;
        else if (values.setColour && kind == "QorTransparentStaticControl")
            all = FillMissing(control, kStaticValues) && all;
        if (values.setColour)
            for (const char* attribute : MainColourAttributes(kind))
                all = QorXML_API::SetXmlIntAttribute(control, attribute, static_cast<int>(values.colour)) && all;
        if (values.setFont)
            all = SetFontOf(control, values) && all;
    });
    State().changed = true;
    return all;
}

bool QorText_API::ShowSetTextValuesDialog(int dialogId)
{
    QorDialogTextValues values;
    if (!GetDialogTextValues(dialogId, &values))
        return false;
    ESetDialogTextValuesDlg dialog(values);
    if (dialog.DoModal() != IDOK)
        return false;
    const QorDialogTextValues& chosen = dialog.Values();
    if (chosen.name == values.name && !chosen.setColour && !chosen.setFont &&
        chosen.messageColour == values.messageColour && chosen.captionColour == values.captionColour)
        return false;
    return SetDialogTextValues(dialogId, chosen);
}
