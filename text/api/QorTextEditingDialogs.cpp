// The text library's editing dialogs that stand on their own: colours by numbers, new
// template names and the naming of a new control.
#include "EChooseNewTemplateNameDlg.h"
#include "EGetNameForResourceDlg.h"
#include "ESetRGBByNumbersDlg.h"
#include "ESetTextValuesDlg.h"
#include "QorText_API.h"
#include "QorUtils_API.h"
#include "TextLibraryState.h"

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

bool QorText_API::ChooseNewTemplateName(int kind, std::string* name)
{
    const auto* templates = State().tables.Templates(kind);
    if (!name || !templates)
        return false;
    std::vector<std::string> existing;
    for (const auto& entry : *templates)
        existing.push_back(entry.first);
    EChooseNewTemplateNameDlg dialog(existing);
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

namespace {

TextValues FromButton(const QorButtonTextSettings& s)
{
    TextValues v;
    v.centerHorizontally = s.centerHorizontally, v.centerVertically = s.centerVertically;
    v.xOffset = s.xOffsetUp, v.yOffset = s.yOffsetUp;
    v.threeD = s.threeD, v.indented = s.indented, v.useHilite = s.useHilite, v.useShadow = s.useShadow;
    for (int i = 0; i < 3; ++i)
        v.colours[i] = s.textColor[i];
    return v;
}

TextValues FromStatic(const QorStaticTextSettings& s)
{
    TextValues v;
    v.centerHorizontally = s.centerHorizontally, v.centerVertically = s.centerVertically;
    v.xOffset = s.xOffset, v.yOffset = s.yOffset;
    v.threeD = s.threeD, v.indented = s.indented, v.useHilite = s.useHilite, v.useShadow = s.useShadow;
    for (int i = 0; i < 3; ++i)
        v.colours[i] = s.textColor[i];
    return v;
}

template <class Settings>
void ApplyCommon(const TextValues& v, Settings* s)
{
    s->centerHorizontally = v.centerHorizontally, s->centerVertically = v.centerVertically;
    s->threeD = v.threeD, s->indented = v.indented, s->useHilite = v.useHilite, s->useShadow = v.useShadow;
    for (int i = 0; i < 3; ++i)
        s->textColor[i] = v.colours[i];
}

}  // namespace

bool QorText_API::ShowSetTextValuesDialog(int dialogId, int controlId, bool button)
{
    if (!State().tables.Control(dialogId, controlId))
        return false;
    // The reading stops at the first missing value; what it did not reach keeps its default.
    QorButtonTextSettings buttonSettings;
    QorStaticTextSettings staticSettings;
    if (button)
        GetButtonCtrlInfo(dialogId, controlId, &buttonSettings);
    else
        GetStaticCtrlInfo(dialogId, controlId, &staticSettings);
    ESetTextValuesDlg dialog(button ? "Set Button Control Values" : "Set Static Control Values",
                             button ? FromButton(buttonSettings) : FromStatic(staticSettings));
    if (dialog.DoModal() != IDOK)
        return false;
    const TextValues& v = dialog.Values();
    if (button) {
        ApplyCommon(v, &buttonSettings);
        buttonSettings.xOffsetUp = v.xOffset, buttonSettings.yOffsetUp = v.yOffset;
        return SetButtonCtrlInfo(dialogId, controlId, buttonSettings);
    }
    ApplyCommon(v, &staticSettings);
    staticSettings.xOffset = v.xOffset, staticSettings.yOffset = v.yOffset;
    return SetStaticCtrlInfo(dialogId, controlId, staticSettings);
}
