// The text library's editing dialogs that stand on their own: colours by numbers, new
// template names and the naming of a new control.
#include "EChooseNewTemplateNameDlg.h"
#include "EGetNameForResourceDlg.h"
#include "ESetRGBByNumbersDlg.h"
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
