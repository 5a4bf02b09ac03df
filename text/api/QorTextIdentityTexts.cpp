// Editing a control's captions and tooltips, one per identity, and the dialogs that do it.
#include "ESetIdentityTextsDlg.h"
#include "QorText_API.h"
#include "QorXML_API.h"
#include "TextLibraryState.h"

using namespace lorvane;

namespace {

// "Caption", "Caption1", ... for identity 0, 1, ...
std::string IdentityName(const char* base, int identity)
{
    return identity == 0 ? std::string(base) : std::string(base) + std::to_string(identity);
}

int ClampCount(int count)
{
    return count < 1 ? 1 : (count > 4 ? 4 : count);
}

bool ReadTexts(int dialogId, int controlId, const char* base, std::string texts[4], int count)
{
    IXMLDOMNode* control = State().tables.Control(dialogId, controlId);
    if (!control)
        return false;
    for (int i = 0; i < ClampCount(count); ++i)
        if (!QorXML_API::GetXmlStringAttribute(control, IdentityName(base, i).c_str(), &texts[i]))
            texts[i].clear();
    return true;
}

bool WriteTexts(int dialogId, int controlId, const char* base, const std::string texts[4], int count)
{
    TextLibraryState& state = State();
    IXMLDOMNode* control = state.tables.Control(dialogId, controlId);
    if (!control)
        return false;
    for (int i = 0; i < ClampCount(count); ++i)
        if (!QorXML_API::SetXmlStringAttribute(control, IdentityName(base, i).c_str(), texts[i]))
            return false;
    // The look-up tables follow the document.
    state.tables.AddControl(dialogId, control);
    state.changed = true;
    return true;
}

template <class Dialog>
bool EditTexts(int dialogId, int controlId, const char* base, int count)
{
    std::string texts[4];
    if (!ReadTexts(dialogId, controlId, base, texts, count))
        return false;
    Dialog dialog(texts, ClampCount(count));
    if (dialog.DoModal() != IDOK)
        return false;
    for (int i = 0; i < 4; ++i)
        texts[i] = dialog.Text(i);
    return WriteTexts(dialogId, controlId, base, texts, count);
}

}  // namespace

bool QorText_API::SetControlCaptions(int dialogId, int controlId, const std::string captions[4], int count)
{
    return WriteTexts(dialogId, controlId, "Caption", captions, count);
}

bool QorText_API::SetControlTooltips(int dialogId, int controlId, const std::string tooltips[4], int count)
{
    return WriteTexts(dialogId, controlId, "ToolTipText", tooltips, count);
}

bool QorText_API::ShowSetTooltipsDialog(int dialogId, int controlId, int count)
{
    return EditTexts<ESetTooltipsDlg>(dialogId, controlId, "ToolTipText", count);
}

bool QorText_API::ShowSetCaptionsDialog(int dialogId, int controlId, int count)
{
    return EditTexts<ESetCaptionsDlg>(dialogId, controlId, "Caption", count);
}
